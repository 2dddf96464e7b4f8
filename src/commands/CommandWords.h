#pragma once

#include "storage/IssuePeriod.h"
#include "storage/PolicyColumns.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QTextStream;

namespace osago {

inline constexpr int kCommandFailed = 1;
inline constexpr int kCommandUnusable = 2;

// The words of a command after its name: `--database FILE`, with `withPeriod` also `--from DD.MM.YYYY`,
// `--to DD.MM.YYYY` and `--agent NAME`, and the other words in their order.
struct CommandWords
{
    QString database = kDefaultRegisterFile.toString();
    std::optional<QDate> from;
    std::optional<QDate> to;
    std::optional<QString> agent;
    QStringList others;
};

// std::nullopt for an unknown option, an option without its value or a date that is not one; `problem` says
// which.
std::optional<CommandWords> parseCommandWords(const QStringList& words, bool withPeriod, QString& problem);

// The words of a command over a period into one file: `--from` and `--to`, the register, and the file.
struct PeriodCommandWords
{
    QString database;
    IssuePeriod period;
    QString target;
    std::optional<QString> agent;
};

// std::nullopt with `problem` for words parseCommandWords() refuses, `usage` when the period or the file is
// missing, a file whose name ends in none of `endings` (".pdf", ".csv", any letter case), or a period ending
// before it starts.
std::optional<PeriodCommandWords> parsePeriodCommandWords(const QStringList& words, const QString& usage,
                                                          const QStringList& endings, QString& problem);

// A command's body: its words, the standard output and the standard error; gives the exit status.
using CommandBody = std::function<int(const QStringList& words, QTextStream& output, QTextStream& errors)>;

// What a command needs of Qt: a core application (Qt SQL loads its driver through one), or also fonts for
// laying out documents, on the offscreen platform when there is no display.
enum class CommandNeeds { Core, Fonts };

// For main(): when argv[1] is `name`, runs `body` under an application with the program's names (its settings)
// and returns its exit status; std::nullopt for any other command line. Call it before creating QApplication.
std::optional<int> runCommandIfRequested(int argc, char* argv[], const char* name, const CommandBody& body,
                                         CommandNeeds needs = CommandNeeds::Core);

} // namespace osago
