#include "tariff/calc/CalcCommand.h"

#include "tariff/calc/CalcReport.h"
#include "tariff/calc/CalcRequest.h"
#include "tariff/calc/HeadlessEditor.h"

#include <QFile>
#include <QIODevice>

#include <cstdio>
#include <cstring>

namespace osago {

namespace {

constexpr int unusableInput = 2;
constexpr char commandName[] = "calc";

int refuse(QIODevice& errors, const std::string& reason)
{
    errors.write("osago calc: ");
    errors.write(reason.data(), qint64(reason.size()));
    errors.write("\n");
    return unusableInput;
}

std::optional<QByteArray> readInput(const QStringList& arguments, QIODevice& input, std::string& problem)
{
    if (arguments.isEmpty() || arguments.front() == u"-")
        return input.readAll();
    QFile file(arguments.front());
    if (!file.open(QIODevice::ReadOnly)) {
        problem = "cannot read " + arguments.front().toStdString() + ": " + file.errorString().toStdString();
        return std::nullopt;
    }
    return file.readAll();
}

std::string run(const CalcRequest& request, const QDateTime& now)
{
    const std::string today = now.toString(u"dd.MM.yyyy").toStdString();
    const std::string timeOfDay = now.toString(u"hh:mm:ss").toStdString();
    HeadlessEditor editor(today, timeOfDay);
    for (const auto& [name, state] : request.states)
        editor.setChecked(name, state);
    for (const auto& [name, text] : request.texts)
        editor.setText(name, text);
    for (const DriverAttributes& driver : request.drivers) {
        if (auto ageProblem = editor.addDriver(driver))
            return calcReport(editor, ageProblem);
    }
    const std::optional<std::string> stop = editor.calculate();
    return calcReport(editor, stop);
}

} // namespace

int runCalcCommand(const QStringList& arguments, QIODevice& input, QIODevice& output, QIODevice& errors,
                   const QDateTime& now)
{
    if (arguments.size() > 1)
        return refuse(errors, "usage: osago calc [FILE]");
    std::string problem;
    const std::optional<QByteArray> json = readInput(arguments, input, problem);
    if (!json)
        return refuse(errors, problem);
    const auto request = readCalcRequest(*json);
    if (!request)
        return refuse(errors, request.error());
    const std::string report = run(*request, now);
    output.write(report.data(), qint64(report.size()));
    return 0;
}

int runCalcCommand(const QStringList& arguments, QIODevice& input, QIODevice& output, QIODevice& errors)
{
    return runCalcCommand(arguments, input, output, errors, QDateTime::currentDateTime());
}

std::optional<int> runCalcCommandIfRequested(int argc, char* argv[])
{
    if (argc < 2 || std::strcmp(argv[1], commandName) != 0)
        return std::nullopt;
    QStringList arguments;
    for (int i = 2; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QFile input;
    QFile output;
    QFile errors;
    if (!input.open(stdin, QIODevice::ReadOnly) || !output.open(stdout, QIODevice::WriteOnly)
        || !errors.open(stderr, QIODevice::WriteOnly))
        return unusableInput;
    return runCalcCommand(arguments, input, output, errors);
}

} // namespace osago
