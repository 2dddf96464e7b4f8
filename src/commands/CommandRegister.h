#pragma once

#include "storage/PolicyDatabase.h"

#include <memory>

class QString;
class QTextStream;

namespace osago {

// A command's refusal on standard error after the command's name, in one line: the lines of a register's or a
// rule's refusal joined. Gives `status`, the command's exit status.
int refuseInOneLine(QTextStream& errors, const char* command, const QString& reason, int status);

// The register at `location` opened for a command, the password asked on the terminal where the server wants
// one, and what it warns of told on standard error; none when it does not open, its refusal told in one line.
std::unique_ptr<PolicyDatabase> openCommandRegister(QTextStream& errors, const char* command, const QString& location,
                                                    PolicyDatabase::Access access);

} // namespace osago
