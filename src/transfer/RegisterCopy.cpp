#include "RegisterCopy.h"

#include "PolicyDatabase.h"
#include "RegisterRowStream.h"
#include "Utf8Rows.h"

namespace osago {

StorageResult<qint64> copyRegister(const PolicyDatabase& from, PolicyDatabase& to, bool append,
                                   const CopyProgress& progress)
{
    RegisterRowStream rows(from, std::nullopt);
    if (const StorageStatus started = rows.start(); !started.ok)
        return StorageResult<qint64>::failure(started);
    const auto total = qint64(rows.rowCount());
    Utf8Rows read;
    const auto nextBlock = [&rows, &read](std::vector<QStringList>& block) {
        const StorageStatus status = rows.next(read);
        block.clear();
        for (std::size_t i = 0; i < read.size(); ++i) {
            const Utf8Row row = read.row(i);
            QStringList& values = block.emplace_back();
            values.reserve(row.size());
            for (qsizetype column = 0; column < row.size(); ++column)
                values << QString::fromUtf8(row[column]);
        }
        return status;
    };
    return to.appendRows(nextBlock, !append, [&progress, total](qint64 copied) { progress(copied, total); });
}

} // namespace osago
