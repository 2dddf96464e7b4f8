#pragma once

#include <QStringList>

#include <optional>

class QTextStream;

namespace osago {

// `osago blanks report --from DD.MM.YYYY --to DD.MM.YYYY [--database R] OUT.pdf|OUT.csv` and
// `osago blanks receive --kind polis|kvit|znak [--series ААА] --first N --last N --date DD.MM.YYYY [--act TEXT]
// [--database R]`. Exit 0 with what was done on `errors`; 1 with one Russian line for a refusal (of the register
// or of the receipt's rules); 2 with one line for unusable words.
int runBlanksCommand(const QStringList& words, QTextStream& errors);

// For main(): runs the command when argv[1] is "blanks".
std::optional<int> runBlanksCommandIfRequested(int argc, char* argv[]);

} // namespace osago
