#pragma once

#include "storage/PolicyDatabase.h"
#include "storage/sqlite/SqliteSql.h"

#include <QString>
#include <QStringView>
#include <QVariantList>

#include <vector>

class QSqlDatabase;

namespace osago {

// Finding a word anywhere in a register column, ignoring letter case for Cyrillic as for Latin and the difference
// between ё and е. SQLite's own LIKE, lower() and NOCASE fold ASCII letters only, so the comparison is the SQL
// function osago_contains(text, word), registered on every connection the program opens. Each searched column
// has a plain index of its own, which SQLite scans instead of the table when a condition needs only that column
// (about 25 MB instead of 1.9 GB at a million rows). SQLite keeps plain indexes up to date by itself, so rows
// written by other programs are found as well, and those programs need nothing of ours to write.

// Registers osago_contains on the connection; false when SQLite refuses.
bool installSearchFunction(const QSqlDatabase& connection);

// `osago_contains("<column name>", ?)`: the word is the one bound value, never part of the SQL text.
QString containsCondition(int column);

// The statement whose first result column gives the row ids `selection` picks, and the values bound to it in
// order; the word is only ever a bound value.
struct SelectionQuery
{
    QString sql;
    QVariantList values;
};
SelectionQuery selectionQuery(const RowSelection& selection);

// The index of one column's values, and those of every searched column (a new register gets them all).
sqliteSql::Index searchIndex(int column);
std::vector<sqliteSql::Index> searchIndexes();

} // namespace osago
