#pragma once

#include "storage/PolicyDatabase.h"
#include "storage/sqlite/SqliteHandle.h"
#include "storage/sqlite/SqliteSql.h"

#include <QSqlDatabase>
#include <QString>

#include <memory>

#include <chrono>
#include <functional>

class QSqlQuery;
struct sqlite3;

namespace osago {

class SqliteBlankJournal;

// The register as a SQLite file on this computer. Every write is one short transaction begun with BEGIN
// IMMEDIATE (so a second program waits for the busy timeout instead of failing at once) and committed durably
// (WAL journal, or the rollback journal for a file on a network share; synchronous=FULL). Row ids are SQLite's
// rowids.
class SqliteDatabase final : public PolicyDatabase
{
public:
    SqliteDatabase();
    ~SqliteDatabase() override;
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // Takes effect at the next open(); 5 s unless set.
    void setBusyTimeout(std::chrono::milliseconds timeout);

    // Opens the register file at `location` (closing any open one), creating the file and its table when
    // nothing, or an empty file, is there. A file that is not a register (not SQLite, damaged, without TableStrah
    // or with other columns) is never altered: the failure says why and the database stays closed. A register
    // this program cannot write (see SqliteAccess.h) is opened for reading only, and isReadOnly() says why.
    StorageStatus open(const QString& location, Access access = Access::ReadWrite) override;
    void close() override;
    bool isOpen() const override { return m_db.isOpen(); }
    QString path() const override { return m_path; }
    QString location() const override { return m_path; }
    // A file on a network share: it must not be opened from several computers (see SqliteNetworkShare.h).
    QString openWarning() const override { return m_openWarning; }
    // A file is read on this computer (or through the share's own protocol): no connection of the program's.
    QString connectionSecurity() const override { return {}; }

    bool isReadOnly() const override { return !m_readOnlyReason.isEmpty(); }
    QString readOnlyReason() const override { return m_readOnlyReason; }
    bool isDamaged() const override { return m_damaged; }
    QString damagedReason() const override;
    // Records what a failed read or write of the file reported (SQLite's result code).
    void noteFailure(int sqliteCode) const;

    using PolicyDatabase::insert;
    using PolicyDatabase::remove;
    using PolicyDatabase::update;
    StorageResult<QString> insert(const PolicyRow& row, const RecordBlanks& blanks) override;
    StorageStatus update(RowKey key, const PolicyRow& asRead, const PolicyRow& row,
                         const RecordBlanks& blanks) override;
    StorageStatus remove(RowKey key, const PolicyRow& asRead, const RecordBlanks& blanks) override;
    BlankJournal& blanks() override;
    const BlankJournal& blanks() const override;
    StorageResult<qint64> appendRows(const RowBlocks& next, bool requireEmpty,
                                     const AppendProgress& progress) override;
    StorageResult<PolicyRow> load(RowKey key) const override;
    StorageResult<PolicyRow> load(const QString& code) const override;

    StorageResult<TableExtent> readTableExtent() const override;
    StorageStatus readIdsBetween(qint64 lowest, qint64 highest, int limit, Walk walk,
                                 std::vector<qint64>& ids) const override;
    StorageStatus readAllIds(std::vector<qint64>& ids) const override;
    StorageStatus readSelectedIds(const RowSelection& selection, std::vector<qint64>& ids) const override;
    StorageStatus readIdsOfCode(const QString& code, std::vector<qint64>& ids) const override;
    StorageStatus readRows(std::span<const qint64> ids, std::vector<QStringList>& rows) const override;
    StorageStatus readRowsUtf8(std::span<const qint64> ids, Utf8Rows& rows) const override;
    StorageStatus readIssuedIn(const IssuePeriod& period, std::span<const int> columns,
                               std::vector<QStringList>& rows) const override;
    StorageStatus readIssuedByAgent(const IssuePeriod& period, const QString& agent, std::span<const int> columns,
                                    std::vector<QStringList>& rows) const override;
    StorageStatus readAgentDaysIssuedIn(const IssuePeriod& period, std::vector<QStringList>& pairs) const override;

    // The rates' table, made with a new register and added to an older one at its first writable open; a register
    // read without it has no rates. Defined in SqliteDatabaseCommission.cpp.
    StorageResult<CommissionRates> readCommissionRates() const override;
    StorageStatus addCommissionRate(const CommissionRate& rate) override;
    StorageStatus replaceCommissionRates(const CommissionRates& rates) override;

    // The plain index of the column's values (searchIndex()), built in a register made before it existed: the
    // build reads the whole table, telling its progress every tenth of a second or so, and other programs'
    // writes wait meanwhile, up to their busy timeout. Defined with the search function in SqliteDatabaseIndexes.cpp.
    bool hasSearchIndex(int column) const override;
    StorageStatus buildSearchIndex(int column, const IndexProgress& progress) override;
    // The issue index (sqliteSql::issueDayIndex()), built the same way in a register made before it existed.
    bool hasIssueDayIndex() const override;
    StorageStatus buildIssueDayIndex(const IndexProgress& progress) override;
    // The renewals' reads and their indexes (sqliteSql::renewalIndexes()), built the same way; in
    // SqliteDatabaseRenewals.cpp.
    StorageStatus readEndingIn(const IssuePeriod& period, std::span<const int> columns, std::vector<qint64>& ids,
                               std::vector<QStringList>& rows) const override;
    StorageStatus readStartsOf(int column, const QStringList& values, std::vector<QStringList>& rows) const override;
    StorageResult<int> countRenewalsDue(const IssuePeriod& period) const override;
    bool hasRenewalIndexes() const override;
    StorageStatus buildRenewalIndexes(const IndexProgress& progress) override;

    // Copies of the file (SqliteBackup.h), in "Архив" beside it, made from the file by a connection of their own.
    QString backupRefusal() const override;
    QString restoreRefusal() const override;
    CopyPlace copyPlace() const override;
    StorageResult<QString> backup(const CopyPlace& place, const QDateTime& now, OnDisk onDisk,
                                  const BackupProgress& progress = {}) override;
    StorageStatus restore(const QString& copy, const QDateTime& now) override;

    // The same file opened for reading on a connection of the calling thread's own.
    ReaderOpener readerBeside() const override;

    bool madeByOpen() const override { return m_madeByOpen; }
    void removeMade() override;

    // The open connection, for read-only queries over the register. Never keep a query running between calls.
    QSqlDatabase connection() const { return m_db; }
    int busySeconds() const;
    // Whether the file has an index of this name; false when the register is not open.
    bool hasIndex(const QString& name) const;

private:
    friend class SqliteBlankJournal;
    static constexpr int kPageCachePages = 64;
    // 64 MB while rows are appended: SQLite takes a negative cache_size as KiB.
    static constexpr int kBulkCacheSize = -65536;
    using WriteSteps = std::function<StorageStatus(const QString& action)>;

    StorageStatus createRegister();
    void addCommissionTable();
    bool hasCommissionTable() const;
    StorageStatus checkRegister();
    void limitPageCache();
    void prepareForWriting();
    // Builds `index` by reading the whole table, telling `progress` the share read; `action` opens the failure.
    StorageStatus buildIndex(const sqliteSql::Index& index, const QString& action, const IndexProgress& progress);
    StorageStatus inTransaction(const QString& action, const WriteSteps& steps);
    StorageStatus openForReading(bool immutable);
    // A new connection to the SQLite database `name` (a path or a file URI) with Qt's `options` added.
    StorageStatus connectTo(const QString& name, const QString& options);
    StorageStatus checkUnchanged(RowKey key, const PolicyRow& asRead) const;
    StorageStatus dropIndexes(const QString& action, QStringList& creates);
    // Inserts the blocks `next` gives, counting them in `added`.
    StorageStatus insertRows(const QString& action, const RowBlocks& next, const AppendProgress& progress,
                             qint64& added);
    StorageStatus failure(const QString& action, const QSqlQuery& query) const;
    StorageStatus failure(const QString& action, const QString& reason) const;
    // SQLite's own account of the last failure on `db`, the connection's handle.
    StorageStatus failure(const QString& action, sqlite3* db) const;

    QString m_connectionName;
    QSqlDatabase m_db;
    QString m_path;
    std::chrono::milliseconds m_busyTimeout = kBusyTimeout;
    QString m_readOnlyReason;
    mutable bool m_damaged = false;
    bool m_madeByOpen = false;
    bool m_onNetworkShare = false;
    QString m_openWarning;
    std::unique_ptr<SqliteBlankJournal> m_blanks;
};

} // namespace osago
