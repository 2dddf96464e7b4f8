#include "transfer/RegisterCopy.h"

#include "storage/BlankJournal.h"
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
    const StorageResult<qint64> copied =
        to.appendRows(nextBlock, !append, [&progress, total](qint64 added) { progress(added, total); });
    if (!copied.ok)
        return copied;
    // The blanks' journal follows the rows it names.
    const StorageStatus journal = copyJournal(from.blanks(), to.blanks());
    return journal.ok ? copied : StorageResult<qint64>::failure(journal);
}

} // namespace osago
