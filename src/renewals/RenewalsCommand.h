#pragma once

#include <QDate>
#include <QStringList>

#include <optional>

class QTextStream;

namespace osago {

// `osago renewals --from DD.MM.YYYY --to DD.MM.YYYY [--database REGISTER] OUTPUT.csv|OUTPUT.xlsx|OUTPUT.pdf`: the
// policies ending in the period and not renewed, into OUTPUT, the days left counted from `today`. Exit 0 with
// their number on `errors`; 2 with one line for unusable words; 1 when the register cannot be read or the file
// cannot be written.
int runRenewalsCommand(const QStringList& words, QTextStream& errors, QDate today);

// For main(): runs the command when argv[1] is "renewals".
std::optional<int> runRenewalsCommandIfRequested(int argc, char* argv[]);

} // namespace osago
