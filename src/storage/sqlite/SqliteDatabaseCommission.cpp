#include "storage/sqlite/SqliteDatabase.h"

#include "storage/StorageActions.h"

#include <QSqlError>
#include <QSqlQuery>

namespace osago {

namespace {

const QString kIsoDay = QStringLiteral("yyyy-MM-dd");

} // namespace

bool SqliteDatabase::hasCommissionTable() const
{
    QSqlQuery query(m_db);
    return query.exec(sqliteSql::selectCommissionTableExists()) && query.next();
}

// A register made before the rates: the table is added like a missing index, and a failure (another program
// writing for longer than the busy timeout) leaves it for the next open.
void SqliteDatabase::addCommissionTable()
{
    if (hasCommissionTable())
        return;
    inTransaction(kOpenAction, [this](const QString& action) {
        QSqlQuery create(m_db);
        return create.exec(sqliteSql::createCommissionTable()) ? StorageStatus{} : failure(action, create);
    });
}

StorageResult<CommissionRates> SqliteDatabase::readCommissionRates() const
{
    using Result = StorageResult<CommissionRates>;
    if (!isOpen())
        return Result::failure(failure(kRatesReadAction, QStringLiteral("реестр не открыт")));
    if (!hasCommissionTable())
        return Result::success({});
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(sqliteSql::selectCommissionRates()))
        return Result::failure(failure(kRatesReadAction, query));
    CommissionRates rates;
    while (query.next())
        rates.push_back({QDate::fromString(query.value(0).toString(), kIsoDay), query.value(1).toInt()});
    if (query.lastError().isValid())
        return Result::failure(failure(kRatesReadAction, query));
    return Result::success(std::move(rates));
}

StorageStatus SqliteDatabase::addCommissionRate(const CommissionRate& rate)
{
    return inTransaction(kRateAction, [&](const QString& action) {
        QSqlQuery query(m_db);
        const QString day = rate.from.toString(kIsoDay);
        if (!query.prepare(sqliteSql::insertCommissionRateIfLatest()))
            return failure(action, query);
        query.addBindValue(day);
        query.addBindValue(rate.hundredths);
        query.addBindValue(day);
        if (!query.exec())
            return failure(action, query);
        return query.numRowsAffected() == 1 ? StorageStatus{} : failure(action, kRateNotLatest);
    });
}

StorageStatus SqliteDatabase::replaceCommissionRates(const CommissionRates& rates)
{
    return inTransaction(kRateAction, [&](const QString& action) {
        QSqlQuery query(m_db);
        if (!query.exec(sqliteSql::createCommissionTable()) || !query.exec(sqliteSql::deleteCommissionRates())
            || !query.prepare(sqliteSql::insertCommissionRate()))
            return failure(action, query);
        for (const CommissionRate& rate : rates) {
            query.addBindValue(rate.from.toString(kIsoDay));
            query.addBindValue(rate.hundredths);
            if (!query.exec())
                return failure(action, query);
        }
        return StorageStatus{};
    });
}

} // namespace osago
