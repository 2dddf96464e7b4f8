#pragma once

#include "PolicyDatabase.h"

#include <QString>

#include <memory>

namespace osago {

// The register at `location` (see makeDatabase), opened with `access`; the failure says why it is not.
StorageResult<std::unique_ptr<PolicyDatabase>> openDatabase(const QString& location, PolicyDatabase::Access access,
                                                            PasswordSource askPassword = {});

} // namespace osago
