#include "export/XlsxText.h"

#include <cstdio>
#include <cstring>

namespace osago {

namespace {

// XML keeps tab and line feed in a text; every other control character, CR among them, is written escaped.
bool isEscapedControl(unsigned char c)
{
    return c < 0x20 && c != '\t' && c != '\n';
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// "_x" (either case of x) and four hexadecimal digits: what a reader takes for the start of an escape once an
// underscore follows, be it the text's own or the one an escaped character begins with. An underscore before
// any four digits is escaped, which costs a few bytes and reads back the same.
bool startsEscapeLike(const char* at)
{
    if (at[0] != '_' || (at[1] != 'x' && at[1] != 'X'))
        return false;
    for (int i = 2; i < 6; ++i) {
        if (!isHexDigit(at[i]))
            return false;
    }
    return true;
}

bool needsEscaping(const char* text)
{
    for (const char* at = text; *at; ++at) {
        if (isEscapedControl(static_cast<unsigned char>(*at)) || startsEscapeLike(at))
            return true;
    }
    return false;
}

void appendEscape(std::string& buffer, unsigned char c)
{
    char escape[8];
    std::snprintf(escape, sizeof escape, "_x%04X_", unsigned(c));
    buffer += escape;
}

} // namespace

// The bytes tested are ASCII, which never occur inside a multi-byte UTF-8 character.
const char* escapedXlsxText(const char* text, std::string& buffer)
{
    if (!needsEscaping(text))
        return text;
    buffer.clear();
    buffer.reserve(std::strlen(text) + 16);
    for (const char* at = text; *at; ++at) {
        const auto c = static_cast<unsigned char>(*at);
        if (isEscapedControl(c) || startsEscapeLike(at))
            appendEscape(buffer, c);
        else
            buffer += *at;
    }
    return buffer.c_str();
}

} // namespace osago
