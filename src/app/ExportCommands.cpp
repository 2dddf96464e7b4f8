#include "app/ExportCommands.h"

#include "app/IssueIndexPreparation.h"
#include "app/MainWindow.h"
#include "app/PeriodWindow.h"
#include "app/ProgramRegister.h"
#include "export/RegisterExport.h"
#include "export/TableFileWriter.h"
#include "grid/RegisterModel.h"
#include "storage/RegisterRowStream.h"
#include "widgets/FileChoices.h"
#include "widgets/Messages.h"

#include <QAction>
#include <QProgressDialog>

namespace osago {

namespace {

const QString kExportTitle = QStringLiteral("Экспорт реестра");

} // namespace

ExportCommands::ExportCommands(Messages& messages, FileChoices& files, MainWindow& mainWindow,
                               ProgramRegister& programRegister, Today today)
    : m_messages(messages)
    , m_files(files)
    , m_mainWindow(mainWindow)
    , m_register(programRegister)
    , m_model(programRegister.model())
    , m_today(std::move(today))
    , m_period(std::make_unique<PeriodWindow>(messages))
{
    connect(mainWindow.commands().exportRows, &QAction::triggered, this, &ExportCommands::exportRows);
    connect(m_period.get(), &PeriodWindow::chosen, this, &ExportCommands::exportPeriod);
}

ExportCommands::~ExportCommands() = default;

void ExportCommands::exportRows()
{
    prepareIssueIndex(m_register.database(), &m_mainWindow, kExportTitle);
    m_period->ask(kExportTitle, PeriodWindow::Need::Optional, m_today(), [this](const IssuePeriod& period) {
        return m_register.database().readAgentsIssuedIn(period);
    });
}

void ExportCommands::exportPeriod(const std::optional<IssuePeriod>& period, const std::optional<QString>& agent)
{
    QString target = m_files.saveFileName(&m_mainWindow, kExportTitle, QStringLiteral("Реестр.xlsx"),
                                          kXlsxFilter + QStringLiteral(";;") + kCsvFilter, {{kCsvFilter, kCsvNote}});
    if (target.isEmpty())
        return;
    if (!tableFormatOf(target))
        target += QStringLiteral(".xlsx");

    QProgressDialog progress(QStringLiteral("Идёт экспорт реестра..."), QStringLiteral("Отмена"), 0, 0, &m_mainWindow);
    progress.setObjectName(QStringLiteral("FormExportProgress"));
    progress.setWindowTitle(kExportTitle);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    RegisterRowStream rows(m_register.database(), m_model.selection());
    const ExportOutcome outcome = exportRegister(rows, {period, agent}, target, [&](std::size_t done, std::size_t total) {
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
