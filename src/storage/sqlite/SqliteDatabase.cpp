#include "storage/sqlite/SqliteDatabase.h"
#include "storage/sqlite/SqliteBlanks.h"
#include "storage/SqlNames.h"

#include "storage/EngineMakers.h"
#include "storage/sqlite/SqliteNetworkShare.h"
#include "storage/sqlite/SqliteSql.h"
#include "storage/sqlite/SqliteAccess.h"
#include "storage/sqlite/SqliteReads.h"
#include "storage/sqlite/SqliteSearchIndex.h"
#include "storage/sqlite/SqliteHandle.h"
#include "storage/StorageActions.h"
#include "storage/sqlite/SqliteErrors.h"

#include <sqlite3.h>

#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>

#include <memory>

namespace osago {

namespace {

QString newConnectionName()
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("osago-register-%1").arg(counter.fetchAndAddRelaxed(1));
}

// Qt binds a null QString as SQL NULL; the register holds texts, an empty one included.
QVariant boundText(const QString& text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

StorageStatus rowChangedFailure(const QString& path)
{
    StorageStatus status = StorageStatus::failure(kRowChangedMessage + QStringLiteral("\nФайл: ")
                                                  + QDir::toNativeSeparators(path));
    status.rowChanged = true;
    return status;
}

QString newRowCode()
{
    return QUuid::createUuid().toString(QUuid::Id128);
}

} // namespace

SqliteDatabase::SqliteDatabase()
    : m_connectionName(newConnectionName()), m_blanks(std::make_unique<SqliteBlankJournal>(*this))
{
}

SqliteDatabase::~SqliteDatabase()
{
    close();
}

void SqliteDatabase::setBusyTimeout(std::chrono::milliseconds timeout)
{
    m_busyTimeout = timeout;
}

int SqliteDatabase::busySeconds() const
{
    return int((m_busyTimeout.count() + 999) / 1000);
}

void SqliteDatabase::close()
{
    if (!m_db.isValid())
        return;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

StorageStatus SqliteDatabase::open(const QString& location, Access access)
{
    close();
    m_readOnlyReason.clear();
    m_damaged = false;
    m_madeByOpen = false;
    m_path = QFileInfo(location).absoluteFilePath();
    const QFileInfo file(m_path);
    const QString share = networkFileSystemOf(file.absolutePath());
    m_onNetworkShare = !share.isEmpty();
    m_openWarning = m_onNetworkShare ? networkShareWarning(m_path, share) : QString();
    if (file.exists() && !file.isFile())
        return failure(kOpenAction, QStringLiteral("по этому пути находится не файл"));
    const bool fresh = !file.exists() || file.size() == 0;
    m_madeByOpen = !file.exists();
    if (fresh && access == Access::ReadOnly)
        return failure(kOpenAction, QStringLiteral("нет файла реестра, или он пуст"));

    const QString obstacle = access == Access::ReadOnly ? kOpenedForReading : fresh ? QString() : writeObstacle(m_path);
    if (!obstacle.isEmpty()) {
        StorageStatus status = openForReading(false);
        // Reading a WAL file needs its side files; where they cannot be made, the file is read as it stands.
        if (!status.ok)
            status = openForReading(true);
        if (status.ok)
            m_readOnlyReason = obstacle;
        return status;
    }

    StorageStatus status = connectTo(m_path, {});
    if (status.ok && fresh)
        status = createRegister();
    if (status.ok)
        status = checkRegister();
    if (!status.ok) {
        close();
        return status;
    }
    // SQLite itself falls back to reading when the system refuses writing.
    if (sqlite3_db_readonly(sqliteHandle(m_db), "main") == 1) {
        const QString reason = writeObstacle(m_path);
        m_readOnlyReason = reason.isEmpty() ? QStringLiteral("файл базы данных доступен только для чтения") : reason;
        return {};
    }
    prepareForWriting();
    return {};
}

// `immutable`: SQLite reads the file without locks or side files, trusting that nothing changes it.
StorageStatus SqliteDatabase::openForReading(bool immutable)
{
    QString uri = QUrl::fromLocalFile(m_path).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=ro");
    if (immutable)
        uri += QStringLiteral("&immutable=1");
    StorageStatus status = connectTo(uri, QStringLiteral(";QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
    if (status.ok)
        status = checkRegister();
    if (!status.ok)
        close();
    return status;
}

StorageStatus SqliteDatabase::connectTo(const QString& name, const QString& options)
{
    close();
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_busyTimeout.count()) + options);
    m_db.setDatabaseName(name);
    if (!m_db.open()) {
        const QString message = storageFailure(kOpenAction, m_db.lastError(), m_path, busySeconds());
        close();
        return StorageStatus::failure(message);
    }
    // Changes nothing in the file; a connection without it would only fail its searches, with SQLite's reason.
    installSearchFunction(m_db);
    limitPageCache();
    return {};
}

StorageStatus SqliteDatabase::createRegister()
{
    return inTransaction(kOpenAction, [this](const QString& action) {
        QSqlQuery query(m_db);
        if (!query.exec(sqliteSql::createTable()))
            return failure(action, query);
        for (const sqliteSql::Index& index : sqliteSql::indexes()) {
            if (!query.exec(index.create))
                return failure(action, query);
        }
        if (!query.exec(sqliteSql::issueDayIndex().create) || !query.exec(sqliteSql::createCommissionTable()))
            return failure(action, query);
        for (const sqliteSql::Index& index : sqliteSql::renewalIndexes()) {
            if (!query.exec(index.create))
                return failure(action, query);
        }
        for (const sqliteSql::Index& index : searchIndexes()) {
            if (!query.exec(index.create))
                return failure(action, query);
        }
        return m_blanks->createTables(query, action);
    });
}

// The grid keeps the rows it shows itself, and counting or searching the register reads pages once each: a small
// page cache serves them all, and fresh memory for a large one costs more than the reads it would save (counting
// a million rows took twice as long with SQLite's default of 2 MB).
void SqliteDatabase::limitPageCache()
{
    QSqlQuery query(m_db);
    query.exec(QStringLiteral("PRAGMA cache_size=%1").arg(kPageCachePages));
}

// Reads only: a file that fails any check here has not been written to.
StorageStatus SqliteDatabase::checkRegister()
{
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(sqlNames::quoted(kRegisterTable))))
        return failure(kOpenAction, query);
    QStringList names;
    while (query.next())
        names << query.value(1).toString();
    if (query.lastError().isValid())
        return failure(kOpenAction, query);
    query.finish();

    const QString foreign = QStringLiteral("файл не является реестром полисов этой программы (%1)");
    if (names.isEmpty())
        return failure(kOpenAction, foreign.arg(QStringLiteral("в нём нет таблицы %1").arg(kRegisterTable)));
    for (int i = 0; i < kPolicyColumnCount; ++i) {
        const QString& expected = policyColumnNames().at(i);
        if (i >= names.size() || names[i] != expected) {
            return failure(kOpenAction, foreign.arg(QStringLiteral("столбец %1 таблицы %2 должен называться «%3»")
                                                        .arg(QString::number(i + 1), kRegisterTable, expected)));
        }
    }
    return {};
}

// Durability and sharing settings, and the indexes that find a row by its code and list the rows (the issue index
// waits for the first report). Only for a file known to be a register; a read-only file keeps
// what it has, and its saves fail with their own message.
// The write-ahead log needs memory shared on one machine, which a file on a network share does not have; there
// the rollback journal takes its place.
void SqliteDatabase::prepareForWriting()
{
    const QString journal = m_onNetworkShare ? QStringLiteral("delete") : QStringLiteral("wal");
    QSqlQuery query(m_db);
    if (query.exec(QStringLiteral("PRAGMA journal_mode")) && query.next()
        && query.value(0).toString().compare(journal, Qt::CaseInsensitive) != 0) {
        query.finish();
        query.exec(QStringLiteral("PRAGMA journal_mode=%1").arg(journal));
    }
    query.finish();
    query.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    query.finish();

    m_blanks->addTablesIfMissing();
    for (const sqliteSql::Index& index : sqliteSql::indexes()) {
        if (hasIndex(index.name))
            continue;
        inTransaction(kOpenAction, [&](const QString& action) {
            QSqlQuery create(m_db);
            return create.exec(index.create) ? StorageStatus{} : failure(action, create);
        });
    }
    addCommissionTable();
}

bool SqliteDatabase::hasIssueDayIndex() const
{
    return hasIndex(sqliteSql::issueDayIndex().name);
}

StorageStatus SqliteDatabase::buildIssueDayIndex(const IndexProgress& progress)
{
    if (isReadOnly())
        return failure(kIssueIndexAction, m_readOnlyReason);
    return buildIndex(sqliteSql::issueDayIndex(), kIssueIndexAction, progress);
}

bool SqliteDatabase::hasIndex(const QString& name) const
{
    if (!isOpen())
        return false;
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ?"));
    query.addBindValue(name);
    return query.exec() && query.next();
}

StorageStatus SqliteDatabase::inTransaction(const QString& action, const WriteSteps& steps)
{
    if (!isOpen())
        return failure(action, QStringLiteral("реестр не открыт"));
    if (!QFileInfo::exists(m_path))
        return failure(action, QStringLiteral("файл базы данных удалён или перемещён"));
    if (m_damaged) {
        StorageStatus refusal = failure(action, damagedReason());
        refusal.damaged = true;
        return refusal;
    }
    if (isReadOnly()) {
        const QString readOnly = QStringLiteral("реестр открыт только для чтения");
        return failure(action, m_readOnlyReason == kOpenedForReading ? readOnly : readOnly + QStringLiteral(": ") + m_readOnlyReason);
    }

    QSqlQuery control(m_db);
    if (!control.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return failure(action, control);
    StorageStatus status = steps(action);
    if (status.ok && !control.exec(QStringLiteral("COMMIT")))
        status = failure(action, control);
    if (!status.ok)
        control.exec(QStringLiteral("ROLLBACK"));
    return status;
}

StorageResult<QString> SqliteDatabase::insert(const PolicyRow& row, const RecordBlanks& blanks)
{
    const QString code = newRowCode();
    const StorageStatus status = inTransaction(kSaveAction, [&](const QString& action) {
        QSqlQuery query(m_db);
        if (!query.prepare(sqliteSql::insert()))
            return failure(action, query);
        for (int column = 0; column < kPolicyColumnCount; ++column)
            query.addBindValue(boundText(column == rowCodeColumnIndex() ? code : row.value(column)));
        if (!query.exec())
            return failure(action, query);
        return m_blanks->markRecord(action, code, blanks);
    });
    return status.ok ? StorageResult<QString>::success(code) : StorageResult<QString>::failure(status);
}

StorageStatus SqliteDatabase::update(RowKey key, const PolicyRow& asRead, const PolicyRow& row,
                               const RecordBlanks& blanks)
{
    return inTransaction(kUpdateAction, [&](const QString& action) {
        StorageStatus status = checkUnchanged(key, asRead);
        if (!status.ok)
            return status;
        QSqlQuery query(m_db);
        if (!query.prepare(sqliteSql::updateById()))
            return failure(action, query);
        for (int column = 0; column < kPolicyColumnCount; ++column) {
            if (column != rowCodeColumnIndex())
                query.addBindValue(boundText(row.value(column)));
        }
        query.addBindValue(key.value());
        if (!query.exec())
            return failure(action, query);
        return m_blanks->markRecord(action, asRead.value(rowCodeColumnIndex()), blanks);
    });
}

StorageStatus SqliteDatabase::remove(RowKey key, const PolicyRow& asRead, const RecordBlanks& blanks)
{
    return inTransaction(kRemoveAction, [&](const QString& action) {
        StorageStatus status = checkUnchanged(key, asRead);
        if (!status.ok)
            return status;
        QSqlQuery query(m_db);
        if (!query.prepare(sqliteSql::deleteById()))
            return failure(action, query);
        query.addBindValue(key.value());
        if (!query.exec())
            return failure(action, query);
        return m_blanks->markRecord(action, asRead.value(rowCodeColumnIndex()), blanks);
    });
}

// The rows are bound as they come, codes included, through one prepared statement, their UTF-8 bytes as they
// are. Into an empty table the rows go first and its indexes are built after them, in the same transaction:
// sorting each index's keys once costs a fraction of keeping every index in order row by row. The page cache
// is larger meanwhile, for the sorts and for the trees the rows go into.
StorageResult<qint64> SqliteDatabase::appendRows(const RowBlocks& next, bool requireEmpty,
                                                 const AppendProgress& progress)
{
    qint64 added = 0;
    const StorageStatus status = inTransaction(kAppendAction, [&](const QString& action) {
        QSqlQuery query(m_db);
        if (!query.exec(QStringLiteral("SELECT EXISTS (SELECT 1 FROM %1)").arg(sqlNames::quoted(kRegisterTable)))
            || !query.next())
            return failure(action, query);
        const bool empty = !query.value(0).toBool();
        query.finish();
        if (requireEmpty && !empty) {
            return failure(action, QStringLiteral("в реестре уже есть записи, а добавлять их разрешено только "
                                                  "в пустой реестр"));
        }
        QStringList laterIndexes;
        if (empty) {
            const StorageStatus dropped = dropIndexes(action, laterIndexes);
            if (!dropped.ok)
                return dropped;
        }
        query.exec(QStringLiteral("PRAGMA cache_size=%1").arg(kBulkCacheSize));
        StorageStatus inserted = insertRows(action, next, progress, added);
        for (qsizetype i = 0; inserted.ok && i < laterIndexes.size(); ++i) {
            if (!query.exec(laterIndexes[i]))
                inserted = failure(action, query);
        }
        limitPageCache();
        return inserted;
    });
    return status.ok ? StorageResult<qint64>::success(added) : StorageResult<qint64>::failure(status);
}

// Every index of the table that has its own statement (not the key's), dropped; `creates` gets their statements.
StorageStatus SqliteDatabase::dropIndexes(const QString& action, QStringList& creates)
{
    QSqlQuery query(m_db);
    if (!query.prepare(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'index' AND tbl_name = ? "
                                      "AND sql IS NOT NULL")))
        return failure(action, query);
    query.addBindValue(kRegisterTable.toString());
    if (!query.exec())
        return failure(action, query);
    QStringList names;
    while (query.next()) {
        names << query.value(0).toString();
        creates << query.value(1).toString();
    }
    if (query.lastError().isValid())
        return failure(action, query);
    query.finish();
    for (const QString& name : names) {
        if (!query.exec(QStringLiteral("DROP INDEX %1").arg(sqlNames::quoted(name))))
            return failure(action, query);
    }
    return {};
}

StorageStatus SqliteDatabase::insertRows(const QString& action, const RowBlocks& next,
                                         const AppendProgress& progress, qint64& added)
{
    sqlite3* db = sqliteHandle(m_db);
    const QByteArray sql = sqliteSql::insert().toUtf8();
    sqlite3_stmt* prepared = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &prepared, nullptr);
    const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> statement(prepared, &sqlite3_finalize);
    if (!statement)
        return failure(action, db);
    Utf8Rows block;
    for (;;) {
        block.clear();
        const StorageStatus read = next(block);
        if (!read.ok)
            return read;
        if (block.empty())
            return {};
        for (std::size_t i = 0; i < block.size(); ++i) {
            const Utf8Row row = block.row(i);
            if (row.size() != kPolicyColumnCount) {
                return failure(action, QStringLiteral("в строке %1 значений %2 вместо %3")
                                           .arg(added + 1)
                                           .arg(row.size())
                                           .arg(kPolicyColumnCount));
            }
            for (int column = 0; column < kPolicyColumnCount; ++column) {
                if (row.isNull(column))
                    sqlite3_bind_null(statement.get(), column + 1);
                else
                    sqlite3_bind_text(statement.get(), column + 1, row.text(column), int(row[column].size()),
                                      SQLITE_STATIC);
            }
            if (sqlite3_step(statement.get()) != SQLITE_DONE)
                return failure(action, db);
            sqlite3_reset(statement.get());
            ++added;
        }
        if (progress)
            progress(added);
    }
}

// Inside the write's transaction, so no other program can change the row between this check and the write. The
// values are compared as texts read the way the grid reads them, so a row that looks the same is the same.
StorageStatus SqliteDatabase::checkUnchanged(RowKey key, const PolicyRow& asRead) const
{
    const StorageResult<PolicyRow> current = load(key);
    if (current.ok && current.value == asRead)
        return {};
    if (!current.ok && !current.rowChanged)
        return current;
    return rowChangedFailure(m_path);
}

StorageResult<PolicyRow> SqliteDatabase::load(RowKey key) const
{
    return loadThroughReadRows(key, rowChangedFailure(m_path));
}

StorageResult<PolicyRow> SqliteDatabase::load(const QString& code) const
{
    using Result = StorageResult<PolicyRow>;
    if (!isOpen())
        return Result::failure(failure(kLoadAction, QStringLiteral("реестр не открыт")));
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.prepare(sqliteSql::selectByCode()))
        return Result::failure(failure(kLoadAction, query));
    query.addBindValue(code);
    if (!query.exec())
        return Result::failure(failure(kLoadAction, query));
    if (!query.next()) {
        if (query.lastError().isValid())
            return Result::failure(failure(kLoadAction, query));
        return Result::failure(failure(kLoadAction, QStringLiteral("записи с этим кодом в реестре нет")));
    }
    QStringList values;
    values.reserve(kPolicyColumnCount);
    for (int column = 0; column < kPolicyColumnCount; ++column)
        values << query.value(column).toString();
    return Result::success(*PolicyRow::fromValues(std::move(values)));
}

StorageResult<TableExtent> SqliteDatabase::readTableExtent() const
{
    return osago::readTableExtent(*this);
}

StorageStatus SqliteDatabase::readIdsBetween(qint64 lowest, qint64 highest, int limit, Walk walk,
                                             std::vector<qint64>& ids) const
{
    return osago::readIdsBetween(*this, lowest, highest, limit, walk, ids);
}

StorageStatus SqliteDatabase::readAllIds(std::vector<qint64>& ids) const
{
    return readRowIds(*this, sqliteSql::selectAllIds(), {}, ids);
}

StorageStatus SqliteDatabase::readSelectedIds(const RowSelection& selection, std::vector<qint64>& ids) const
{
    const SelectionQuery query = selectionQuery(selection);
    return readRowIds(*this, query.sql, query.values, ids);
}

StorageStatus SqliteDatabase::readIdsOfCode(const QString& code, std::vector<qint64>& ids) const
{
    return readRowIds(*this, sqliteSql::selectIdsByCode(), {code}, ids);
}

StorageStatus SqliteDatabase::readRows(std::span<const qint64> ids, std::vector<QStringList>& rows) const
{
    return osago::readRows(*this, ids, rows);
}

StorageStatus SqliteDatabase::readRowsUtf8(std::span<const qint64> ids, Utf8Rows& rows) const
{
    return osago::readRowsUtf8(*this, ids, rows);
}

StorageStatus SqliteDatabase::readIssuedIn(const IssuePeriod& period, std::span<const int> columns,
                                           std::vector<QStringList>& rows) const
{
    return osago::readIssuedIn(*this, period, nullptr, columns, rows);
}

StorageStatus SqliteDatabase::readIssuedByAgent(const IssuePeriod& period, const QString& agent,
                                                std::span<const int> columns, std::vector<QStringList>& rows) const
{
    return osago::readIssuedIn(*this, period, &agent, columns, rows);
}

StorageStatus SqliteDatabase::readAgentDaysIssuedIn(const IssuePeriod& period, std::vector<QStringList>& pairs) const
{
    return osago::readAgentDaysIssuedIn(*this, period, pairs);
}

void SqliteDatabase::noteFailure(int sqliteCode) const
{
    if (isDamageCode(sqliteCode))
        m_damaged = true;
}

StorageStatus SqliteDatabase::failure(const QString& action, const QSqlQuery& query) const
{
    bool numeric = false;
    const int code = query.lastError().nativeErrorCode().toInt(&numeric);
    if (numeric)
        noteFailure(code);
    StorageStatus status = StorageStatus::failure(storageFailure(action, query.lastError(), m_path, busySeconds()));
    status.damaged = numeric && isDamageCode(code);
    return status;
}

StorageStatus SqliteDatabase::failure(const QString& action, sqlite3* db) const
{
    const int code = sqlite3_extended_errcode(db);
    noteFailure(code);
    StorageStatus status = StorageStatus::failure(
        storageFailure(action, code, QString::fromUtf8(sqlite3_errmsg(db)), m_path, busySeconds()));
    status.damaged = isDamageCode(code);
    return status;
}

StorageStatus SqliteDatabase::failure(const QString& action, const QString& reason) const
{
    return StorageStatus::failure(storageFailure(action, reason, m_path));
}

BlankJournal& SqliteDatabase::blanks()
{
    return *m_blanks;
}

const BlankJournal& SqliteDatabase::blanks() const
{
    return *m_blanks;
}

PolicyDatabase::ReaderOpener SqliteDatabase::readerBeside() const
{
    return [path = m_path, busyTimeout = m_busyTimeout]() {
        auto reader = std::make_unique<SqliteDatabase>();
        reader->setBusyTimeout(busyTimeout);
        return openMade(std::move(reader), path, Access::ReadOnly);
    };
}

std::unique_ptr<PolicyDatabase> makeFileDatabase()
{
    return std::make_unique<SqliteDatabase>();
}

} // namespace osago
