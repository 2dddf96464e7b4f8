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

const Index& orderIndex()
{
    static const Index order = tableIndex(QStringLiteral("_order"), QStringLiteral("(0)"));
    return order;
}

const std::vector<Index>& indexes()
{
    static const std::vector<Index> all{tableIndex(QStringLiteral("_code"), rowCode()), orderIndex()};
    return all;
}

const Index& issueDayIndex()
{
    static const Index issued = tableIndex(QStringLiteral("_issued"), issueDayKey());
    return issued;
}

QString dayKey(QStringView column, const QString& of)
{
    const QString date = of + quoted(column);
    const QString iso = QStringLiteral("substr(%1, 7, 4) || '-' || substr(%1, 4, 2) || '-' || substr(%1, 1, 2)").arg(date);
    // date() alone takes any day up to 31; a modifier makes it carry "31.02" over into March.
    return QStringLiteral("CASE WHEN %1 GLOB '[0-9][0-9].[0-9][0-9].[0-9][0-9][0-9][0-9]' AND %2 >= '0001' "
                          "AND date(%2, '+0 days') = %2 THEN %2 ELSE '' END")
        .arg(date, iso);
}

QString issueDayKey()
{
    return dayKey(u"Дата_выдачи");
}

const std::vector<Index>& renewalIndexes()
{
    // The vehicle's indexes hold the start too, so the starts are read from them alone.
    const QString start = QStringLiteral(", ") + quoted(u"Страх_с");
    static const std::vector<Index> all{tableIndex(QStringLiteral("_ending"), dayKey(u"Страх_по")),
                                        tableIndex(QStringLiteral("_vin"), quoted(u"VIN") + start),
                                        tableIndex(QStringLiteral("_plate"), quoted(u"Регистрационный_знак") + start)};
    return all;
}

QString selectEndingBetween(const QString& columns)
{
    return QStringLiteral("SELECT rowid, %1 FROM %2 WHERE %3 BETWEEN ? AND ? ORDER BY rowid")
        .arg(columns, table(), dayKey(u"Страх_по"));
}

QString selectStartsOf(int column)
{
    const QString name = quoted(policyColumnNames().at(column));
    return QStringLiteral("SELECT %1, %2 FROM %3 WHERE %1 IN (SELECT value FROM json_each(?))")
        .arg(name, quoted(u"Страх_с"), table());
}

namespace {

// Whether a row of the same vehicle as the row `t`, found by `column` on its index, starts later than `t` does.
QString startsLaterBy(QStringView column)
{
    const QString name = quoted(column);
    return QStringLiteral("EXISTS (SELECT 1 FROM %1 WHERE %2 = t.%2 AND %3 > %4)")
        .arg(table(), name, dayKey(u"Страх_с"), dayKey(u"Страх_с", QStringLiteral("t.")));
}

} // namespace

QString countRenewalsDue()
{
    const QString blank = QStringLiteral("trim(coalesce(t.%1, ''), ?3) = ''");
    return QStringLiteral("SELECT count(*) FROM %1 AS t WHERE %2 BETWEEN ?1 AND ?2 AND NOT (%3 <> '' AND CASE "
                          "WHEN NOT %4 THEN %5 WHEN NOT %6 THEN %7 ELSE 0 END)")
        .arg(table(), dayKey(u"Страх_по"), dayKey(u"Страх_с", QStringLiteral("t.")), blank.arg(quoted(u"VIN")),
             startsLaterBy(u"VIN"), blank.arg(quoted(u"Регистрационный_знак")), startsLaterBy(u"Регистрационный_знак"));
}

namespace {

QString agent()
{
    return quoted(u"ФИО_агента");
}

} // namespace

QString selectIssuedBetween(const QString& columns, bool byAgent)
{
    const QString ofAgent = byAgent ? QStringLiteral(" AND %1 = ?").arg(agent()) : QString();
    return QStringLiteral("SELECT %1 FROM %2 WHERE (%3 BETWEEN ? AND ? OR %3 = '')%4 ORDER BY rowid")
        .arg(columns, table(), issueDayKey(), ofAgent);
}

QString selectAgentDaysIssuedBetween()
{
    return QStringLiteral("SELECT DISTINCT %1, %2 FROM %3 WHERE %4 BETWEEN ? AND ? AND %2 <> ''")
        .arg(quoted(u"Дата_выдачи"), agent(), table(), issueDayKey());
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

namespace {

QString idsBetween(const QString& source, bool descending)
{
    return QStringLiteral("SELECT rowid FROM %1 WHERE rowid BETWEEN ? AND ? ORDER BY rowid %2 LIMIT ?")
        .arg(source, descending ? QStringLiteral("DESC") : QStringLiteral("ASC"));
}

} // namespace

QString selectIdsBetween(bool descending)
{
    return idsBetween(table(), descending);
}

QString selectIdsBetweenInOrderIndex(bool descending)
{
    return idsBetween(table() + QStringLiteral(" INDEXED BY ") + quoted(orderIndex().name), descending);
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
