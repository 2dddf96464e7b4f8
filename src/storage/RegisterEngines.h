#pragma once

#include "PolicyDatabase.h"

#include <QString>

#include <memory>

namespace osago {

// What the agent hears when the register named is on a server and this build has no engine for it.
inline const QString kServerRegisterUnsupported = QStringLiteral("Реестр на сервере не поддерживается этой сборкой.");

// The register at `location` (see makeDatabase), opened with `access`; the failure says why it is not.
StorageResult<std::unique_ptr<PolicyDatabase>> openDatabase(const QString& location, PolicyDatabase::Access access,
                                                            PasswordSource askPassword = {});

} // namespace osago
