#include "storage/PolicyRow.h"

#include <QtGlobal>

namespace osago {

PolicyRow::PolicyRow() : m_values(kPolicyColumnCount) {}

std::optional<PolicyRow> PolicyRow::fromValues(QStringList values)
{
    if (values.size() != kPolicyColumnCount)
        return std::nullopt;
    return PolicyRow(std::move(values));
}

int PolicyRow::checkedIndex(QStringView columnName)
{
    const int index = policyColumnIndex(columnName);
    if (index < 0)
        qFatal("no register column %s", qPrintable(columnName.toString()));
    return index;
}

const QString& PolicyRow::value(QStringView columnName) const
{
    return value(checkedIndex(columnName));
}

void PolicyRow::setValue(QStringView columnName, const QString& text)
{
    setValue(checkedIndex(columnName), text);
}

int PolicyRow::driverCount() const
{
    for (int driver = kDriverCount; driver >= 1; --driver) {
        for (int attribute = 1; attribute <= kDriverAttributeCount; ++attribute) {
            if (!value(driverColumnIndex(driver, attribute)).isEmpty())
                return driver;
        }
    }
    return 0;
}

} // namespace osago
