#include "storage/PolicyDatabase.h"

#include "storage/EngineMakers.h"

#include <QFileInfo>

namespace osago {

namespace {

// A server register is named by a libpq connection URI, postgresql://… or postgres://…; anything else is a file.
bool isServerLocation(const QString& location)
{
    return location.startsWith(QStringLiteral("postgresql://"), Qt::CaseInsensitive)
           || location.startsWith(QStringLiteral("postgres://"), Qt::CaseInsensitive);
}

} // namespace

std::unique_ptr<PolicyDatabase> makeDatabase(const QString& location, PasswordSource askPassword)
{
    if (isServerLocation(location))
        return makeServerDatabase(std::move(askPassword));
    return makeFileDatabase();
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

bool sameRegister(const PolicyDatabase& first, const PolicyDatabase& second)
{
    if (first.location() == second.location())
        return true;
    const QString firstFile = first.path().isEmpty() ? QString() : QFileInfo(first.path()).canonicalFilePath();
    return !firstFile.isEmpty() && firstFile == QFileInfo(second.path()).canonicalFilePath();
}

} // namespace osago
