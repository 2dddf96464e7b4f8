#include "storage/PolicyDatabase.h"

#include "storage/EngineMakers.h"
#include "storage/PolicyColumns.h"

#include <QFileInfo>

#include <algorithm>

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

namespace {

// Reads the rows of `ids` into `rows` from `first` on; where a run fails as damaged, each half of it again.
StorageStatus readRunPastDamage(const PolicyDatabase& database, std::span<const qint64> ids, std::size_t first,
                                std::vector<QStringList>& rows, std::vector<bool>& unreadable)
{
    std::vector<QStringList> run;
    const StorageStatus status = database.readRows(ids, run);
    if (status.ok) {
        std::move(run.begin(), run.end(), rows.begin() + std::ptrdiff_t(first));
        return status;
    }
    if (!status.damaged)
        return status;
    if (ids.size() == 1) {
        unreadable[first] = true;
        return status;
    }
    const std::size_t half = ids.size() / 2;
    const StorageStatus front = readRunPastDamage(database, ids.first(half), first, rows, unreadable);
    if (!front.ok && !front.damaged)
        return front;
    const StorageStatus back = readRunPastDamage(database, ids.subspan(half), first + half, rows, unreadable);
    return !back.ok && !back.damaged ? back : status;
}

} // namespace

StorageStatus PolicyDatabase::readRowsPastDamage(std::span<const qint64> ids, std::vector<QStringList>& rows,
                                                 std::vector<bool>& unreadable) const
{
    rows.assign(ids.size(), QStringList());
    unreadable.assign(ids.size(), false);
    const StorageStatus status = readRunPastDamage(*this, ids, 0, rows, unreadable);
    if (!status.ok && !status.damaged) {
        rows.assign(ids.size(), QStringList());
        unreadable.assign(ids.size(), false);
    }
    return status;
}

StorageResult<QStringList> PolicyDatabase::readAgentsIssuedIn(const IssuePeriod& period) const
{
    std::vector<QStringList> pairs;
    const StorageStatus read = readAgentDaysIssuedIn(period, pairs);
    if (!read.ok)
        return StorageResult<QStringList>::failure(read);
    QStringList agents;
    for (const QStringList& pair : pairs) {
        const std::optional<QDate> issued = registerDate(pair[0]);
        if (issued && period.contains(*issued) && !pair[1].isEmpty())
            agents << pair[1];
    }
    agents.sort();
    agents.removeDuplicates();
    return StorageResult<QStringList>::success(std::move(agents));
}

StorageResult<std::unique_ptr<PolicyDatabase>> openDatabase(const QString& location, PolicyDatabase::Access access,
                                                            PasswordSource askPassword)
{
    return openMade(makeDatabase(location, std::move(askPassword)), location, access);
}

StorageResult<std::unique_ptr<PolicyDatabase>> openMade(std::unique_ptr<PolicyDatabase> database,
                                                        const QString& location, PolicyDatabase::Access access)
{
    using Result = StorageResult<std::unique_ptr<PolicyDatabase>>;
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
