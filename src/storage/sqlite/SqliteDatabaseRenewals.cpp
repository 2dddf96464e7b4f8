#include "storage/sqlite/SqliteDatabase.h"

#include "storage/sqlite/SqliteReads.h"
#include "storage/StorageActions.h"

#include <algorithm>

namespace osago {

StorageStatus SqliteDatabase::readEndingIn(const IssuePeriod& period, std::span<const int> columns,
                                           std::vector<qint64>& ids, std::vector<QStringList>& rows) const
{
    return osago::readEndingIn(*this, period, columns, ids, rows);
}

StorageStatus SqliteDatabase::readStartsOf(int column, const QStringList& values,
                                           std::vector<QStringList>& rows) const
{
    return osago::readStartsOf(*this, column, values, rows);
}

StorageResult<int> SqliteDatabase::countRenewalsDue(const IssuePeriod& period) const
{
    return osago::countRenewalsDue(*this, period);
}

bool SqliteDatabase::hasRenewalIndexes() const
{
    const auto& indexes = sqliteSql::renewalIndexes();
    return std::all_of(indexes.begin(), indexes.end(),
                       [this](const sqliteSql::Index& index) { return hasIndex(index.name); });
}

// Each index reads the whole table: each takes its share of the progress.
StorageStatus SqliteDatabase::buildRenewalIndexes(const IndexProgress& progress)
{
    if (isReadOnly())
        return failure(kRenewalIndexAction, m_readOnlyReason);
    const auto& indexes = sqliteSql::renewalIndexes();
    const int count = int(indexes.size());
    for (int i = 0; i < count; ++i) {
        if (hasIndex(indexes[std::size_t(i)].name))
            continue;
        const IndexProgress share = [&](int percent) { progress((i * 100 + percent) / count); };
        const StorageStatus built =
            buildIndex(indexes[std::size_t(i)], kRenewalIndexAction, progress ? share : IndexProgress{});
        if (!built.ok)
            return built;
    }
    return {};
}

} // namespace osago
