#pragma once

#include "storage/Blanks.h"
#include "storage/IssuePeriod.h"
#include "storage/PolicyDatabase.h"
#include "storage/StorageStatus.h"

#include <functional>
#include <span>
#include <vector>

namespace osago {

// The blanks' journal of an open register (PolicyDatabase::blanks()): the same file or server database as the
// records, its writes refused alike when the register is read-only or damaged, each write one short
// transaction. A record's own save, change and deletion take their blanks' part through RecordBlanks (see
// PolicyDatabase::insert()). On a server register made before the journal, the tables are made at the table
// owner's first open; until then reads find no blank and writes say that the owner must open the register once.
// The next block of blanks for BlankJournal::appendCopy(): fills `rows`, given empty; an empty block after the
// last one.
using BlankBlocks = std::function<StorageStatus(std::vector<BlankCopyRow>& rows)>;

class BlankJournal
{
public:
    virtual ~BlankJournal() = default;

    // Whether any blank was ever received into this register: only then are saves checked.
    virtual StorageResult<bool> anyReceived() const = 0;

    // Adds one blank a number of `receipt`'s range, all on hand from its date. A range sharing a number with an
    // earlier receipt of the same kind and series is refused, naming that receipt. Numbers that saved records
    // already hold become used by those records (the oldest record where two hold one).
    virtual StorageResult<ReceiveOutcome> receive(const BlankReceipt& receipt) = 0;
    // Every receipt, oldest first.
    virtual StorageStatus readReceipts(std::vector<ReceiptRow>& receipts) const = 0;
    // Takes a receipt's blanks away again, provided none of them was used, spoiled, lost or handed back: the
    // refusal says how many were.
    virtual StorageStatus cancelReceipt(qint64 receiptId) = 0;

    // The journal's reads for a lazy grid, as the register's own (PolicyDatabase::readTableExtent() and the
    // others): blanks' ids ascend in the order they were received.
    virtual StorageResult<TableExtent> readExtent() const = 0;
    virtual StorageStatus readIdsBetween(qint64 lowest, qint64 highest, int limit, Walk walk,
                                         std::vector<qint64>& ids) const = 0;
    // The ids of the blanks `filter` shows, ascending (replacing `ids`).
    virtual StorageStatus readIds(const BlankFilter& filter, std::vector<qint64>& ids) const = 0;
    // The blanks with the ascending `ids`, row i for ids[i]; a blank no longer there keeps id 0.
    virtual StorageStatus readRows(std::span<const qint64> ids, std::vector<BlankRow>& rows) const = 0;
    // How many blanks `filter` shows, per status.
    virtual StorageResult<BlankCounts> readCounts(const BlankFilter& filter) const = 0;

    // Marks the blanks `ids` as `mark` says, all of them or none: a blank whose status does not allow it (see
    // BlankMark), or that another desk changed meanwhile, refuses the whole command naming it. Gives how many
    // were marked.
    virtual StorageResult<qint64> mark(std::span<const qint64> ids, const BlankMark& mark) = 0;

    // The check at save: a verdict for each of `numbers` (in their order), for the record `recordCode` (empty
    // for a new record).
    virtual StorageStatus check(std::span<const BlankNumber> numbers, const QString& recordCode,
                                std::vector<BlankCheck>& checks) const = 0;

    // The blanks the report of `period` counts, in no stated order: those received by its end that are on hand,
    // or came to their status (or were spoiled) within it or later. A blank gone from the hand before the period
    // is in none of its groups.
    virtual StorageStatus readHistory(const IssuePeriod& period, std::vector<BlankHistoryRow>& rows) const = 0;

    // Copies of the journal (backups, copy-register). The blanks with ids above `afterId`, at most `limit`, in
    // ascending id order, their ids into `ids`.
    virtual StorageStatus readCopyBlock(qint64 afterId, int limit, std::vector<qint64>& ids,
                                        std::vector<BlankCopyRow>& rows) const = 0;
    // Adds `receipts` (under new ids) and the blanks `next` gives (their receipts' ids taken to the new ones) in one
    // transaction; a number the journal has already fails the whole copy.
    virtual StorageStatus appendCopy(const std::vector<ReceiptRow>& receipts, const BlankBlocks& next) = 0;
};

// Every blank of `from`, a block at a time in id order, for appendCopy().
BlankBlocks blankBlocksOf(const BlankJournal& from);
// Gives `add` every blank `next` gives, a block after another, until the blocks end or a block or `add` fails.
StorageStatus addEachBlank(const BlankBlocks& next, const std::function<StorageStatus(const BlankCopyRow&)>& add);
// Copies the whole journal of `from` into `to` (BlankJournal::appendCopy()), a block at a time.
StorageStatus copyJournal(const BlankJournal& from, BlankJournal& to);

} // namespace osago
