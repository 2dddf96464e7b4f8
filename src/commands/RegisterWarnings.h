#pragma once

#include <initializer_list>

class QTextStream;

namespace osago {

class PolicyDatabase;

// What the registers a command opened warn of although they opened (a password written in the address, which
// ~/.pgpass keeps safer; a file on a network share), on standard error after the command's name: each text once,
// however many of the registers give it.
void tellOpenWarnings(QTextStream& errors, const char* command,
                      std::initializer_list<const PolicyDatabase*> registers);

} // namespace osago
