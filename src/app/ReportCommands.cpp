#include "app/ReportCommands.h"

#include "app/AgentSettings.h"
#include "app/IndexBuildProgress.h"
#include "app/MainWindow.h"
#include "app/PeriodWindow.h"
#include "app/ReportWindow.h"
#include "app/ProgramRegister.h"
#include "report/AgentReport.h"
#include "report/ReportOutput.h"
#include "report/ReportPages.h"
#include "storage/PolicyDatabase.h"
#include "widgets/Messages.h"

#include <QAction>
#include <QApplication>

namespace osago {

namespace {

const QString kReportTitle = QStringLiteral("Отчёт агента");

} // namespace

ReportCommands::ReportCommands(Messages& messages, FileChoices& files, DocumentPrinter& printer, MainWindow& mainWindow,
                               ProgramRegister& programRegister, Today today)
    : m_messages(messages)
    , m_mainWindow(mainWindow)
    , m_register(programRegister)
    , m_today(std::move(today))
    , m_period(std::make_unique<PeriodWindow>(messages))
    , m_report(std::make_unique<ReportWindow>(messages, printer, files))
{
    connect(mainWindow.commands().report, &QAction::triggered, this, &ReportCommands::report);
    connect(m_period.get(), &PeriodWindow::chosen, this, &ReportCommands::reportPeriod);
}

ReportCommands::~ReportCommands() = default;

void ReportCommands::report()
{
    m_period->ask(kReportTitle, PeriodWindow::Need::Required, m_today());
}

// A register made before the issue index gets it at its first report: a read of the whole table, seconds at a
// million rows, under a progress window. Where it cannot be built (another program writing for longer than the
// busy timeout) the report reads the table instead, slower but the same.
void ReportCommands::prepareIssueIndex()
{
    if (m_register.database().isReadOnly() || m_register.database().hasIssueDayIndex())
        return;
    buildWithProgress(&m_mainWindow, QStringLiteral("FormReportProgress"), kReportTitle,
                      QStringLiteral("Подготовка отчёта: построение указателя дат выдачи..."),
                      [this](const IndexProgress& progress) { m_register.database().buildIssueDayIndex(progress); });
}

// The period window asks for a period here: it always comes with one.
void ReportCommands::reportPeriod(const std::optional<IssuePeriod>& period)
{
    const AgentSettings parties = AgentSettings::load();
    prepareIssueIndex();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const StorageResult<AgentReport> made = makeAgentReport(m_register.database(), *period, parties.agent, parties.insurer);
    QApplication::restoreOverrideCursor();
    if (!made.ok) {
        m_messages.show(&m_mainWindow, kReportTitle, made.error, Messages::Icon::Critical);
        return;
    }
    m_report->showReport(agentReportPages(made.value), agentReportName(*period));
}

} // namespace osago
