#include "blanks/window/BlanksAccess.h"

#include "storage/PolicyDatabase.h"

namespace osago {

QString blankWriteRefusal(const PolicyDatabase& database)
{
    if (!database.isOpen())
        return QStringLiteral("Реестр не открыт: бланки вести негде.");
    if (database.isDamaged())
        return database.damagedReason();
    if (database.isReadOnly())
        return QStringLiteral("Реестр открыт только для чтения: бланки можно смотреть, но не изменять.\nПричина: %1.")
            .arg(database.readOnlyReason());
    return {};
}

} // namespace osago
