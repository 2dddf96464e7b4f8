#pragma once

#include <QStringList>

#include <optional>

class QTextStream;

namespace osago {

// `osago backup [--database REGISTER] [FOLDER]`: a copy of the register into FOLDER, else into "Архив" beside it;
// its path on `output`. `osago restore [--database REGISTER] COPY`: the register replaced by COPY. Exit 0 on
// success, 2 with one line for unusable words, 1 with the reason when the copy or the restore fails.
int runBackupCommand(const QStringList& words, QTextStream& output, QTextStream& errors);
int runRestoreCommand(const QStringList& words, QTextStream& output, QTextStream& errors);

// For main(): run the commands when argv[1] is "backup" or "restore".
std::optional<int> runBackupCommandIfRequested(int argc, char* argv[]);

} // namespace osago
