#pragma once

#include <QString>

namespace osago {

// The documents' typeface, shipped with the program so that Cyrillic prints whatever fonts the machine has.
inline const QString kPrintFontFamily = QStringLiteral("DejaVu Sans");

// Registers the shipped regular and bold faces once; later calls do nothing.
void loadPrintFonts();

} // namespace osago
