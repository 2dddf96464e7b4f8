#include "storage/server/ServerDatabase.h"

#include "storage/StorageActions.h"

namespace osago {

namespace {

const QString kIsoDay = QStringLiteral("yyyy-MM-dd");

std::vector<QByteArray> rateValues(const CommissionRate& rate)
{
    return {rate.from.toString(kIsoDay).toUtf8(), QByteArray::number(rate.hundredths)};
}

} // namespace

// Under the schema lock, as the row count: desks of the owner opening at once make it once.
void ServerDatabase::createCommissionTable()
{
    const QByteArray name = serverSql::commissionTableName();
    if (exists(serverSql::selectTableExists(), std::span(&name, 1)))
        return;
    inTransaction(kOpenAction, [this](const QString& action) {
        StorageStatus step = exec(action, serverSql::lockSchema());
        for (const QString& statement : serverSql::createCommissionTable()) {
            if (step.ok)
                step = exec(action, statement.toUtf8());
        }
        return step;
    });
}

StorageResult<CommissionRates> ServerDatabase::readRates(const QString& action, bool missingIsNone) const
{
    using Result = StorageResult<CommissionRates>;
    const QByteArray name = serverSql::commissionTableName();
    if (isOpen() && !exists(serverSql::selectTableExists(), std::span(&name, 1))) {
        if (missingIsNone)
            return Result::success({});
        return Result::failure(failure(action, QStringLiteral("таблицы ставок на сервере ещё нет; её создаст первое "
                                                              "открытие реестра владельцем таблицы TableStrah: пусть "
                                                              "владелец откроет реестр один раз")));
    }
    const StorageResult<PgResult> read = exec(action, serverSql::selectCommissionRates());
    if (!read.ok)
        return Result::failure(read);
    CommissionRates rates;
    for (int row = 0; row < read.value.rows(); ++row)
        rates.push_back({QDate::fromString(read.value.text(row, 0), kIsoDay), read.value.text(row, 1).toInt()});
    return Result::success(std::move(rates));
}

StorageResult<CommissionRates> ServerDatabase::readCommissionRates() const
{
    return readRates(kRatesReadAction, false);
}

StorageStatus ServerDatabase::addCommissionRate(const CommissionRate& rate)
{
    const StorageStatus status = writable(kRateAction);
    if (!status.ok)
        return status;
    return inTransaction(kRateAction, [&](const QString& action) {
        StorageStatus locked = exec(action, serverSql::lockCommissionRates());
        if (!locked.ok)
            return locked;
        const std::vector<QByteArray> values = rateValues(rate);
        const StorageResult<PgResult> added = exec(action, serverSql::insertCommissionRateIfLatest(), values);
        if (!added.ok)
            return StorageStatus(added);
        return added.value.affectedRows() == 1 ? StorageStatus{} : failure(action, kRateNotLatest);
    });
}

StorageStatus ServerDatabase::writeRates(const QString& action, const CommissionRates& rates)
{
    StorageStatus step = exec(action, serverSql::lockCommissionRates());
    if (step.ok)
        step = exec(action, serverSql::deleteCommissionRates());
    for (std::size_t i = 0; step.ok && i < rates.size(); ++i)
        step = exec(action, serverSql::insertCommissionRate(), rateValues(rates[i]));
    return step;
}

StorageStatus ServerDatabase::replaceCommissionRates(const CommissionRates& rates)
{
    const StorageStatus status = writable(kRateAction);
    if (!status.ok)
        return status;
    return inTransaction(kRateAction, [&](const QString& action) { return writeRates(action, rates); });
}

} // namespace osago
