#pragma once

#include "storage/PolicyDatabase.h"

#include <QStringList>

#include <optional>

class QTextStream;

namespace osago {

// `osago copy-register FROM TO [--append]`: every row of the register FROM, in order and with its code, into the
// register TO (a file, made when there is none, or a server's), in one transaction, the share done shown on
// `errors`. A TO that holds rows is refused unless `--append` adds after them. Exit 0 with the number of rows
// copied on `output`; 2 for unusable words, FROM and TO the same register among them; 1 when a register cannot
// be opened or the copy fails, nothing then added to TO. `askPassword` answers a server that wants a password.
int runCopyRegisterCommand(const QStringList& words, QTextStream& output, QTextStream& errors,
                           const PasswordSource& askPassword = {});

// For main(): runs the command when argv[1] is "copy-register", asking a password on the terminal.
std::optional<int> runCopyRegisterCommandIfRequested(int argc, char* argv[]);

} // namespace osago
