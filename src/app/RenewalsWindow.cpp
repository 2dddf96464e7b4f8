#include "app/RenewalsWindow.h"

#include "app/PeriodWindow.h"
#include "editor/EditorFields.h"
#include "renewals/RenewalsOutput.h"
#include "widgets/MaskedEdit.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace osago {

namespace {

// The columns of renewalTexts() as the window titles them; the days left and the premium read right-aligned.
const QStringList kColumnTitles{QStringLiteral("Полис"),     QStringLiteral("Страхователь"), QStringLiteral("Телефон"),
                                QStringLiteral("Марка"),     QStringLiteral("Рег. знак"),    QStringLiteral("Окончание"),
                                QStringLiteral("Дней"),      QStringLiteral("Премия")};
constexpr int kFirstRightAligned = 6;

} // namespace

RenewalsWindow::RenewalsWindow(Messages& messages, QWidget& owner)
    : QWidget(&owner, Qt::Window)
    , m_messages(messages)
{
    setObjectName(QStringLiteral("FormRenewals"));
    setWindowTitle(QStringLiteral("Окончание договоров"));
    resize(900, 480);

    m_from = newMaskedEdit(QStringLiteral("EditFrom"), kDateMask, messages);
    m_to = newMaskedEdit(QStringLiteral("EditTo"), kDateMask, messages);
    auto* show = new QPushButton(QStringLiteral("Показать"), this);
    show->setObjectName(QStringLiteral("ButtonShow"));
    auto* period = new QHBoxLayout;
    auto* fromLabel = new QLabel(QStringLiteral("Окончание с"), this);
    fromLabel->setBuddy(m_from);
    auto* toLabel = new QLabel(QStringLiteral("по"), this);
    toLabel->setBuddy(m_to);
    for (QWidget* part : std::initializer_list<QWidget*>{fromLabel, m_from, toLabel, m_to, show})
        period->addWidget(part);
    period->addStretch();

    m_table = new QTableWidget(0, int(kColumnTitles.size()), this);
    m_table->setObjectName(QStringLiteral("GridRenewals"));
    m_table->setHorizontalHeaderLabels(kColumnTitles);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("LabelCount"));

    auto* buttons = new QHBoxLayout;
    const std::pair<const char*, QString> names[] = {{"ButtonRenew", QStringLiteral("Продлить...")},
                                                     {"ButtonView", QStringLiteral("Просмотр...")},
                                                     {"ButtonPrint", QStringLiteral("Печать")},
                                                     {"ButtonExport", QStringLiteral("Экспорт...")},
                                                     {"ButtonVyh", QStringLiteral("Закрыть")}};
    for (const auto& [name, text] : names) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->insertStretch(4);
    const auto button = [this](const char* name) { return findChild<QPushButton*>(QLatin1String(name)); };
    connect(show, &QPushButton::clicked, this, &RenewalsWindow::ButtonShowClick);
    connect(button("ButtonRenew"), &QPushButton::clicked, this, &RenewalsWindow::renewClicked);
    connect(button("ButtonView"), &QPushButton::clicked, this, &RenewalsWindow::viewClicked);
    connect(button("ButtonPrint"), &QPushButton::clicked, this, &RenewalsWindow::printClicked);
    connect(button("ButtonExport"), &QPushButton::clicked, this, &RenewalsWindow::exportClicked);
    connect(button("ButtonVyh"), &QPushButton::clicked, this, &QWidget::close);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, &RenewalsWindow::renewClicked);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(period);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_count);
    layout->addLayout(buttons);
}

void RenewalsWindow::setPeriod(const IssuePeriod& period)
{
    m_period = period;
    m_from->setMaskedText(registerDateText(period.from));
    m_to->setMaskedText(registerDateText(period.to));
}

void RenewalsWindow::showRenewals(RenewalsFound found, QDate today)
{
    m_found = std::move(found);
    m_table->clearContents();
    m_table->setRowCount(int(m_found.due.size()));
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const QStringList texts = renewalTexts(m_found.due[std::size_t(row)], today);
        for (int column = 0; column < int(texts.size()); ++column) {
            auto* item = new QTableWidgetItem(texts[column]);
            if (column >= kFirstRightAligned)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(row, column, item);
        }
    }
    m_table->resizeColumnsToContents();
    if (m_table->rowCount() > 0)
        m_table->selectRow(0);
    m_count->setText(QStringLiteral("К продлению: %1. Уже продлены: %2.").arg(m_found.due.size()).arg(m_found.renewed));
}

const RenewalDue* RenewalsWindow::selected() const
{
    const QList<QTableWidgetItem*> items = m_table->selectedItems();
    if (items.isEmpty())
        return nullptr;
    return &m_found.due[std::size_t(items.front()->row())];
}

void RenewalsWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && isEnabled() && isVisible())
        emit enabledAgain();
}

void RenewalsWindow::keyPressEvent(QKeyEvent* event)
{
    const bool inDate = focusWidget() == m_from || focusWidget() == m_to;
    if (inDate && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        ButtonShowClick();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void RenewalsWindow::ButtonShowClick()
{
    if (const std::optional<IssuePeriod> typed = typedPeriod(*m_from, *m_to, m_messages)) {
        m_period = *typed;
        emit periodChosen(*typed);
    }
}

} // namespace osago
