#include "ServiceCommands.h"

#include "FileChoices.h"
#include "FormMain.h"
#include "AgentReport.h"
#include "AgentSettings.h"
#include "DocumentPrinter.h"
#include "FormPeriod.h"
#include "FormReport.h"
#include "Messages.h"
#include "RegisterExport.h"
#include "RegisterModel.h"
#include "RegisterRowStream.h"
#include "ReportOutput.h"
#include "TableFileWriter.h"

#include <QAction>
#include <QApplication>
#include <QProgressDialog>

namespace osago {

namespace {

const QString kExportTitle = QStringLiteral("Экспорт реестра");
const QString kReportTitle = QStringLiteral("Отчёт агента");
const QString kExportFilters = QStringLiteral("Таблица CSV (*.csv);;Книга Excel (*.xlsx)");

} // namespace

ServiceCommands::ServiceCommands(Messages& messages, FileChoices& files, FormMain& mainWindow,
                                 PolicyDatabase& database, RegisterModel& model, Today today)
    : m_messages(messages)
    , m_files(files)
    , m_mainWindow(mainWindow)
    , m_database(database)
    , m_model(model)
    , m_today(std::move(today))
    , m_period(std::make_unique<FormPeriod>(messages))
    , m_printer(std::make_unique<SystemPrinter>())
    , m_report(std::make_unique<FormReport>(messages, *m_printer, files))
{
    connect(mainWindow.commands().exportRows, &QAction::triggered, this, &ServiceCommands::exportRows);
    connect(mainWindow.commands().report, &QAction::triggered, this, &ServiceCommands::report);
}

ServiceCommands::~ServiceCommands() = default;

void ServiceCommands::askPeriod(const QString& title,
                                void (ServiceCommands::*then)(const std::optional<IssuePeriod>&), bool required)
{
    disconnect(m_periodChosen);
    m_periodChosen = connect(m_period.get(), &FormPeriod::chosen, this, then);
    m_period->ask(title, required ? FormPeriod::Need::Required : FormPeriod::Need::Optional, m_today());
}

void ServiceCommands::exportRows()
{
    askPeriod(kExportTitle, &ServiceCommands::exportPeriod, false);
}

void ServiceCommands::report()
{
    askPeriod(kReportTitle, &ServiceCommands::reportPeriod, true);
}

void ServiceCommands::reportPeriod(const std::optional<IssuePeriod>& period)
{
    const AgentSettings parties = AgentSettings::load();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const StorageResult<AgentReport> made = makeAgentReport(m_database, *period, parties.agent, parties.insurer);
    QApplication::restoreOverrideCursor();
    if (!made.ok) {
        m_messages.show(&m_mainWindow, kReportTitle, made.error, Messages::Icon::Critical);
        return;
    }
    m_report->showReport(agentReportPages(made.value), QStringLiteral("Отчёт агента %1-%2.pdf")
                                                          .arg(registerDateText(period->from), registerDateText(period->to)));
}

void ServiceCommands::exportPeriod(const std::optional<IssuePeriod>& period)
{
    QString target = m_files.saveFileName(&m_mainWindow, kExportTitle, QStringLiteral("Реестр.xlsx"), kExportFilters);
    if (target.isEmpty())
        return;
    if (!tableFormatOf(target))
        target += QStringLiteral(".csv");

    QProgressDialog progress(QStringLiteral("Идёт экспорт реестра..."), QStringLiteral("Отмена"), 0, 0, &m_mainWindow);
    progress.setObjectName(QStringLiteral("FormExportProgress"));
    progress.setWindowTitle(kExportTitle);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    RegisterRowStream rows(m_database, m_model.selection());
    const ExportOutcome outcome = exportRegister(rows, period, target, [&](std::size_t done, std::size_t total) {
        progress.setMaximum(int(total));
        progress.setValue(int(done));
        return !progress.wasCanceled();
    });
    progress.reset();

    switch (outcome.kind) {
    case ExportOutcome::Kind::Written:
        m_messages.show(&m_mainWindow, kExportTitle, QStringLiteral("Экспорт завершён. ") + exportSummary(outcome),
                        Messages::Icon::Information);
        break;
    case ExportOutcome::Kind::Cancelled:
        m_messages.show(&m_mainWindow, kExportTitle, QStringLiteral("Экспорт отменён, файл не записан."),
                        Messages::Icon::Information);
        break;
    case ExportOutcome::Kind::Failed:
        m_messages.show(&m_mainWindow, kExportTitle, outcome.error, Messages::Icon::Critical);
        break;
    }
}

} // namespace osago
