#include "storage/SqlNames.h"

#include "storage/PolicyColumns.h"

#include <QJsonArray>
#include <QJsonDocument>
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

QByteArray jsonTextArray(const QStringList& values)
{
    return QJsonDocument(QJsonArray::fromStringList(values)).toJson(QJsonDocument::Compact);
}

QString trimmedCharacters()
{
    static const QString characters = [] {
        QString spaces;
        for (char32_t code = 1; code <= 0xFFFF; ++code) {
            if (QChar::isSpace(code))
                spaces += QChar(code);
        }
        return spaces;
    }();
    return characters;
}

} // namespace osago::sqlNames
