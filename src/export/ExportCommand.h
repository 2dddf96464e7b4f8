#pragma once

#include <QStringList>

#include <optional>

class QTextStream;

namespace osago {

// `osago export [--database REGISTER] [--from DD.MM.YYYY] [--to DD.MM.YYYY] OUTPUT.csv|OUTPUT.xlsx`: the rows of
// the register (issued in the period, when one is given) into OUTPUT, its format by the extension. Exit 0 with
// the number of rows written on `errors`; 2 with one line for unusable words; 1 when the register cannot be read
// or the file cannot be written.
int runExportCommand(const QStringList& words, QTextStream& output, QTextStream& errors);

// For main(): runs the command when argv[1] is "export".
std::optional<int> runExportCommandIfRequested(int argc, char* argv[]);

} // namespace osago
