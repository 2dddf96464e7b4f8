#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>

namespace osago {

// A decimal number with exactly four places, held as a signed 64-bit count of ten-thousandths.
// Products and quotients are formed exactly and rounded at once to four places, a half going to
// the even neighbour; a result outside the 64-bit range is reported as std::nullopt, never wrapped.
class Fixed4 {
public:
    static constexpr std::int64_t scale = 10000;

    constexpr Fixed4() = default;
    static constexpr Fixed4 fromTenThousandths(std::int64_t count) { return Fixed4(count); }
    static constexpr Fixed4 fromWhole(std::int32_t whole) { return Fixed4(std::int64_t{whole} * scale); }

    constexpr std::int64_t tenThousandths() const { return m_count; }

    std::optional<Fixed4> multipliedBy(Fixed4 factor) const;
    // std::nullopt also for a zero divisor.
    std::optional<Fixed4> dividedBy(Fixed4 divisor) const;
    // An exact sum; std::nullopt past the 64-bit range.
    std::optional<Fixed4> plus(Fixed4 addend) const;

    // The program's number text: comma separator, no grouping, no trailing zeros, no comma for a
    // whole number ("2574", "1930,5", "-0,0001").
    std::string format() const;

    friend constexpr auto operator<=>(Fixed4, Fixed4) = default;

private:
    constexpr explicit Fixed4(std::int64_t count) : m_count(count) {}

    std::int64_t m_count = 0;
};

} // namespace osago
