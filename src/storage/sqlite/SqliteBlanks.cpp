#include "storage/sqlite/SqliteBlanks.h"

#include "storage/sqlite/SqliteDatabase.h"

namespace osago {

namespace {

StorageStatus notBuilt()
{
    return StorageStatus::failure(QStringLiteral("Журнал бланков ещё не готов"));
}

} // namespace

StorageResult<bool> SqliteBlankJournal::anyReceived() const
{
    return StorageResult<bool>::success(false);
}

StorageResult<ReceiveOutcome> SqliteBlankJournal::receive(const BlankReceipt&)
{
    return StorageResult<ReceiveOutcome>::failure(notBuilt());
}

StorageStatus SqliteBlankJournal::readReceipts(std::vector<ReceiptRow>& receipts) const
{
    receipts.clear();
    return {};
}

StorageStatus SqliteBlankJournal::cancelReceipt(qint64)
{
    return notBuilt();
}

StorageResult<TableExtent> SqliteBlankJournal::readExtent() const
{
    return StorageResult<TableExtent>::success({});
}

StorageStatus SqliteBlankJournal::readIdsBetween(qint64, qint64, int, Walk, std::vector<qint64>&) const
{
    return {};
}

StorageStatus SqliteBlankJournal::readIds(const BlankFilter&, std::vector<qint64>& ids) const
{
    ids.clear();
    return {};
}

StorageStatus SqliteBlankJournal::readRows(std::span<const qint64> ids, std::vector<BlankRow>& rows) const
{
    rows.assign(ids.size(), BlankRow{});
    return {};
}

StorageResult<BlankCounts> SqliteBlankJournal::readCounts(const BlankFilter&) const
{
    return StorageResult<BlankCounts>::success({});
}

StorageResult<qint64> SqliteBlankJournal::mark(std::span<const qint64>, const BlankMark&)
{
    return StorageResult<qint64>::failure(notBuilt());
}

StorageStatus SqliteBlankJournal::check(std::span<const BlankNumber> numbers, const QString&,
                                      std::vector<BlankCheck>& checks) const
{
    checks.clear();
    for (const BlankNumber& number : numbers)
        checks.push_back({number, BlankVerdict::NotReceived, {}, {}});
    return {};
}

StorageStatus SqliteBlankJournal::readHistory(const QDate&, std::vector<BlankHistoryRow>& rows) const
{
    rows.clear();
    return {};
}

StorageStatus SqliteBlankJournal::markRecord(const QString&, const QString&, const RecordBlanks& blanks)
{
    return blanks.isEmpty() ? StorageStatus{} : notBuilt();
}

} // namespace osago
