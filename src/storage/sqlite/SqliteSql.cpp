#include "storage/sqlite/SqliteSql.h"

#include "storage/CommissionRate.h"
#include "storage/PolicyColumns.h"
#include "storage/SqlNames.h"

#include <QStringList>

namespace osago::sqliteSql {

using sqlNames::columnList;
using sqlNames::quoted;

namespace {

QString table()
{
    return quoted(kRegisterTable);
}

QString rowCode()
{
    return quoted(policyColumnNames().at(rowCodeColumnIndex()));
}

QString placeholders(int count)
{
    QStringList marks(count, QStringLiteral("?"));
    return marks.join(u',');
}

} // namespace

QString createTable()
{
    QStringList definitions;
    for (const QString& name : policyColumnNames())
        definitions << quoted(name) + QStringLiteral(" TEXT");
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)").arg(table(), definitions.join(QStringLiteral(", ")));
}

namespace {

Index tableIndex(const QString& suffix, const QString& key)
{
    const QString name = kRegisterTable.toString() + suffix;
    return {name, QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)").arg(quoted(name), table(), key)};
}

} // namespace

const std::vector<Index>& indexes()
{
    static const std::vector<Index> all{tableIndex(QStringLiteral("_code"), rowCode()),
                                        tableIndex(QStringLiteral("_order"), QStringLiteral("(0)"))};
    return all;
}

const Index& issueDayIndex()
{
    static const Index issued = tableIndex(QStringLiteral("_issued"), issueDayKey());
    return issued;
}

QString issueDayKey()
{
    const QString date = quoted(policyColumnNames().at(policyColumnIndex(u"Дата_выдачи")));
    const QString iso = QStringLiteral("substr(%1, 7, 4) || '-' || substr(%1, 4, 2) || '-' || substr(%1, 1, 2)").arg(date);
    // date() alone takes any day up to 31; a modifier makes it carry "31.02" over into March.
    return QStringLiteral("CASE WHEN %1 GLOB '[0-9][0-9].[0-9][0-9].[0-9][0-9][0-9][0-9]' AND %2 >= '0001' "
                          "AND date(%2, '+0 days') = %2 THEN %2 ELSE '' END")
        .arg(date, iso);
}

QString selectIssuedBetween(const QString& columns)
{
    return QStringLiteral("SELECT %1 FROM %2 WHERE %3 BETWEEN ? AND ? OR %3 = '' ORDER BY rowid")
        .arg(columns, table(), issueDayKey());
}

QString selectAll()
{
    return QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(columnList(), table());
}

QString selectAllIds()
{
    return QStringLiteral("SELECT rowid FROM %1").arg(table());
}

QString selectRowCountAndLastId()
{
    return QStringLiteral("SELECT (SELECT count(*) FROM %1), (SELECT max(rowid) FROM %1)").arg(table());
}

QString selectIdsBetween(bool descending)
{
    return QStringLiteral("SELECT rowid FROM %1 WHERE rowid BETWEEN ? AND ? ORDER BY rowid %2 LIMIT ?")
        .arg(table(), descending ? QStringLiteral("DESC") : QStringLiteral("ASC"));
}

QString selectIdsByCode()
{
    return QStringLiteral("SELECT rowid FROM %1 WHERE %2 = ?").arg(table(), rowCode());
}

QString selectByIds(int count)
{
    return QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid IN (%3)").arg(columnList(), table(), placeholders(count));
}

QString selectByIdRange()
{
    return QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid BETWEEN ? AND ?").arg(columnList(), table());
}

QString selectByCode()
{
    return QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(columnList(), table(), rowCode());
}

QString insert()
{
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table(), columnList(), placeholders(kPolicyColumnCount));
}

QString updateById()
{
    QStringList assignments;
    for (int column = 0; column < kPolicyColumnCount; ++column) {
        if (column != rowCodeColumnIndex())
            assignments << quoted(policyColumnNames().at(column)) + QStringLiteral(" = ?");
    }
    return QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(table(), assignments.join(QStringLiteral(", ")));
}

QString deleteById()
{
    return QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(table());
}

namespace {

QString rates()
{
    return quoted(kCommissionTable);
}

} // namespace

QString createCommissionTable()
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2 TEXT PRIMARY KEY NOT NULL, %3 INTEGER NOT NULL CHECK (%3 "
                          "BETWEEN 0 AND %4))")
        .arg(rates(), quoted(kCommissionFromColumn), quoted(kCommissionRateColumn))
        .arg(kLargestCommission);
}

QString selectCommissionTableExists()
{
    return QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = '%1'").arg(kCommissionTable);
}

QString selectCommissionRates()
{
    return QStringLiteral("SELECT %2, %3 FROM %1 ORDER BY %2")
        .arg(rates(), quoted(kCommissionFromColumn), quoted(kCommissionRateColumn));
}

QString insertCommissionRateIfLatest()
{
    return QStringLiteral("INSERT INTO %1 (%2, %3) SELECT ?, ? WHERE NOT EXISTS (SELECT 1 FROM %1 WHERE %2 >= ?)")
        .arg(rates(), quoted(kCommissionFromColumn), quoted(kCommissionRateColumn));
}

QString insertCommissionRate()
{
    return QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?, ?)")
        .arg(rates(), quoted(kCommissionFromColumn), quoted(kCommissionRateColumn));
}

QString deleteCommissionRates()
{
    return QStringLiteral("DELETE FROM %1").arg(rates());
}

} // namespace osago::sqliteSql
