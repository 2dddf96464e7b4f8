#include "blanks/window/BlankJournalWindow.h"

#include "blanks/window/BlankJournalModel.h"
#include "blanks/window/BlankMarkWindow.h"
#include "blanks/window/BlanksAccess.h"
#include "storage/BlankJournal.h"
#include "storage/BlankNumbers.h"
#include "storage/IssuePeriod.h"
#include "widgets/Messages.h"
#include "widgets/WaitCursor.h"
#include "widgets/WindowedGrid.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace osago {

namespace {

QPushButton* newButton(QWidget* window, QHBoxLayout* row, const char* name, const QString& text)
{
    auto* button = new QPushButton(text, window);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

} // namespace

BlankJournalWindow::BlankJournalWindow(Messages& messages, QWidget& mainWindow, PolicyDatabase& database, Today today)
    : QWidget(&mainWindow, Qt::Window)
    , m_messages(messages)
    , m_database(&database)
    , m_today(std::move(today))
    , m_model(std::make_unique<BlankJournalModel>(database))
    , m_markWindow(std::make_unique<BlankMarkWindow>(messages))
{
    setObjectName(QStringLiteral("FormBlanks"));
    setWindowTitle(QStringLiteral("Журнал бланков"));
    resize(900, 560);

    auto* layout = new QVBoxLayout(this);
    buildFilters(layout);
    m_grid = new WindowedGrid(this);
    m_grid->setObjectName(QStringLiteral("GridBlanks"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setWordWrap(false);
    m_grid->setSourceModel(m_model.get());
    m_grid->horizontalHeader()->setDefaultSectionSize(110);
    layout->addWidget(m_grid, 1);
    m_counts = new QLabel(this);
    m_counts->setObjectName(QStringLiteral("LabelCounts"));
    layout->addWidget(m_counts);
    buildButtons(layout);

    connect(m_markWindow.get(), &BlankMarkWindow::chosen, this, &BlankJournalWindow::marked);
    // Queued: a page is read while the grid paints, which is no time for a message box.
    connect(m_model.get(), &BlankJournalModel::readFailed, this, &BlankJournalWindow::reportFailure,
            Qt::QueuedConnection);
}

BlankJournalWindow::~BlankJournalWindow() = default;

void BlankJournalWindow::buildFilters(QVBoxLayout* layout)
{
    auto* row = new QHBoxLayout;
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("ComboBoxKind"));
    m_kind->addItem(QStringLiteral("Все виды"), -1);
    for (BlankKind kind : kBlankKinds)
        m_kind->addItem(blankKindName(kind), int(kind));
    m_status = new QComboBox(this);
    m_status->setObjectName(QStringLiteral("ComboBoxStatus"));
    m_status->addItem(QStringLiteral("Все состояния"), -1);
    for (BlankStatus status : kBlankStatuses)
        m_status->addItem(blankStatusName(status), int(status));
    m_series = new QLineEdit(this);
    m_series->setObjectName(QStringLiteral("EditSeries"));
    m_series->setMaxLength(3);
    m_number = new QLineEdit(this);
    m_number->setObjectName(QStringLiteral("EditNumber"));
    m_number->setMaxLength(10);
    const std::pair<QString, QWidget*> fields[] = {{QStringLiteral("Вид:"), m_kind},
                                                   {QStringLiteral("Состояние:"), m_status},
                                                   {QStringLiteral("Серия:"), m_series},
                                                   {QStringLiteral("Номер содержит:"), m_number}};
    for (const auto& [text, field] : fields) {
        auto* label = new QLabel(text, this);
        label->setBuddy(field);
        row->addWidget(label);
        row->addWidget(field);
    }
    QPushButton* find = newButton(this, row, "ButtonFind", QStringLiteral("Показать"));
    row->addStretch();
    layout->addLayout(row);

    connect(m_kind, &QComboBox::activated, this, &BlankJournalWindow::applyFilter);
    connect(m_status, &QComboBox::activated, this, &BlankJournalWindow::applyFilter);
    connect(m_series, &QLineEdit::returnPressed, this, &BlankJournalWindow::applyFilter);
    connect(m_number, &QLineEdit::returnPressed, this, &BlankJournalWindow::applyFilter);
    connect(find, &QPushButton::clicked, this, &BlankJournalWindow::applyFilter);
}

void BlankJournalWindow::buildButtons(QVBoxLayout* layout)
{
    auto* row = new QHBoxLayout;
    connect(newButton(this, row, "ButtonOpen", QStringLiteral("Открыть запись")), &QPushButton::clicked, this,
            &BlankJournalWindow::ButtonOpenClick);
    const std::tuple<const char*, QString, BlankStatus> marks[] = {
        {"ButtonSpoiled", QStringLiteral("Испорчен..."), BlankStatus::Spoiled},
        {"ButtonLost", QStringLiteral("Утрачен..."), BlankStatus::Lost},
        {"ButtonReturn", QStringLiteral("Сдать страховщику..."), BlankStatus::Returned}};
    for (const auto& [name, text, status] : marks)
        connect(newButton(this, row, name, text), &QPushButton::clicked, this,
                [this, status = status] { markSelected(status); });
    connect(newButton(this, row, "ButtonCancelReceipt", QStringLiteral("Отменить поступление")),
            &QPushButton::clicked, this, &BlankJournalWindow::ButtonCancelReceiptClick);
    row->addStretch();
    connect(newButton(this, row, "ButtonClose", QStringLiteral("Закрыть")), &QPushButton::clicked, this,
            &QWidget::close);
    layout->addLayout(row);
}

void BlankJournalWindow::showJournal()
{
    refresh();
    show();
    raise();
    activateWindow();
    m_grid->setFocus();
}

void BlankJournalWindow::showRegister(PolicyDatabase& database)
{
    m_database = &database;
    m_model->showRegister(database);
    m_kind->setCurrentIndex(0);
    m_status->setCurrentIndex(0);
    m_series->clear();
    m_number->clear();
    showCounts();
}

void BlankJournalWindow::refresh()
{
    const int first = m_grid->firstShownRow();
    if (const StorageStatus read = m_model->refresh(); !read.ok && isVisible())
        reportFailure(read.error);
    m_grid->verticalScrollBar()->setValue(first);
    showCounts();
}

void BlankJournalWindow::applyFilter()
{
    BlankFilter filter;
    if (const int kind = m_kind->currentData().toInt(); kind >= 0)
        filter.kind = BlankKind(kind);
    if (const int status = m_status->currentData().toInt(); status >= 0)
        filter.status = BlankStatus(status);
    filter.series = foldBlankSeries(m_series->text());
    filter.numberPart = m_number->text().trimmed();
    StorageStatus read;
    {
        const WaitCursor waiting;
        read = m_model->setFilter(filter);
    }
    if (!read.ok)
        reportFailure(read.error);
    showCounts();
}

void BlankJournalWindow::showCounts()
{
    const StorageResult<BlankCounts> counts = m_database->blanks().readCounts(m_model->filter());
    if (!counts.ok) {
        m_counts->setText(counts.error);
        return;
    }
    QStringList parts;
    for (BlankStatus status : kBlankStatuses)
        parts << QStringLiteral("%1: %2").arg(blankStatusName(status)).arg(counts.value.of(status));
    m_counts->setText(QStringLiteral("Показано бланков: %1 (%2)").arg(counts.value.total()).arg(parts.join(u", ")));
}

void BlankJournalWindow::ButtonOpenClick()
{
    const std::optional<BlankRow> blank = m_model->rowAt(m_grid->selectedSourceRow());
    if (!blank) {
        m_messages.show(this, kBlanksTitle, QStringLiteral("Не выбран бланк: выберите строку в таблице."),
                        Messages::Icon::Information);
        return;
    }
    if (blank->user.isEmpty()) {
        m_messages.show(this, kBlanksTitle,
                        QStringLiteral("Бланк %1 не использован ни в одной записи.").arg(blankText(blank->number)),
                        Messages::Icon::Information);
        return;
    }
    emit openRecordRequested(blank->user.code);
}

void BlankJournalWindow::markSelected(BlankStatus status)
{
    if (!writable())
        return;
    if (m_grid->selectedSourceRows().count() == 0) {
        m_messages.show(this, kBlanksTitle, QStringLiteral("Не выбраны бланки: выберите строки в таблице."),
                        Messages::Icon::Information);
        return;
    }
    m_markWindow->ask(status, m_today());
}

void BlankJournalWindow::marked(const BlankMark& mark)
{
    const WindowedGrid::SourceRows rows = m_grid->selectedSourceRows();
    std::vector<qint64> ids;
    if (const StorageStatus read = m_model->idsOf(rows.first, rows.last, ids); !read.ok) {
        reportFailure(read.error);
        return;
    }
    const QString question = QStringLiteral("Отметить выбранные бланки (%1) как «%2»?")
                                 .arg(ids.size())
                                 .arg(blankStatusName(mark.status));
    if (!m_messages.confirm(this, kConfirmTitle, question))
        return;
    StorageResult<qint64> done;
    {
        const WaitCursor waiting;
        done = m_database->blanks().mark(ids, mark);
    }
    if (!done.ok)
        reportFailure(done.error);
    refresh();
}

void BlankJournalWindow::ButtonCancelReceiptClick()
{
    if (!writable())
        return;
    const std::optional<BlankRow> blank = m_model->rowAt(m_grid->selectedSourceRow());
    if (!blank) {
        m_messages.show(this, kBlanksTitle, QStringLiteral("Не выбран бланк: выберите строку поступления."),
                        Messages::Icon::Information);
        return;
    }
    std::vector<ReceiptRow> receipts;
    if (const StorageStatus read = m_database->blanks().readReceipts(receipts); !read.ok) {
        reportFailure(read.error);
        return;
    }
    const auto found = std::find_if(receipts.begin(), receipts.end(),
                                    [&](const ReceiptRow& row) { return row.id == blank->receiptId; });
    if (found == receipts.end()) {
        reportFailure(QStringLiteral("Поступление этого бланка уже отменено."));
        refresh();
        return;
    }
    const BlankReceipt& receipt = found->receipt;
    const QString question =
        QStringLiteral("Отменить поступление бланков «%1» %2–%3 от %4 (%5 шт.)?")
            .arg(blankKindName(receipt.kind), blankText({receipt.kind, receipt.series, receipt.first}),
                 blankNumberText(receipt.kind, receipt.last), registerDateText(receipt.date))
            .arg(receipt.last - receipt.first + 1);
    if (!m_messages.confirm(this, kConfirmTitle, question))
        return;
    if (const StorageStatus cancelled = m_database->blanks().cancelReceipt(found->id); !cancelled.ok)
        reportFailure(cancelled.error);
    refresh();
}

bool BlankJournalWindow::writable()
{
    const QString refusal = blankWriteRefusal(*m_database);
    if (!refusal.isEmpty())
        reportFailure(refusal);
    return refusal.isEmpty();
}

void BlankJournalWindow::reportFailure(const QString& failure)
{
    m_messages.show(this, kBlanksTitle, failure, Messages::Icon::Critical);
}

} // namespace osago
