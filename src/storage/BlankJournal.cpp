#include "storage/BlankJournal.h"

namespace osago {

namespace {

constexpr int kCopyBlock = 10000;

} // namespace

BlankBlocks blankBlocksOf(const BlankJournal& from)
{
    return [&from, lastId = qint64(0), ids = std::vector<qint64>()](std::vector<BlankCopyRow>& rows) mutable {
        const StorageStatus read = from.readCopyBlock(lastId, kCopyBlock, ids, rows);
        if (!ids.empty())
            lastId = ids.back();
        return read;
    };
}

StorageStatus addEachBlank(const BlankBlocks& next, const std::function<StorageStatus(const BlankCopyRow&)>& add)
{
    std::vector<BlankCopyRow> block;
    for (;;) {
        block.clear();
        const StorageStatus read = next(block);
        if (!read.ok || block.empty())
            return read;
        for (const BlankCopyRow& copied : block) {
            if (const StorageStatus added = add(copied); !added.ok)
                return added;
        }
    }
}

StorageStatus copyJournal(const BlankJournal& from, BlankJournal& to)
{
    std::vector<ReceiptRow> receipts;
    if (const StorageStatus read = from.readReceipts(receipts); !read.ok || receipts.empty())
        return read;
    return to.appendCopy(receipts, blankBlocksOf(from));
}

} // namespace osago
