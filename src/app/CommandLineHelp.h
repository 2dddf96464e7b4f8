#pragma once

#include <QString>

namespace osago {

// The text `osago --help` prints: every command and option of the program.
QString commandLineHelp();

} // namespace osago
