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
    const StorageResult<CommissionRates> rates = from.readCommissionRates();
    if (!rates.ok)
        return StorageResult<qint64>::failure(rates);
    const auto total = qint64(rows.rowCount());
    const auto nextBlock = [&rows](Utf8Rows& block) { return rows.next(block); };
    const StorageResult<qint64> copied =
        to.appendRows(nextBlock, !append, [&progress, total](qint64 added) { progress(added, total); });
    if (!copied.ok)
        return copied;
    // The blanks' journal follows the rows it names.
    const StorageStatus journal = copyJournal(from.blanks(), to.blanks());
    if (!journal.ok || rates.value.empty())
        return journal.ok ? copied : StorageResult<qint64>::failure(journal);
    // A register with a schedule of its own keeps it: its reports stay what they were.
    const StorageResult<CommissionRates> own = to.readCommissionRates();
    const StorageStatus written = own.ok && own.value.empty() ? to.replaceCommissionRates(rates.value) : StorageStatus(own);
    return written.ok ? copied : StorageResult<qint64>::failure(written);
}

} // namespace osago
