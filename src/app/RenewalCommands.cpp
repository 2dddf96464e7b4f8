#include "app/RenewalCommands.h"

#include "app/IndexBuildProgress.h"
#include "app/MainWindow.h"
#include "app/ProgramRegister.h"
#include "app/RecordCommands.h"
#include "app/RenewalCount.h"
#include "app/RenewalsWindow.h"
#include "app/ReportWindow.h"
#include "export/RegisterExport.h"
#include "export/TableFileWriter.h"
#include "renewals/RenewalsOutput.h"
#include "renewals/RenewedRecord.h"
#include "storage/PolicyDatabase.h"
#include "widgets/FileChoices.h"
#include "widgets/Messages.h"
#include "widgets/WaitCursor.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

namespace osago {

namespace {

const QString kRenewalsTitle = QStringLiteral("Окончание договоров");

} // namespace

RenewalCommands::RenewalCommands(Messages& messages, FileChoices& files, DocumentPrinter& printer,
                                 MainWindow& mainWindow, ProgramRegister& programRegister, RecordCommands& records,
                                 Today today)
    : m_messages(messages)
    , m_files(files)
    , m_mainWindow(mainWindow)
    , m_register(programRegister)
    , m_records(records)
    , m_today(std::move(today))
    , m_window(std::make_unique<RenewalsWindow>(messages, mainWindow))
    , m_preview(std::make_unique<ReportWindow>(messages, printer, files))
{
    m_preview->setWindowTitle(kRenewalsTitle);
    m_count = new QLabel(&mainWindow);
    m_count->setObjectName(QStringLiteral("LabelRenewals"));
    mainWindow.statusBar()->addPermanentWidget(m_count);
    m_counting = new RenewalCount(this);
    connect(m_counting, &RenewalCount::counted, m_count,
            [this](int due) { m_count->setText(kComingRenewalsText.arg(due)); });

    connect(mainWindow.commands().renewals, &QAction::triggered, this, &RenewalCommands::showRenewals);
    connect(m_window.get(), &RenewalsWindow::periodChosen, this, &RenewalCommands::listPeriod);
    connect(m_window.get(), &RenewalsWindow::renewClicked, this, &RenewalCommands::renewSelected);
    connect(m_window.get(), &RenewalsWindow::viewClicked, this, &RenewalCommands::viewSelected);
    connect(m_window.get(), &RenewalsWindow::printClicked, this, &RenewalCommands::printList);
    connect(m_window.get(), &RenewalsWindow::exportClicked, this, &RenewalCommands::exportList);
    // A renewal saved in the editor leaves the list.
    connect(m_window.get(), &RenewalsWindow::enabledAgain, this, [this] { listPeriod(m_window->period()); });
}

RenewalCommands::~RenewalCommands() = default;

void RenewalCommands::showRenewals()
{
    m_window->setPeriod(comingMonth(m_today()));
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    listPeriod(m_window->period());
}

void RenewalCommands::countAfterFirstPaint()
{
    m_mainWindow.installEventFilter(this);
}

bool RenewalCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_mainWindow && (event->type() == QEvent::Paint || event->type() == QEvent::UpdateRequest)) {
        m_mainWindow.removeEventFilter(this);
        // Queued behind the paint, never ahead of it.
        QTimer::singleShot(0, this, &RenewalCommands::countComing);
        connect(&m_register, &ProgramRegister::replaced, this, &RenewalCommands::countComing);
    }
    return QObject::eventFilter(watched, event);
}

void RenewalCommands::countComing()
{
    m_count->clear();
    m_counting->forget();
    const PolicyDatabase& database = m_register.database();
    if (database.isOpen())
        m_counting->start(database.readerBeside(), comingMonth(m_today()));
}

// A register made before the renewals' indexes gets them at its first list, under a progress window; where they
// cannot be built the list reads the whole table instead, slower but the same.
void RenewalCommands::prepareIndexes()
{
    PolicyDatabase& database = m_register.database();
    if (!database.isOpen() || database.isReadOnly() || database.hasRenewalIndexes())
        return;
    buildWithProgress(m_window.get(), QStringLiteral("FormRenewalsProgress"), kRenewalsTitle,
                      QStringLiteral("Построение указателя дат окончания договоров..."),
                      [&database](const IndexProgress& progress) { database.buildRenewalIndexes(progress); });
}

void RenewalCommands::listPeriod(const IssuePeriod& period)
{
    prepareIndexes();
    StorageResult<RenewalsFound> found;
    {
        const WaitCursor waiting;
        found = readRenewalsDue(m_register.database(), period);
    }
    if (!found.ok) {
        m_messages.show(m_window.get(), kRenewalsTitle, found.error, Messages::Icon::Critical);
        return;
    }
    m_window->showRenewals(std::move(found.value), m_today());
}

std::optional<PolicyRow> RenewalCommands::selectedRow()
{
    const RenewalDue* renewal = m_window->selected();
    if (!renewal) {
        m_messages.show(m_window.get(), kRenewalsTitle, QStringLiteral("Не выбран договор: выберите строку в списке."),
                        Messages::Icon::Information);
        return std::nullopt;
    }
    const StorageResult<PolicyRow> stored = m_register.database().load(renewal->key);
    if (!stored.ok) {
        m_messages.show(m_window.get(), kRenewalsTitle, stored.error, Messages::Icon::Critical);
        return std::nullopt;
    }
    return stored.value;
}

void RenewalCommands::renewSelected()
{
    if (const std::optional<PolicyRow> old = selectedRow())
        m_records.openRecord(renewedRow(*old, m_today()), PolicyEditor::RecordMode::New);
}

void RenewalCommands::viewSelected()
{
    if (const std::optional<PolicyRow> old = selectedRow())
        m_records.openRecord(*old, PolicyEditor::RecordMode::View);
}

void RenewalCommands::printList()
{
    const IssuePeriod period = m_window->period();
    m_preview->showReport(renewalsPages(m_window->renewals().due, period, m_today()), renewalsName(period));
}

void RenewalCommands::exportList()
{
    const QString name = renewalsName(m_window->period());
    QString target = m_files.saveFileName(m_window.get(), kRenewalsTitle, name + QStringLiteral(".xlsx"),
                                          kXlsxFilter + QStringLiteral(";;") + kCsvFilter, {{kCsvFilter, kCsvNote}});
    if (target.isEmpty())
        return;
    if (!tableFormatOf(target))
        target += QStringLiteral(".xlsx");
    QString error;
    if (!writeRenewalsTable(m_window->renewals().due, m_today(), target, &error))
        m_messages.show(m_window.get(), kRenewalsTitle, error, Messages::Icon::Critical);
}

} // namespace osago
