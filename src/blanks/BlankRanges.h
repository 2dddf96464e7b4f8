#pragma once

#include "storage/Blanks.h"

#include <QString>

#include <vector>

namespace osago {

// Numbers written as ranges: runs of consecutive numbers as "first–last" (an en dash), single numbers alone,
// separated by ", ", each with the kind's leading zeros: "0123456001–0123456050, 0123456053". `numbers` in any
// order; a repeated number is written once.
QString rangesText(BlankKind kind, std::vector<qint64> numbers);

} // namespace osago
