#pragma once

#include "storage/PolicyDatabase.h"
#include "storage/server/ServerSession.h"
#include "storage/server/ServerSql.h"

#include <QString>

#include <memory>

#include <functional>
#include <optional>

namespace osago {

class ServerBlankJournal;

// The register as the table TableStrah on a PostgreSQL server shared by the agency's desks (location: a libpq
// connection URI). Row ids are the table's own key column after the 123 columns (see ServerSql.h). Every write
// is one transaction; a change or deletion locks its row (SELECT ... FOR UPDATE) and compares it with what the
// agent read, so a row another desk changed meanwhile is never overwritten. New codes are given under one
// lock of the whole register, so two desks saving at once never give the same code.
class ServerDatabase final : public PolicyDatabase
{
public:
    explicit ServerDatabase(PasswordSource askPassword = {});
    ~ServerDatabase() override;
    ServerDatabase(const ServerDatabase&) = delete;
    ServerDatabase& operator=(const ServerDatabase&) = delete;

    // Connects and checks the table, creating it and its indexes where the role may. A table with other
    // columns is never altered: the failure says why and the database stays closed.
    StorageStatus open(const QString& location, Access access = Access::ReadWrite) override;
    void close() override;
    bool isOpen() const override { return m_session.isOpen(); }
    QString path() const override { return {}; }
    QString location() const override { return m_session.place(); }
    // A password written in the address is used, and the agent is told once where it is kept safer.
    QString openWarning() const override;
    // Verified only under sslmode verify-full: libpq then refuses a certificate of another issuer or name.
    QString connectionSecurity() const override;

    bool isReadOnly() const override { return !m_readOnlyReason.isEmpty(); }
    QString readOnlyReason() const override { return m_readOnlyReason; }
    bool isDamaged() const override { return m_damaged; }
    QString damagedReason() const override;

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
    // A period's rows through the issue index where the table has it, else by reading the table.
    StorageStatus readIssuedIn(const IssuePeriod& period, std::span<const int> columns,
                               std::vector<QStringList>& rows) const override;
    StorageStatus readIssuedByAgent(const IssuePeriod& period, const QString& agent, std::span<const int> columns,
                                    std::vector<QStringList>& rows) const override;
    StorageStatus readAgentDaysIssuedIn(const IssuePeriod& period, std::vector<QStringList>& pairs) const override;

    // The rates' table, created at the table owner's open; until then the other roles' reads say the owner must
    // open the register once. Defined in ServerDatabaseCommission.cpp.
    StorageResult<CommissionRates> readCommissionRates() const override;
    StorageStatus addCommissionRate(const CommissionRate& rate) override;
    StorageStatus replaceCommissionRates(const CommissionRates& rates) override;

    // A search index is a trigram index (pg_trgm) over the column's folded text, with (where the table keeps
    // the folded texts) the key-order indexes of that text; building them needs the table's ownership, and the
    // trigram index the extension.
    bool hasSearchIndex(int column) const override;
    StorageStatus buildSearchIndex(int column, const IndexProgress& progress) override;
    // The issue index is an expression index of the issue day, '' for a date that is not sure (see ServerSql.h),
    // which the table's owner builds (while the table is empty, at its first open); without it a period's rows are
    // found by reading the table.
    bool hasIssueDayIndex() const override;
    StorageStatus buildIssueDayIndex(const IndexProgress& progress) override;
    // The renewals' reads, over an expression index of the end of insurance and plain indexes of the VIN and the
    // plate, which the table's owner builds (while the table is empty, at its first open).
    StorageStatus readEndingIn(const IssuePeriod& period, std::span<const int> columns, std::vector<qint64>& ids,
                               std::vector<QStringList>& rows) const override;
    StorageStatus readStartsOf(int column, const QStringList& values, std::vector<QStringList>& rows) const override;
    StorageResult<int> countRenewalsDue(const IssuePeriod& period) const override;
    bool hasRenewalIndexes() const override;
    StorageStatus buildRenewalIndexes(const IndexProgress& progress) override;

    // Copies of the table into register files in "Архив" beside where the program started, named for the server
    // and the database; a copy is every row as one snapshot saw it (REPEATABLE READ). Restoring one is for the
    // table's owner: the table is replaced in one transaction, under the schema lock and a lock that keeps
    // every other desk waiting.
    QString backupRefusal() const override;
    QString restoreRefusal() const override;
    CopyPlace copyPlace() const override;
    // Safe on another thread while this object serves the window: the copy is read over a connection of its own.
    StorageResult<QString> backup(const CopyPlace& place, const QDateTime& now, OnDisk onDisk,
                                  const BackupProgress& progress = {}) override;
    StorageStatus restore(const QString& copy, const QDateTime& now) override;

    // The table is the server's: an open never makes anything to take back.
    // The same register opened for reading on a connection of its own, with the password this one was given.
    ReaderOpener readerBeside() const override;
    bool madeByOpen() const override { return false; }
    void removeMade() override {}
    void setWaitHook(WaitHook hook) override { m_session.setWaitHook(std::move(hook)); }

private:
    friend class ServerBlankJournal;
    using Steps = std::function<StorageStatus(const QString& action)>;

    StorageStatus prepareTable();
    StorageStatus checkColumns(const QString& action, bool& missing);
    StorageStatus createTable();
    StorageStatus checkRights();
    void createMissingIndexes();
    void keepRowCount();
    void createCommissionTable();
    // The rates, inside a transaction or not; a server without their table has none when `missingIsNone`.
    StorageResult<CommissionRates> readRates(const QString& action, bool missingIsNone) const;
    // Inside a transaction: the rates there replaced by `rates`.
    StorageStatus writeRates(const QString& action, const CommissionRates& rates);
    bool rowCountIsSound() const;
    bool hasIndexes(const QStringList& names) const;
    // The indexes `names`, made by `statements` where any is missing; only the table's owner may.
    StorageStatus buildOwnersIndexes(const QString& action, const QStringList& names, const QStringList& statements,
                                     const IndexProgress& progress);
    StorageStatus createIndexes(const QString& action, const QStringList& statements, const IndexProgress& progress);
    StorageStatus createIndex(const QString& action, const QString& sql, const IndexProgress& progress);
    // The rows of `period` (of `agent` only, when given).
    StorageStatus readIssued(const IssuePeriod& period, const QString* agent, std::span<const int> columns,
                             std::vector<QStringList>& rows) const;
    serverSql::SearchPath searchPath(const QString& folded) const;
    // Runs `steps` in one transaction, rolled back on any failure; `longWork` lifts the statement timeout.
    StorageStatus inTransaction(const QString& action, const Steps& steps, bool longWork = false);
    StorageStatus writable(const QString& action) const;
    // `write` in one transaction with the row `key` locked, provided it still holds `asRead`.
    StorageStatus changeRow(const QString& action, RowKey key, const PolicyRow& asRead, const Steps& write);
    StorageStatus checkUnchanged(const QString& action, RowKey key, const PolicyRow& asRead);
    // The indexes appendRows() builds after the rows, dropped; `creates` gets their statements.
    StorageStatus dropIndexes(const QString& action, std::vector<QByteArray>& creates);
    // COPY of the blocks `next` gives, counting them in `added`.
    StorageStatus copyRows(const QString& action, const RowBlocks& next, const AppendProgress& progress,
                           qint64& added);
    // Whether the server keeps every value of the `number`th row copied as it is; the failure names the row and
    // the column.
    StorageStatus checkStorable(const QString& action, const Utf8Row& row, qint64 number) const;
    StorageStatus readIds(const QString& action, const QByteArray& sql, std::span<const QByteArray> values,
                          std::vector<qint64>& ids, bool append = false) const;
    // The key and the 123 columns of the rows with the ascending `ids`, in key order; an empty result for none.
    StorageResult<PgResult> readRowsWithKeys(std::span<const qint64> ids) const;
    bool exists(const QByteArray& sql, std::span<const QByteArray> values = {}) const;
    StorageResult<PgResult> exec(const QString& action, const QByteArray& sql,
                                 std::span<const QByteArray> values = {},
                                 PgConnection::Format format = PgConnection::Format::Text) const;
    // Every row, in key order, appended to the empty register `copy` from a cursor of the open transaction.
    StorageStatus copyRowsInto(PolicyDatabase& copy, const BackupProgress& progress);
    StorageStatus rowChanged() const;
    StorageStatus failure(const QString& action, const QString& reason) const;

    mutable ServerSession m_session;
    QString m_readOnlyReason;
    bool m_ownsTable = false;
    // The role may read the kept row count (see ServerSql.h); until a read finds it gone since.
    mutable bool m_keptCount = false;
    // Whether the table keeps the folded text of each searched column (see ServerSql.h).
    bool m_foldedColumns = false;
    serverSql::Folding m_folding = serverSql::Folding::Icu;
    // Why no search index can be built on this server (no extension, no right), once found: not tried again.
    QString m_searchIndexRefusal;
    mutable bool m_damaged = false;
    // The last save that failed, and the code it was sent under.
    struct UnansweredSave
    {
        PolicyRow row;
        QString code;
    };
    std::optional<UnansweredSave> m_unansweredSave;
    std::unique_ptr<ServerBlankJournal> m_blanks;
};

} // namespace osago
