#pragma once

#include <QDateTime>
#include <QStringList>

#include <optional>

class QIODevice;

namespace osago {

// `osago calc [FILE]`: reads one JSON request from FILE, or from `input` when FILE is absent or
// "-", prepares a new record as "Создать..." does at `now`, applies the request, runs
// "Расчитать" and writes the resulting fields as one JSON object to `output`. `arguments` are
// the words after "calc". Returns the exit status: 0 whenever the calculation ran or a driver's
// age could not be derived (the report's "error" says so), 2 for unusable input, with one line
// on `errors` and nothing on `output`. Needs no application object and no display.
int runCalcCommand(const QStringList& arguments, QIODevice& input, QIODevice& output, QIODevice& errors,
                   const QDateTime& now);
int runCalcCommand(const QStringList& arguments, QIODevice& input, QIODevice& output, QIODevice& errors);

// For main(): when argv[1] is "calc", runs the command on the standard streams and returns its
// exit status; std::nullopt for any other command line. Call it before creating QApplication.
std::optional<int> runCalcCommandIfRequested(int argc, char* argv[]);

} // namespace osago
