#pragma once

#include <cstddef>
#include <string_view>

namespace osago {

// Character positions in UTF-8 texts, counting code points as the editor counts characters.
// Malformed bytes count as characters of their own, so any byte sequence is safe to slice.

std::size_t characterCount(std::string_view text);

// Up to `count` characters starting at the 1-based character `first`; shorter or empty when the
// text ends earlier, like taking a substring of a shorter text in the editor.
std::string_view characterSlice(std::string_view text, std::size_t first, std::size_t count);

} // namespace osago
