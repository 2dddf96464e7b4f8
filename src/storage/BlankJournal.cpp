#include "storage/BlankJournal.h"

namespace osago {

namespace {

constexpr int kCopyBlock = 10000;

} // namespace

StorageStatus copyJournal(const BlankJournal& from, BlankJournal& to)
{
    std::vector<ReceiptRow> receipts;
    if (const StorageStatus read = from.readReceipts(receipts); !read.ok || receipts.empty())
        return read;
    qint64 lastId = 0;
    std::vector<qint64> ids;
    return to.appendCopy(receipts, [&](std::vector<BlankCopyRow>& rows) {
        ids.clear();
        const StorageStatus read = from.readCopyBlock(lastId, kCopyBlock, ids, rows);
        if (!ids.empty())
            lastId = ids.back();
        return read;
    });
}

} // namespace osago
