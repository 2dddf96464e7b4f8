#pragma once

#include "storage/PolicyDatabase.h"

#include <QStringList>
#include <QVariantList>

#include <span>
#include <vector>

namespace osago {

class SqliteDatabase;

// SqliteDatabase's reads, straight through SQLite's own interface on its connection: a million row ids
// take about 0.1 s this way, two thirds of the time through QSqlQuery, and a page of rows a third of it, as no
// QVariant is made of every value. Each read is one statement, finished before returning.

// Replaces `ids` with the row ids given by the first result column of `sql` (with `values` bound in order), in
// ascending order without repeats; empties it on failure. The vector's memory is reused from one reading to
// the next.
StorageStatus readRowIds(const SqliteDatabase& database, const QString& sql, const QVariantList& values,
                         std::vector<qint64>& ids);

// The reads of PolicyDatabase of the same names.
StorageResult<TableExtent> readTableExtent(const SqliteDatabase& database);
StorageStatus readIdsBetween(const SqliteDatabase& database, qint64 lowest, qint64 highest, int limit, Walk walk,
                             std::vector<qint64>& ids);
StorageStatus readRows(const SqliteDatabase& database, std::span<const qint64> ids, std::vector<QStringList>& rows);
StorageStatus readRowsUtf8(const SqliteDatabase& database, std::span<const qint64> ids, Utf8Rows& rows);

// Replaces `rows` with the `columns` (in that order) of the rows issued in `period` and of those without a
// readable issue date (of `agent` only, when given), in ascending id order: through the issue index where the
// file has it, else by reading the table.
StorageStatus readIssuedIn(const SqliteDatabase& database, const IssuePeriod& period, const QString* agent,
                           std::span<const int> columns, std::vector<QStringList>& rows);
// PolicyDatabase's read of the same name, exact: only the period's pairs.
StorageStatus readAgentDaysIssuedIn(const SqliteDatabase& database, const IssuePeriod& period,
                                    std::vector<QStringList>& pairs);

// The renewals' reads of PolicyDatabase of the same names, through the renewal indexes where the file has them.
StorageStatus readEndingIn(const SqliteDatabase& database, const IssuePeriod& period, std::span<const int> columns,
                           std::vector<qint64>& ids, std::vector<QStringList>& rows);
StorageStatus readStartsOf(const SqliteDatabase& database, int column, const QStringList& values,
                           std::vector<QStringList>& rows);
StorageResult<int> countRenewalsDue(const SqliteDatabase& database, const IssuePeriod& period);

} // namespace osago
