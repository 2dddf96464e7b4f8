#include "storage/SqlNames.h"

#include "storage/PolicyColumns.h"

#include <QStringList>

namespace osago::sqlNames {

QString quoted(QStringView name)
{
    QString text = name.toString();
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

QString columnList()
{
    QStringList names;
    for (const QString& name : policyColumnNames())
        names << quoted(name);
    return names.join(QStringLiteral(", "));
}

} // namespace osago::sqlNames
