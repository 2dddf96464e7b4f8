#pragma once

#include "storage/BlankJournal.h"
#include "storage/server/ServerConnection.h"

#include <map>
#include <set>

namespace osago {

class ServerDatabase;

// The blanks' journal of a ServerDatabase, in the tables of the program's own beside TableStrah.
class ServerBlankJournal final : public BlankJournal
{
public:
    explicit ServerBlankJournal(ServerDatabase& database) : m_database(database) {}

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

    // Inside the record's write transaction: takes and releases `blanks` for the record `code`.
    StorageStatus markRecord(const QString& action, const QString& code, const RecordBlanks& blanks);

    // At each open, once the register's rights are known: finds the journal's tables, or makes them when the role
    // owns the register and may write.
    void prepare(bool ownsRegister, bool writable);

private:
    StorageStatus openForReading() const;
    StorageStatus tablesMissing(const QString& action) const;
    StorageStatus writable(const QString& action) const;
    StorageResult<PgResult> run(const QString& action, const QByteArray& statement,
                                const std::vector<QByteArray>& values = {}) const;
    StorageResult<PgResult> read(const QByteArray& statement, const std::vector<QByteArray>& values) const;
    StorageStatus readUsers(const std::set<QString>& codes, std::map<QString, BlankUser>& users) const;

    ServerDatabase& m_database;
    bool m_present = false;
};

} // namespace osago
