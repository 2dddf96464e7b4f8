#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace osago::sqlNames {

// Names in the SQL texts of both engines: always quoted, so a column's Cyrillic name or a quote in it is taken as
// it stands. Values are never part of a SQL text; they are bound.
QString quoted(QStringView name);
// The 123 quoted column names, comma separated, in column order.
QString columnList();
// `values` as one JSON array of texts: a list bound as one value, which both engines take apart in SQL.
QByteArray jsonTextArray(const QStringList& values);
// The characters QString::trimmed() takes off a text's ends, for SQL's trim: a text of nothing else counts as
// blank in SQL as in the program.
QString trimmedCharacters();

} // namespace osago::sqlNames
