#include "tariff/Utf8Text.h"

namespace osago {

namespace {

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Byte offset of the character with 0-based index `index`, or text.size() past the end.
std::size_t byteOffsetOfCharacter(std::string_view text, std::size_t index)
{
    std::size_t offset = 0;
    for (std::size_t seen = 0; offset < text.size(); ++seen) {
        if (seen == index)
            return offset;
        ++offset;
        // Up to three continuation bytes belong to one character; any further ones stand alone.
        for (int taken = 0; taken < 3 && offset < text.size() && isContinuationByte(text[offset]); ++taken)
            ++offset;
    }
    return text.size();
}

} // namespace

std::size_t characterCount(std::string_view text)
{
    std::size_t count = 0;
    while (!text.empty()) {
        text.remove_prefix(byteOffsetOfCharacter(text, 1));
        ++count;
    }
    return count;
}

std::string_view characterSlice(std::string_view text, std::size_t first, std::size_t count)
{
    if (first == 0 || count == 0)
        return {};
    const std::size_t begin = byteOffsetOfCharacter(text, first - 1);
    const std::string_view tail = text.substr(begin);
    return tail.substr(0, byteOffsetOfCharacter(tail, count));
}

} // namespace osago
