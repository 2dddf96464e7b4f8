#pragma once

#include "storage/PolicyDatabase.h"

#include <QStringList>

#include <optional>

class QTextStream;

namespace osago {

// `osago backup [--database REGISTER] [FOLDER]`: a copy of the register, a file's or a server's, into FOLDER, else
// where its copies go (PolicyDatabase::copyPlace()); its path on `output`.
// `osago restore [--database REGISTER] COPY`: the register's rows replaced by those of COPY. Exit 0 on success, 2
// with one line for unusable words, 1 with the reason when the copy or the restore fails. `askPassword` answers a
// server that wants a password.
int runBackupCommand(const QStringList& words, QTextStream& output, QTextStream& errors,
                     const PasswordSource& askPassword = {});
int runRestoreCommand(const QStringList& words, QTextStream& output, QTextStream& errors,
                      const PasswordSource& askPassword = {});

// For main(): run the commands when argv[1] is "backup" or "restore".
std::optional<int> runBackupCommandIfRequested(int argc, char* argv[]);

} // namespace osago
