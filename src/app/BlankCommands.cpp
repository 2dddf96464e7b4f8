#include "app/BlankCommands.h"

#include "app/IssueIndexPreparation.h"
#include "app/MainWindow.h"
#include "app/PeriodWindow.h"
#include "app/ProgramRegister.h"
#include "app/RecordCommands.h"
#include "app/ReportWindow.h"
#include "blanks/BlankReport.h"
#include "blanks/report/BlankReportOutput.h"
#include "blanks/window/BlankJournalWindow.h"
#include "blanks/window/BlankReceiveWindow.h"
#include "blanks/window/BlanksAccess.h"
#include "storage/PolicyDatabase.h"
#include "widgets/Messages.h"
#include "widgets/WaitCursor.h"

#include <QAction>

namespace osago {

namespace {

const QString kBlankReportTitle = QStringLiteral("Отчёт по бланкам");

} // namespace

BlankCommands::BlankCommands(Messages& messages, FileChoices& files, DocumentPrinter& printer, MainWindow& mainWindow,
                             ProgramRegister& programRegister, RecordCommands& records, Today today)
    : m_messages(messages)
    , m_mainWindow(mainWindow)
    , m_register(programRegister)
    , m_today(std::move(today))
    , m_receive(std::make_unique<BlankReceiveWindow>(messages))
    , m_journal(std::make_unique<BlankJournalWindow>(messages, mainWindow, programRegister.database(), m_today))
    , m_period(std::make_unique<PeriodWindow>(messages))
    , m_report(std::make_unique<ReportWindow>(messages, printer, files, kBlankReportTitle))
{
    const MainCommands& commands = mainWindow.commands();
    connect(commands.receiveBlanks, &QAction::triggered, this, &BlankCommands::receive);
    connect(commands.blankJournal, &QAction::triggered, this, &BlankCommands::showJournal);
    connect(commands.blankReport, &QAction::triggered, this, &BlankCommands::report);
    connect(m_period.get(), &PeriodWindow::chosen, this, &BlankCommands::reportPeriod);
    connect(m_journal.get(), &BlankJournalWindow::openRecordRequested, &records, &RecordCommands::viewRecord);
    connect(m_receive.get(), &BlankReceiveWindow::received, m_journal.get(), &BlankJournalWindow::refresh);
    connect(&programRegister, &ProgramRegister::replaced, m_journal.get(), &BlankJournalWindow::showRegister);
}

BlankCommands::~BlankCommands() = default;

void BlankCommands::receive()
{
    if (const QString refusal = blankWriteRefusal(m_register.database()); !refusal.isEmpty()) {
        m_messages.show(&m_mainWindow, kBlanksTitle, refusal, Messages::Icon::Critical);
        return;
    }
    m_receive->ask(m_register.database(), m_today());
}

void BlankCommands::showJournal()
{
    m_journal->showJournal();
}

// The report checks the month's records too, read through the index of issue dates.
void BlankCommands::report()
{
    prepareIssueIndex(m_register.database(), &m_mainWindow, kBlankReportTitle);
    m_period->ask(kBlankReportTitle, PeriodWindow::Need::Required, m_today());
}

// The period window asks for a period here: it always comes with one.
void BlankCommands::reportPeriod(const std::optional<IssuePeriod>& period)
{
    StorageResult<BlankReport> made;
    {
        const WaitCursor waiting;
        made = makeBlankReport(m_register.database(), *period);
    }
    if (!made.ok) {
        m_messages.show(&m_mainWindow, kBlankReportTitle, made.error, Messages::Icon::Critical);
        return;
    }
    m_report->showReport(blankReportPages(made.value), blankReportName(*period),
                         [report = made.value](const QString& path, QString* error) {
                             return writeBlankReportCsv(report, path, error);
                         });
}

} // namespace osago
