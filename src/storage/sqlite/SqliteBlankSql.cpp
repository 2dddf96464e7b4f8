#include "storage/sqlite/SqliteBlankSql.h"

#include "storage/BlankJournalRules.h"
#include "storage/BlankNumbers.h"
#include "storage/PolicyColumns.h"
#include "storage/SqlNames.h"

#include <QStringList>

namespace osago::sqliteBlankSql {

using sqlNames::quoted;

namespace {

QString marks(int count)
{
    return QStringList(count, QStringLiteral("?")).join(u',');
}

QString recordColumn(int column)
{
    return quoted(policyColumnNames().at(column));
}

// The digits of a record's column that a number of `kind` ends it with.
QString lastDigits(BlankKind kind)
{
    return QStringLiteral("substr(%1, -%2)").arg(recordColumn(blankColumn(kind))).arg(blankDigits(kind));
}

const QString kBlankColumns = QStringLiteral(
    "id, kind, series, number, status, status_date, record_code, receipt, received, reason, return_act");

// The filter's conditions, in the order its values are bound.
QString whereOf(const BlankFilter& filter)
{
    QStringList conditions{QStringLiteral("1 = 1")};
    if (filter.kind)
        conditions << QStringLiteral("kind = ?");
    if (!filter.series.isEmpty())
        conditions << QStringLiteral("series = ?");
    if (filter.status)
        conditions << QStringLiteral("status = ?");
    if (!filter.numberPart.isEmpty())
        conditions << QStringLiteral("instr(printf('%0*d', CASE kind WHEN 1 THEN 6 ELSE 10 END, number), ?) > 0");
    return conditions.join(QStringLiteral(" AND "));
}

} // namespace

const std::vector<QString>& createTables()
{
    static const std::vector<QString> statements{
        QStringLiteral("CREATE TABLE IF NOT EXISTS \"BlankReceipts\" (id INTEGER PRIMARY KEY, kind INTEGER NOT NULL, "
                       "series TEXT NOT NULL, first_number INTEGER NOT NULL, last_number INTEGER NOT NULL, "
                       "received TEXT NOT NULL, act TEXT NOT NULL, note TEXT NOT NULL)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS \"BlankReceipts_range\" ON \"BlankReceipts\" (kind, series, "
                       "first_number)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS \"Blanks\" (id INTEGER PRIMARY KEY, receipt INTEGER NOT NULL, "
                       "kind INTEGER NOT NULL, series TEXT NOT NULL, number INTEGER NOT NULL, received TEXT NOT NULL, "
                       "status INTEGER NOT NULL, status_date TEXT NOT NULL, spoiled_on TEXT, record_code TEXT, "
                       "reason TEXT NOT NULL DEFAULT '', return_act TEXT NOT NULL DEFAULT '')"),
        QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS \"Blanks_number\" ON \"Blanks\" (kind, series, number)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS \"Blanks_receipt\" ON \"Blanks\" (receipt, status)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS \"Blanks_status\" ON \"Blanks\" (status)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS \"Blanks_status_date\" ON \"Blanks\" (status_date)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS \"Blanks_spoiled\" ON \"Blanks\" (spoiled_on)"),
    };
    return statements;
}

const sqliteSql::Index& recordNumberIndex(BlankKind kind)
{
    static const std::array<sqliteSql::Index, kBlankKindCount> indexes = [] {
        std::array<sqliteSql::Index, kBlankKindCount> made;
        for (BlankKind each : kBlankKinds) {
            const QString name = kRegisterTable.toString() + QStringLiteral("_blank%1").arg(int(each));
            made[std::size_t(each)] = {name, QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                                                 .arg(quoted(name), quoted(kRegisterTable), lastDigits(each))};
        }
        return made;
    }();
    return indexes[std::size_t(kind)];
}

QString selectTablesPresent()
{
    return QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN ('Blanks', "
                          "'BlankReceipts')");
}

QString selectAnyBlank()
{
    return QStringLiteral("SELECT EXISTS (SELECT 1 FROM \"Blanks\")");
}

QString selectOverlappingReceipt()
{
    return QStringLiteral("SELECT id, kind, series, first_number, last_number, received, act, note FROM "
                          "\"BlankReceipts\" WHERE kind = ? AND series = ? AND first_number <= ? AND last_number >= ? "
                          "ORDER BY first_number LIMIT 1");
}

QString insertReceipt()
{
    return QStringLiteral("INSERT INTO \"BlankReceipts\" (kind, series, first_number, last_number, received, act, note) "
                          "VALUES (?, ?, ?, ?, ?, ?, ?)");
}

QString insertReceivedBlanks()
{
    return QStringLiteral("WITH RECURSIVE numbers(number) AS (SELECT ? UNION ALL SELECT number + 1 FROM numbers "
                          "WHERE number < ?) INSERT INTO \"Blanks\" (receipt, kind, series, number, received, status, "
                          "status_date) SELECT ?, ?, ?, number, ?, 0, ? FROM numbers");
}

QString selectRecordsInRange(BlankKind kind)
{
    return QStringLiteral("SELECT rowid, %1, %2 FROM %3 WHERE %4 BETWEEN ? AND ? ORDER BY rowid")
        .arg(recordColumn(rowCodeColumnIndex()), recordColumn(blankColumn(kind)), quoted(kRegisterTable),
             lastDigits(kind));
}

QString takeBlank()
{
    return QStringLiteral("UPDATE \"Blanks\" SET status = 1, status_date = ?, record_code = ? WHERE kind = ? AND "
                          "series = ? AND number = ? AND status = 0");
}

QString releaseBlank()
{
    return QStringLiteral("UPDATE \"Blanks\" SET status = ?, status_date = coalesce(?, received), spoiled_on = ?, "
                          "record_code = NULL WHERE record_code = ? AND kind = ? AND series = ? AND number = ? AND "
                          "status = 1");
}

QString selectReceipts()
{
    return QStringLiteral("SELECT id, kind, series, first_number, last_number, received, act, note FROM "
                          "\"BlankReceipts\" ORDER BY id");
}

QString countMovedOfReceipt()
{
    return QStringLiteral("SELECT (SELECT count(*) FROM \"BlankReceipts\" WHERE id = ?), (SELECT count(*) FROM "
                          "\"Blanks\" WHERE receipt = ? AND status <> 0)");
}

QString deleteBlanksOfReceipt()
{
    return QStringLiteral("DELETE FROM \"Blanks\" WHERE receipt = ?");
}

QString deleteReceipt()
{
    return QStringLiteral("DELETE FROM \"BlankReceipts\" WHERE id = ?");
}

QString selectExtent()
{
    // Apart, the count walks the smallest b-tree and the largest id is the key's last entry; together they walk
    // every row.
    return QStringLiteral("SELECT (SELECT count(*) FROM \"Blanks\"), coalesce((SELECT max(id) FROM \"Blanks\"), 0)");
}

QString selectIdsBetween(bool descending)
{
    return QStringLiteral("SELECT id FROM \"Blanks\" WHERE id BETWEEN ? AND ? ORDER BY id %1 LIMIT ?")
        .arg(descending ? QStringLiteral("DESC") : QStringLiteral("ASC"));
}

QString selectIdsOf(const BlankFilter& filter)
{
    return QStringLiteral("SELECT id FROM \"Blanks\" WHERE %1").arg(whereOf(filter));
}

QString selectCountsOf(const BlankFilter& filter)
{
    return QStringLiteral("SELECT status, count(*) FROM \"Blanks\" WHERE %1 GROUP BY status").arg(whereOf(filter));
}

QString selectRows(int count)
{
    return QStringLiteral("SELECT %1, (SELECT act FROM \"BlankReceipts\" r WHERE r.id = b.receipt), (SELECT note FROM "
                          "\"BlankReceipts\" r WHERE r.id = b.receipt) FROM \"Blanks\" b WHERE id IN (%2)")
        .arg(kBlankColumns, marks(count));
}

QString selectUsers(int count)
{
    QStringList columns;
    for (int column : blankUserColumns())
        columns << recordColumn(column);
    return QStringLiteral("SELECT %1 FROM %2 WHERE %3 IN (%4) ORDER BY rowid DESC")
        .arg(columns.join(QStringLiteral(", ")), quoted(kRegisterTable), recordColumn(rowCodeColumnIndex()),
             marks(count));
}

QString selectUnmarkable(int statuses, int count)
{
    return QStringLiteral("SELECT kind, series, number, status FROM \"Blanks\" WHERE status NOT IN (%1) AND id IN (%2) "
                          "LIMIT 1")
        .arg(marks(statuses), marks(count));
}

QString countPresent(int count)
{
    return QStringLiteral("SELECT count(*) FROM \"Blanks\" WHERE id IN (%1)").arg(marks(count));
}

QString markBlanks(int count)
{
    return QStringLiteral("UPDATE \"Blanks\" SET status = ?, status_date = ?, spoiled_on = coalesce(?, spoiled_on), "
                          "reason = coalesce(?, reason), return_act = coalesce(?, return_act) WHERE id IN (%1)")
        .arg(marks(count));
}

QString selectBlank()
{
    return QStringLiteral("SELECT status, status_date, record_code FROM \"Blanks\" WHERE kind = ? AND series = ? AND "
                          "number = ?");
}

QString selectHistory()
{
    return QStringLiteral("SELECT kind, series, number, received, status, status_date, spoiled_on, record_code FROM "
                          "\"Blanks\" WHERE received <= ? AND (status = 0 OR status_date >= ? OR spoiled_on >= ?)");
}

QString selectCopyBlock()
{
    return QStringLiteral("SELECT id, receipt, kind, series, number, received, status, status_date, spoiled_on, "
                          "record_code, reason, return_act FROM \"Blanks\" WHERE id > ? ORDER BY id LIMIT ?");
}

QString insertCopiedBlank()
{
    return QStringLiteral("INSERT INTO \"Blanks\" (receipt, kind, series, number, received, status, status_date, "
                          "spoiled_on, record_code, reason, return_act) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
}

} // namespace osago::sqliteBlankSql
