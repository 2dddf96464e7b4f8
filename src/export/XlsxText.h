#pragma once

#include <string>

namespace osago {

// A cell's UTF-8 text as a workbook stores it so that readers give it back as it is: a control character other
// than tab and line feed as its escape "_xHHHH_" (CR "_x000D_"), and an underscore that starts "_x" and four
// hexadecimal digits, which a reader would take for an escape, escaped itself as "_x005F_". Returns `text`
// itself when nothing needs escaping, else `buffer`'s contents.
const char* escapedXlsxText(const char* text, std::string& buffer);

} // namespace osago
