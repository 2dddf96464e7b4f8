#pragma once

#include "storage/BlankJournal.h"

#include <QVariantList>

#include <map>
#include <set>

class QSqlQuery;

namespace osago {

class SqliteDatabase;

// The blanks' journal of a SqliteDatabase, in the tables of the program's own beside TableStrah.
class SqliteBlankJournal final : public BlankJournal
{
public:
    explicit SqliteBlankJournal(SqliteDatabase& database) : m_database(database) {}

    StorageResult<bool> anyReceived() const override;
    StorageResult<ReceiveOutcome> receive(const BlankReceipt& receipt) override;
    StorageStatus readReceipts(std::vector<ReceiptRow>& receipts) const override;
    StorageStatus cancelReceipt(qint64 receiptId) override;
    StorageResult<TableExtent> readExtent() const override;
    StorageStatus readIdsBetween(qint64 lowest, qint64 highest, int limit, Walk walk,
                                 std::vector<qint64>& ids) const override;
    StorageStatus readIds(const BlankFilter& filter, std::vector<qint64>& ids) const override;
    StorageStatus readRows(std::span<const qint64> ids, std::vector<BlankRow>& rows) const override;
    StorageResult<BlankCounts> readCounts(const BlankFilter& filter) const override;
    StorageResult<qint64> mark(std::span<const qint64> ids, const BlankMark& mark) override;
    StorageStatus check(std::span<const BlankNumber> numbers, const QString& recordCode,
                        std::vector<BlankCheck>& checks) const override;
    StorageStatus readHistory(const IssuePeriod& period, std::vector<BlankHistoryRow>& rows) const override;

    StorageStatus readCopyBlock(qint64 afterId, int limit, std::vector<qint64>& ids,
                                std::vector<BlankCopyRow>& rows) const override;
    StorageStatus appendCopy(const std::vector<ReceiptRow>& receipts, const BlankBlocks& next) override;

    // Inside the record's write transaction: takes and releases `blanks` for the record `code`.
    StorageStatus markRecord(const QString& action, const QString& code, const RecordBlanks& blanks);

    // The journal's tables, created by `query` inside the register's creating transaction.
    StorageStatus createTables(QSqlQuery& query, const QString& action) const;
    // Adds the tables to a register file made before them, at its first writable open.
    StorageStatus addTablesIfMissing();

private:
    // appendCopy() inside a transaction already begun.
    StorageStatus appendCopyIn(const QString& action, const std::vector<ReceiptRow>& receipts, const BlankBlocks& next);
    StorageStatus run(QSqlQuery& query, const QString& action, const QString& text, const QVariantList& values) const;
    bool tablesPresent() const;
    // readHistory() of a journal whose tables exist, straight through SQLite's own interface.
    StorageStatus readHistoryRows(const IssuePeriod& period, std::vector<BlankHistoryRow>& rows) const;
    StorageStatus readable() const;
    // The records named by `codes`, each under its code.
    StorageStatus readUsers(const std::set<QString>& codes, std::map<QString, BlankUser>& users) const;

    SqliteDatabase& m_database;
};

} // namespace osago
