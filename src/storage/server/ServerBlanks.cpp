#include "storage/server/ServerBlanks.h"

#include "storage/server/ServerDatabase.h"

namespace osago {

namespace {

StorageStatus notBuilt()
{
    return StorageStatus::failure(QStringLiteral("Журнал бланков ещё не готов"));
}

} // namespace

StorageResult<bool> ServerBlankJournal::anyReceived() const
{
    return StorageResult<bool>::success(false);
}

StorageResult<ReceiveOutcome> ServerBlankJournal::receive(const BlankReceipt&)
{
    return StorageResult<ReceiveOutcome>::failure(notBuilt());
}

StorageStatus ServerBlankJournal::readReceipts(std::vector<ReceiptRow>& receipts) const
{
    receipts.clear();
    return {};
}

StorageStatus ServerBlankJournal::cancelReceipt(qint64)
{
    return notBuilt();
}

StorageResult<TableExtent> ServerBlankJournal::readExtent() const
{
    return StorageResult<TableExtent>::success({});
}

StorageStatus ServerBlankJournal::readIdsBetween(qint64, qint64, int, Walk, std::vector<qint64>&) const
{
    return {};
}

StorageStatus ServerBlankJournal::readIds(const BlankFilter&, std::vector<qint64>& ids) const
{
    ids.clear();
    return {};
}

StorageStatus ServerBlankJournal::readRows(std::span<const qint64> ids, std::vector<BlankRow>& rows) const
{
    rows.assign(ids.size(), BlankRow{});
    return {};
}

StorageResult<BlankCounts> ServerBlankJournal::readCounts(const BlankFilter&) const
{
    return StorageResult<BlankCounts>::success({});
}

StorageResult<qint64> ServerBlankJournal::mark(std::span<const qint64>, const BlankMark&)
{
    return StorageResult<qint64>::failure(notBuilt());
}

StorageStatus ServerBlankJournal::check(std::span<const BlankNumber> numbers, const QString&,
                                      std::vector<BlankCheck>& checks) const
{
    checks.clear();
    for (const BlankNumber& number : numbers)
        checks.push_back({number, BlankVerdict::NotReceived, {}, {}});
    return {};
}

StorageStatus ServerBlankJournal::readHistory(const QDate&, std::vector<BlankHistoryRow>& rows) const
{
    rows.clear();
    return {};
}

StorageStatus ServerBlankJournal::markRecord(const QString&, const QString&, const RecordBlanks& blanks)
{
    return blanks.isEmpty() ? StorageStatus{} : notBuilt();
}

} // namespace osago
