#pragma once

#include "StorageStatus.h"

#include <QStringList>
#include <QVariantList>

#include <span>
#include <vector>

namespace osago {

class PolicyDatabase;

// The grid's reads, straight through SQLite's own interface on the database's connection: a million row ids
// take about 0.1 s this way, two thirds of the time through QSqlQuery, and a page of rows a third of it, as no
// QVariant is made of every value. Each read is one statement, finished before returning.

// Replaces `ids` with the row ids given by the first result column of `sql` (with `values` bound in order), in
// ascending order without repeats; empties it on failure. The vector's memory is reused from one reading to
// the next.
StorageStatus readRowIds(const PolicyDatabase& database, const QString& sql, const QVariantList& values,
                         std::vector<qint64>& ids);

// The number of rows of the table and its highest row id (0 for an empty table).
struct TableExtent
{
    int rows = 0;
    qint64 lastId = 0;
};
StorageResult<TableExtent> readTableExtent(const PolicyDatabase& database);

// Appends to `ids` at most `limit` row ids from `lowest` to `highest`: the lowest of them in ascending order
// for Walk::Up, the highest in descending order for Walk::Down.
enum class Walk { Up, Down };
StorageStatus readIdsBetween(const PolicyDatabase& database, qint64 lowest, qint64 highest, int limit, Walk walk,
                             std::vector<qint64>& ids);

// The 123 columns of the rows with the ascending `ids`, row i of `rows` for ids[i]; a row that is no longer
// there stays an empty list.
StorageStatus readRows(const PolicyDatabase& database, std::span<const qint64> ids, std::vector<QStringList>& rows);

} // namespace osago
