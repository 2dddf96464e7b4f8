#include "Messages.h"
#include "Pictures.h"
#include "Program.h"
#include "tariff/calc/CalcCommand.h"

#include <QApplication>
#include <QCommandLineParser>

namespace {

// `--database FILE` opens another register than Baza.mdb in the current folder.
osago::ProgramOptions programOptions(const QApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("ОСАГО Тальград"));
    parser.addHelpOption();
    const QCommandLineOption database(QStringLiteral("database"), QStringLiteral("Файл реестра полисов."),
                                      QStringLiteral("FILE"));
    parser.addOption(database);
    parser.process(app);

    osago::ProgramOptions options;
    if (parser.isSet(database))
        options.databasePath = parser.value(database);
    return options;
}

} // namespace

int main(int argc, char* argv[])
{
    if (const std::optional<int> status = osago::runCalcCommandIfRequested(argc, argv))
        return *status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("osago"));
    QApplication::setOrganizationName(QStringLiteral("osago-talgrad"));
    QApplication::setWindowIcon(osago::programIcon());

    osago::DialogMessages messages;
    osago::Program program(messages, programOptions(app));
    program.start();
    return QApplication::exec();
}
