#pragma once

class QComboBox;
class QString;

namespace osago {

// Gives the locality drop-down the items of `region`: the home region's localities, or nothing to choose from.
// Its text is left empty for the caller to write.
void fillLocalities(QComboBox* locality, const QString& region);

} // namespace osago
