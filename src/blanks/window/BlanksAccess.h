#pragma once

#include <QString>

namespace osago {

class PolicyDatabase;

// Why the journal of `database` takes no writes now, in the agent's words (the register's own reason, read-only or
// damaged); empty when it does.
QString blankWriteRefusal(const PolicyDatabase& database);

// The title of the blanks' messages.
inline const QString kBlanksTitle = QStringLiteral("Бланки");

} // namespace osago
