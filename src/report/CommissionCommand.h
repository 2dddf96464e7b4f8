#pragma once

#include <QStringList>

#include <optional>

class QTextStream;

namespace osago {

// `osago commission add --from DD.MM.YYYY --rate 12,5 [--database REGISTER]` adds a rate to the register's
// schedule; `osago commission list [--database REGISTER]` prints the schedule on `output`, a rate a line, the
// earliest first. Exit 0; 1 with one line on `errors` when the register refuses or cannot be read; 2 with one line
// for unusable words.
int runCommissionCommand(const QStringList& words, QTextStream& output, QTextStream& errors);

// For main(): runs the command when argv[1] is "commission".
std::optional<int> runCommissionCommandIfRequested(int argc, char* argv[]);

} // namespace osago
