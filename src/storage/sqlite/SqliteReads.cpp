#include "storage/sqlite/SqliteReads.h"
#include "storage/SqlNames.h"

#include "storage/PolicyColumns.h"
#include "storage/sqlite/SqliteSql.h"
#include "storage/sqlite/SqliteDatabase.h"
#include "storage/sqlite/SqliteHandle.h"
#include "storage/StorageActions.h"
#include "storage/sqlite/SqliteErrors.h"

#include <sqlite3.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <memory>

namespace osago {

namespace {

using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

// Prepares statements on the database's own connection and words their failures.
class Reader
{
public:
    explicit Reader(const SqliteDatabase& database)
        : m_database(database)
        , m_db(sqliteHandle(database.connection()))
    {
    }

    bool isOpen() const { return m_db != nullptr; }

    Statement prepare(const QByteArray& sql) const
    {
        sqlite3_stmt* prepared = nullptr;
        sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &prepared, nullptr);
        return Statement(prepared, &sqlite3_finalize);
    }

    StorageStatus failure() const
    {
        if (!m_db) {
            return StorageStatus::failure(
                storageFailure(kReadAction, QStringLiteral("реестр не открыт"), m_database.path()));
        }
        const int code = sqlite3_extended_errcode(m_db);
        m_database.noteFailure(code);
        StorageStatus status = StorageStatus::failure(storageFailure(
            kReadAction, code, QString::fromUtf8(sqlite3_errmsg(m_db)), m_database.path(), m_database.busySeconds()));
        status.damaged = isDamageCode(code);
        return status;
    }

    // Growing a vector id by id costs more than reading the ids, every larger block being fresh memory; the
    // span of the table's row ids bounds their number and takes two probes of the table's tree. Reserved
    // memory that is never written takes no room.
    void reserveForRows(std::vector<qint64>& ids) const
    {
        static const QByteArray span = QStringLiteral("SELECT (SELECT max(rowid) FROM %1) - (SELECT min(rowid) FROM %1) + 1")
                                           .arg(sqlNames::quoted(kRegisterTable))
                                           .toUtf8();
        constexpr sqlite3_int64 kMostReserved = sqlite3_int64(1) << 22;
        const Statement statement = prepare(span);
        if (statement && sqlite3_step(statement.get()) == SQLITE_ROW) {
            const sqlite3_int64 rows = sqlite3_column_int64(statement.get(), 0);
            ids.reserve(std::size_t(std::clamp<sqlite3_int64>(rows, 0, kMostReserved)));
        }
    }

private:
    const SqliteDatabase& m_database;
    sqlite3* m_db;
};

int bind(sqlite3_stmt* statement, int position, const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
        return sqlite3_bind_int64(statement, position, value.toLongLong());
    case QMetaType::Double:
        return sqlite3_bind_double(statement, position, value.toDouble());
    default:
        if (value.isNull())
            return sqlite3_bind_null(statement, position);
        const QByteArray text = value.toString().toUtf8();
        return sqlite3_bind_text(statement, position, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    }
}

QString columnText(sqlite3_stmt* statement, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(statement, column));
}

// The rows with the ascending `ids`, rowid first, in ascending order: ids without a gap as one range of the
// table, which SQLite walks in order; others one by one. A single row is looked up alone: a range would step on
// to the next row to see where it ends, and fail with that row's page when it is damaged.
Statement rowsStatement(const Reader& reader, std::span<const qint64> ids)
{
    const bool range = ids.size() > 1 && ids.back() - ids.front() == qint64(ids.size()) - 1;
    static const QByteArray byRange = (sqliteSql::selectByIdRange() + QStringLiteral(" ORDER BY rowid")).toUtf8();
    Statement statement =
        reader.prepare(range ? byRange
                             : (sqliteSql::selectByIds(int(ids.size())) + QStringLiteral(" ORDER BY rowid")).toUtf8());
    if (!statement)
        return statement;
    if (range) {
        sqlite3_bind_int64(statement.get(), 1, ids.front());
        sqlite3_bind_int64(statement.get(), 2, ids.back());
    } else {
        for (std::size_t i = 0; i < ids.size(); ++i)
            sqlite3_bind_int64(statement.get(), int(i) + 1, ids[i]);
    }
    return statement;
}

// Hands each of the rows with the ascending `ids` to `row` as a step of their statement (rowid, then the 123
// columns), in ascending order.
StorageStatus eachRowOf(const SqliteDatabase& database, std::span<const qint64> ids,
                        const std::function<void(sqlite3_stmt* statement)>& row)
{
    const Reader reader(database);
    if (!reader.isOpen())
        return reader.failure();
    if (ids.empty())
        return {};
    const Statement statement = rowsStatement(reader, ids);
    if (!statement)
        return reader.failure();
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement.get())) == SQLITE_ROW)
        row(statement.get());
    return step == SQLITE_DONE ? StorageStatus{} : reader.failure();
}

} // namespace

StorageStatus readRowIds(const SqliteDatabase& database, const QString& sql, const QVariantList& values,
                         std::vector<qint64>& ids)
{
    ids.clear();
    const Reader reader(database);
    const auto failed = [&] {
        ids.clear();
        return reader.failure();
    };
    if (!reader.isOpen())
        return failed();
    const Statement statement = reader.prepare(sql.toUtf8());
    if (!statement)
        return failed();
    for (int i = 0; i < values.size(); ++i) {
        if (bind(statement.get(), i + 1, values[i]) != SQLITE_OK)
            return failed();
    }
    reader.reserveForRows(ids);
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement.get())) == SQLITE_ROW)
        ids.push_back(sqlite3_column_int64(statement.get(), 0));
    if (step != SQLITE_DONE)
        return failed();
    if (!std::is_sorted(ids.begin(), ids.end()))
        std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return {};
}

StorageResult<TableExtent> readTableExtent(const SqliteDatabase& database)
{
    const Reader reader(database);
    if (!reader.isOpen())
        return StorageResult<TableExtent>::failure(reader.failure());
    static const QByteArray sql = sqliteSql::selectRowCountAndLastId().toUtf8();
    const Statement statement = reader.prepare(sql);
    if (!statement || sqlite3_step(statement.get()) != SQLITE_ROW)
        return StorageResult<TableExtent>::failure(reader.failure());
    const sqlite3_int64 rows = std::min<sqlite3_int64>(sqlite3_column_int64(statement.get(), 0), INT_MAX);
    return StorageResult<TableExtent>::success({int(rows), sqlite3_column_int64(statement.get(), 1)});
}

namespace {

StorageStatus appendIdsBetween(const Reader& reader, const QByteArray& sql, qint64 lowest, qint64 highest, int limit,
                               std::vector<qint64>& ids)
{
    const Statement statement = reader.prepare(sql);
    if (!statement)
        return reader.failure();
    sqlite3_bind_int64(statement.get(), 1, lowest);
    sqlite3_bind_int64(statement.get(), 2, highest);
    sqlite3_bind_int64(statement.get(), 3, limit);
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement.get())) == SQLITE_ROW)
        ids.push_back(sqlite3_column_int64(statement.get(), 0));
    return step == SQLITE_DONE ? StorageStatus{} : reader.failure();
}

} // namespace

// A walk that meets a damaged page of the table takes the ids from the order index instead, so the rows on both
// sides of the page keep their places in the grid. The ids are then all there and the walk succeeds; the register
// is known to be damaged all the same (isDamaged()), and the reads of the rows on that page say so.
StorageStatus readIdsBetween(const SqliteDatabase& database, qint64 lowest, qint64 highest, int limit, Walk walk,
                             std::vector<qint64>& ids)
{
    const Reader reader(database);
    if (!reader.isOpen())
        return reader.failure();
    const bool descending = walk == Walk::Down;
    static const QByteArray inTable[] = {sqliteSql::selectIdsBetween(false).toUtf8(),
                                         sqliteSql::selectIdsBetween(true).toUtf8()};
    static const QByteArray inIndex[] = {sqliteSql::selectIdsBetweenInOrderIndex(false).toUtf8(),
                                         sqliteSql::selectIdsBetweenInOrderIndex(true).toUtf8()};
    const std::size_t known = ids.size();
    const StorageStatus status = appendIdsBetween(reader, inTable[descending], lowest, highest, limit, ids);
    if (status.ok || !status.damaged)
        return status;
    ids.resize(known);
    const StorageStatus fromIndex = appendIdsBetween(reader, inIndex[descending], lowest, highest, limit, ids);
    if (!fromIndex.ok) {
        ids.resize(known);
        return status;
    }
    return fromIndex;
}

StorageStatus readRows(const SqliteDatabase& database, std::span<const qint64> ids, std::vector<QStringList>& rows)
{
    rows.assign(ids.size(), QStringList());
    const StorageStatus read = eachRowOf(database, ids, [&](sqlite3_stmt* statement) {
        const auto found = std::lower_bound(ids.begin(), ids.end(), sqlite3_column_int64(statement, 0));
        if (found == ids.end() || *found != sqlite3_column_int64(statement, 0))
            return;
        QStringList& row = rows[std::size_t(found - ids.begin())];
        row.reserve(kPolicyColumnCount);
        for (int column = 1; column <= kPolicyColumnCount; ++column)
            row << columnText(statement, column);
    });
    if (!read.ok)
        rows.assign(ids.size(), QStringList());
    return read;
}

StorageStatus readRowsUtf8(const SqliteDatabase& database, std::span<const qint64> ids, Utf8Rows& rows)
{
    rows.clear();
    const StorageStatus read = eachRowOf(database, ids, [&](sqlite3_stmt* statement) {
        for (int column = 1; column <= kPolicyColumnCount; ++column) {
            if (sqlite3_column_type(statement, column) == SQLITE_NULL) {
                rows.appendNull();
                continue;
            }
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            rows.append(text, sqlite3_column_bytes(statement, column));
        }
        rows.endRow();
    });
    if (!read.ok)
        rows.clear();
    return read;
}

namespace {

QByteArray quotedColumns(std::span<const int> columns)
{
    QStringList names;
    for (int column : columns)
        names << sqlNames::quoted(policyColumnNames().at(column));
    // rowid alone where no column is asked for: every row still gives its (empty) list.
    if (names.isEmpty())
        names << QStringLiteral("rowid");
    return names.join(QLatin1Char(',')).toUtf8();
}

void bindDayKeys(sqlite3_stmt* statement, const IssuePeriod& period)
{
    const QString isoFormat = QStringLiteral("yyyy-MM-dd");
    for (const auto& [position, day] : {std::pair{1, period.from}, std::pair{2, period.to}}) {
        const QByteArray key = day.toString(isoFormat).toUtf8();
        sqlite3_bind_text(statement, position, key.constData(), int(key.size()), SQLITE_TRANSIENT);
    }
}

// Steps `statement` to its end, each row's `count` texts from result column `first` on appended to `rows`, and
// its first result column's integer to `ids` where given.
StorageStatus readTexts(const Reader& reader, const Statement& statement, int first, int count,
                        std::vector<QStringList>& rows, std::vector<qint64>* ids = nullptr)
{
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement.get())) == SQLITE_ROW) {
        if (ids)
            ids->push_back(sqlite3_column_int64(statement.get(), 0));
        QStringList& row = rows.emplace_back();
        row.reserve(count);
        for (int column = first; column < first + count; ++column)
            row << columnText(statement.get(), column);
    }
    if (step != SQLITE_DONE) {
        rows.clear();
        if (ids)
            ids->clear();
        return reader.failure();
    }
    return {};
}

} // namespace

StorageStatus readIssuedIn(const SqliteDatabase& database, const IssuePeriod& period, const QString* agent,
                           std::span<const int> columns, std::vector<QStringList>& rows)
{
    rows.clear();
    const Reader reader(database);
    if (!reader.isOpen())
        return reader.failure();
    const Statement statement =
        reader.prepare(sqliteSql::selectIssuedBetween(quotedColumns(columns), agent != nullptr).toUtf8());
    if (!statement)
        return reader.failure();
    bindDayKeys(statement.get(), period);
    if (agent) {
        const QByteArray name = agent->toUtf8();
        sqlite3_bind_text(statement.get(), 3, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    }
    return readTexts(reader, statement, 0, int(columns.size()), rows);
}

StorageStatus readAgentDaysIssuedIn(const SqliteDatabase& database, const IssuePeriod& period,
                                    std::vector<QStringList>& pairs)
{
    pairs.clear();
    const Reader reader(database);
    if (!reader.isOpen())
        return reader.failure();
    const Statement statement = reader.prepare(sqliteSql::selectAgentDaysIssuedBetween().toUtf8());
    if (!statement)
        return reader.failure();
    bindDayKeys(statement.get(), period);
    return readTexts(reader, statement, 0, 2, pairs);
}

StorageStatus readEndingIn(const SqliteDatabase& database, const IssuePeriod& period, std::span<const int> columns,
                           std::vector<qint64>& ids, std::vector<QStringList>& rows)
{
    ids.clear();
    rows.clear();
    const Reader reader(database);
    if (!reader.isOpen())
        return reader.failure();
    const Statement statement = reader.prepare(sqliteSql::selectEndingBetween(quotedColumns(columns)).toUtf8());
    if (!statement)
        return reader.failure();
    bindDayKeys(statement.get(), period);
    return readTexts(reader, statement, 1, int(columns.size()), rows, &ids);
}

StorageStatus readStartsOf(const SqliteDatabase& database, int column, const QStringList& values,
                           std::vector<QStringList>& rows)
{
    rows.clear();
    const Reader reader(database);
    if (!reader.isOpen())
        return reader.failure();
    const Statement statement = reader.prepare(sqliteSql::selectStartsOf(column).toUtf8());
    if (!statement)
        return reader.failure();
    const QByteArray list = sqlNames::jsonTextArray(values);
    sqlite3_bind_text(statement.get(), 1, list.constData(), int(list.size()), SQLITE_TRANSIENT);
    return readTexts(reader, statement, 0, 2, rows);
}

StorageResult<int> countRenewalsDue(const SqliteDatabase& database, const IssuePeriod& period)
{
    using Result = StorageResult<int>;
    const Reader reader(database);
    const Statement statement =
        reader.isOpen() ? reader.prepare(sqliteSql::countRenewalsDue().toUtf8()) : Statement(nullptr, &sqlite3_finalize);
    if (!statement)
        return Result::failure(reader.failure());
    bindDayKeys(statement.get(), period);
    const QByteArray blanks = sqlNames::trimmedCharacters().toUtf8();
    sqlite3_bind_text(statement.get(), 3, blanks.constData(), int(blanks.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(statement.get()) != SQLITE_ROW)
        return Result::failure(reader.failure());
    return Result::success(sqlite3_column_int(statement.get(), 0));
}

} // namespace osago
