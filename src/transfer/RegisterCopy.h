#pragma once

#include "storage/StorageStatus.h"

#include <QtGlobal>

#include <functional>

namespace osago {

class PolicyDatabase;

// How far a copy is: rows added so far, of the rows the source held when the copy began.
using CopyProgress = std::function<void(qint64 copied, qint64 total)>;

// Copies every row of `from`, in order and with its code, after the rows of `to`, in one transaction of `to`:
// on any failure nothing is added. Without `append` a `to` that holds rows is refused. Reads `from` a block at a
// time, so the rows never sit in memory together. The blanks' journal of `from` is added to `to`'s after the rows,
// in a transaction of its own, and the commission rates go with the rows into a `to` that has none. Gives the
// number of rows copied.
StorageResult<qint64> copyRegister(const PolicyDatabase& from, PolicyDatabase& to, bool append,
                                   const CopyProgress& progress);

} // namespace osago
