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

// Both go through the issue index: an agent's rows are a few among a period's, which the index finds.
StorageStatus PolicyDatabase::readIssuedByAgent(const IssuePeriod& period, const QString& agent,
                                                std::span<const int> columns, std::vector<QStringList>& rows) const
{
    std::vector<int> withAgent(columns.begin(), columns.end());
    withAgent.push_back(policyColumnIndex(u"ФИО_агента"));
    const StorageStatus read = readIssuedIn(period, withAgent, rows);
    if (!read.ok)
        return read;
    std::erase_if(rows, [&](const QStringList& row) { return row.back() != agent; });
    for (QStringList& row : rows)
        row.removeLast();
    return {};
}

StorageResult<QStringList> PolicyDatabase::readAgentsIssuedIn(const IssuePeriod& period) const
{
    const int columns[] = {policyColumnIndex(u"Дата_выдачи"), policyColumnIndex(u"ФИО_агента")};
    std::vector<QStringList> rows;
    const StorageStatus read = readIssuedIn(period, columns, rows);
    if (!read.ok)
        return StorageResult<QStringList>::failure(read);
    QStringList agents;
    for (const QStringList& row : rows) {
        const std::optional<QDate> issued = registerDate(row[0]);
        if (issued && period.contains(*issued) && !row[1].isEmpty())
            agents << row[1];
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
