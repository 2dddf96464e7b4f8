#include "app/ReportCommands.h"

#include "app/AgentSettings.h"
#include "app/IssueIndexPreparation.h"
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
    prepareIssueIndex(m_register.database(), &m_mainWindow, kReportTitle);
    m_period->ask(kReportTitle, PeriodWindow::Need::Required, m_today(), [this](const IssuePeriod& period) {
        return m_register.database().readAgentsIssuedIn(period);
    });
}

// The period window asks for a period here: it always comes with one.
void ReportCommands::reportPeriod(const std::optional<IssuePeriod>& period, const std::optional<QString>& agent)
{
    const AgentSettings parties = AgentSettings::load();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const StorageResult<AgentReport> made =
        makeAgentReport(m_register.database(), *period, parties.agent, parties.insurer, agent);
    QApplication::restoreOverrideCursor();
    if (!made.ok) {
        m_messages.show(&m_mainWindow, kReportTitle, made.error, Messages::Icon::Critical);
        return;
    }
    m_report->showReport(agentReportPages(made.value), agentReportName(*period));
}

} // namespace osago
