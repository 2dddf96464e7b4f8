#include "app/CommandLine.h"

#include "app/CommandLineHelp.h"
#include "ProgramVersion.h"

#include <QCommandLineParser>
#include <QFile>

#include <cstdio>

namespace osago {

namespace {

constexpr int refused = 2;

const QString kDatabaseMissing =
    QStringLiteral("после --database нужен реестр: имя файла или адрес сервера postgresql://…");

QString optionAsTyped(const QString& name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

WindowCommandLine refusal(const QString& problem)
{
    WindowCommandLine commandLine;
    commandLine.request = WindowCommandLine::Request::Refuse;
    commandLine.problem = problem;
    return commandLine;
}

} // namespace

WindowCommandLine readWindowCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption database(QStringLiteral("database"), QString(), QStringLiteral("REGISTER"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption menu(QStringLiteral("menu"));
    parser.addOptions({database, help, version, menu});
    const bool understood = parser.parse(arguments);

    WindowCommandLine commandLine;
    if (parser.isSet(help)) {
        commandLine.request = WindowCommandLine::Request::ShowHelp;
        return commandLine;
    }
    if (parser.isSet(version)) {
        commandLine.request = WindowCommandLine::Request::ShowVersion;
        return commandLine;
    }
    if (!parser.unknownOptionNames().isEmpty())
        return refusal(QStringLiteral("неизвестный параметр «%1»").arg(optionAsTyped(parser.unknownOptionNames().front())));
    // The only failure left is an option without its value, and only `--database` takes one.
    if (!understood || (parser.isSet(database) && parser.value(database).isEmpty()))
        return refusal(kDatabaseMissing);
    if (!parser.positionalArguments().isEmpty())
        return refusal(QStringLiteral("неизвестная команда «%1»").arg(parser.positionalArguments().front()));
    if (parser.isSet(database))
        commandLine.databaseLocation = parser.value(database);
    commandLine.fromMenu = parser.isSet(menu);
    return commandLine;
}

int answerCommandLine(const WindowCommandLine& commandLine, QIODevice& output, QIODevice& errors)
{
    switch (commandLine.request) {
    case WindowCommandLine::Request::ShowHelp:
        output.write(commandLineHelp().toUtf8());
        return 0;
    case WindowCommandLine::Request::ShowVersion:
        output.write(QByteArray("osago ") + programVersion + '\n');
        return 0;
    case WindowCommandLine::Request::Refuse:
        errors.write(QStringLiteral("osago: %1. Справка: osago --help\n").arg(commandLine.problem).toUtf8());
        return refused;
    case WindowCommandLine::Request::OpenWindow:
        break;
    }
    return 0;
}

int answerCommandLine(const WindowCommandLine& commandLine)
{
    QFile output;
    QFile errors;
    if (!output.open(stdout, QIODevice::WriteOnly) || !errors.open(stderr, QIODevice::WriteOnly))
        return refused;
    return answerCommandLine(commandLine, output, errors);
}

QStringList commandLineArguments(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

} // namespace osago
