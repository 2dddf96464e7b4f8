#include "app/AgentSettings.h"
#include "backup/BackupCommand.h"
#include "blanks/report/BlanksCommand.h"
#include "app/CommandLine.h"
#include "transfer/CopyRegisterCommand.h"
#include "export/ExportCommand.h"
#include "widgets/Messages.h"
#include "app/Pictures.h"
#include "app/Program.h"
#include "app/ProgramFolder.h"
#include "app/RegisterSettings.h"
#include "renewals/RenewalsCommand.h"
#include "report/CommissionCommand.h"
#include "report/ReportCommand.h"
#include "tariff/calc/CalcCommand.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[])
{
    if (const std::optional<int> status = osago::runCalcCommandIfRequested(argc, argv))
        return *status;
    if (const std::optional<int> status = osago::runExportCommandIfRequested(argc, argv))
        return *status;
    if (const std::optional<int> status = osago::runBackupCommandIfRequested(argc, argv))
        return *status;
    if (const std::optional<int> status = osago::runCopyRegisterCommandIfRequested(argc, argv))
        return *status;
    if (const std::optional<int> status = osago::runCommissionCommandIfRequested(argc, argv))
        return *status;
    if (const std::optional<int> status = osago::runReportCommandIfRequested(argc, argv, [] {
            const osago::AgentSettings settings = osago::AgentSettings::load();
            return osago::ReportParties{settings.agent, settings.insurer};
        }))
        return *status;
    if (const std::optional<int> status = osago::runBlanksCommandIfRequested(argc, argv))
        return *status;
    if (const std::optional<int> status = osago::runRenewalsCommandIfRequested(argc, argv))
        return *status;
    // Help and version need no display, so they are answered before the application object exists.
    const osago::WindowCommandLine early = osago::readWindowCommandLine(osago::commandLineArguments(argc, argv));
    if (early.request == osago::WindowCommandLine::Request::ShowHelp
        || early.request == osago::WindowCommandLine::Request::ShowVersion)
        return osago::answerCommandLine(early);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("osago"));
    QApplication::setOrganizationName(QStringLiteral("osago-talgrad"));
    // Names the installed menu entry, whose icon a Wayland desktop shows for the windows.
    QApplication::setDesktopFileName(QStringLiteral("osago"));
    QApplication::setWindowIcon(osago::programIcon());

    // Read again now that the application object has taken out its own options (-platform, -style...).
    const osago::WindowCommandLine commandLine = osago::readWindowCommandLine(QApplication::arguments());
    if (commandLine.request != osago::WindowCommandLine::Request::OpenWindow)
        return osago::answerCommandLine(commandLine);
    osago::DialogMessages messages;
    // A register not chosen in "Реестр..." is "Baza.mdb" in the current folder: after a start from the menu, the
    // program's own.
    if (commandLine.fromMenu) {
        if (const QString problem = osago::enterProgramFolder(osago::programFolder()); !problem.isEmpty())
            messages.show(nullptr, osago::kProgramTitle, problem + QStringLiteral(" Программа работает в папке «%1».")
                                                                        .arg(QDir::currentPath()),
                          osago::Messages::Icon::Warning);
    }
    osago::ProgramOptions options;
    // The register named on the command line wins over the one chosen in "Реестр...".
    options.databaseLocation = commandLine.databaseLocation.value_or(osago::RegisterSettings::load().location());
    options.automaticBackup = true;

    osago::Program program(messages, std::move(options));
    program.start();
    return QApplication::exec();
}
