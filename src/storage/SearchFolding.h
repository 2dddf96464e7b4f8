#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace osago {

// The search's comparison, the same for every engine: a word is found in a text when the folded word occurs in
// the folded text, letter case ignored for Cyrillic as for Latin and ё taken as е.

// One UTF-16 unit as the search compares it: Unicode simple case folding, then ё as е.
char16_t foldedUnit(char16_t unit);
// `text` folded unit by unit.
QString searchFolded(QStringView text);

// The columns the search window offers: the policyholder's and the owner's surname or firm, make and model,
// registration plate, receipt, policy and special sign.
const std::vector<int>& searchedColumns();

} // namespace osago
