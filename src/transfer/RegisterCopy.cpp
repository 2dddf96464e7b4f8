#include "transfer/RegisterCopy.h"

#include "storage/PolicyDatabase.h"
#include "storage/RegisterRowStream.h"

namespace osago {

StorageResult<qint64> copyRegister(const PolicyDatabase& from, PolicyDatabase& to, bool append,
                                   const CopyProgress& progress)
{
    RegisterRowStream rows(from, std::nullopt);
    if (const StorageStatus started = rows.start(); !started.ok)
        return StorageResult<qint64>::failure(started);
    const auto total = qint64(rows.rowCount());
    const auto nextBlock = [&rows](Utf8Rows& block) { return rows.next(block); };
    return to.appendRows(nextBlock, !append, [&progress, total](qint64 copied) { progress(copied, total); });
}

} // namespace osago
