#include "drivers/DriverEntry.h"

namespace osago {

QStringList DriverEntry::attributes() const
{
    return {fullName, birthDate, sex, address, permit, experience, driverClass, experienceFlag, grossFlag};
}

DriverEntry DriverEntry::fromAttributes(const QStringList& attributes)
{
    Q_ASSERT(attributes.size() >= 9);
    return {attributes[0], attributes[1], attributes[2], attributes[3], attributes[4],
            attributes[5], attributes[6], attributes[7], attributes[8]};
}

QStringList driverClassItems()
{
    QStringList items{QStringLiteral("M")};
    for (int i = 0; i <= 13; ++i)
        items << QString::number(i);
    return items;
}

} // namespace osago
