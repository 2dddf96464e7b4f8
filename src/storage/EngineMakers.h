#pragma once

#include "storage/PolicyDatabase.h"

#include <memory>

namespace osago {

// Each engine makes its own register objects, defined in its folder; makeDatabase() is the one place that
// chooses between them, and nothing above storage names an engine.
std::unique_ptr<PolicyDatabase> makeFileDatabase();
std::unique_ptr<PolicyDatabase> makeServerDatabase(PasswordSource askPassword);

} // namespace osago
