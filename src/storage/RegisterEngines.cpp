#include "RegisterEngines.h"

#include "ServerDatabase.h"
#include "SqliteDatabase.h"

namespace osago {

bool isServerLocation(const QString& location)
{
    return location.startsWith(QStringLiteral("postgresql://"), Qt::CaseInsensitive)
           || location.startsWith(QStringLiteral("postgres://"), Qt::CaseInsensitive);
}

std::unique_ptr<PolicyDatabase> makeDatabase(const QString& location, PasswordSource askPassword)
{
    if (isServerLocation(location))
        return std::make_unique<ServerDatabase>(std::move(askPassword));
    return std::make_unique<SqliteDatabase>();
}

StorageResult<PolicyRow> PolicyDatabase::loadThroughReadRows(RowKey key, const StorageStatus& gone) const
{
    using Result = StorageResult<PolicyRow>;
    std::vector<QStringList> rows;
    const qint64 id = key.value();
    const StorageStatus status = readRows(std::span(&id, 1), rows);
    if (!status.ok)
        return Result::failure(status);
    if (rows.front().isEmpty())
        return Result::failure(gone);
    return Result::success(*PolicyRow::fromValues(std::move(rows.front())));
}

StorageResult<std::unique_ptr<PolicyDatabase>> openDatabase(const QString& location, PolicyDatabase::Access access,
                                                            PasswordSource askPassword)
{
    using Result = StorageResult<std::unique_ptr<PolicyDatabase>>;
    std::unique_ptr<PolicyDatabase> database = makeDatabase(location, std::move(askPassword));
    const StorageStatus opened = database->open(location, access);
    if (!opened.ok)
        return Result::failure(opened);
    return Result::success(std::move(database));
}

} // namespace osago
