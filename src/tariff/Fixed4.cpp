#include "tariff/Fixed4.h"

#include <limits>

namespace osago {

namespace {

__extension__ using Int128 = __int128;

// numerator / denominator rounded to the nearest integer, a half to the even neighbour.
std::optional<std::int64_t> divideRoundingHalfEven(Int128 numerator, Int128 denominator)
{
    if (denominator == 0)
        return std::nullopt;
    Int128 quotient = numerator / denominator;
    const Int128 remainder = numerator % denominator;
    if (remainder != 0) {
        const Int128 twiceRemainder = remainder < 0 ? -2 * remainder : 2 * remainder;
        const Int128 magnitude = denominator < 0 ? -denominator : denominator;
        const bool resultNegative = (numerator < 0) != (denominator < 0);
        if (twiceRemainder > magnitude || (twiceRemainder == magnitude && quotient % 2 != 0))
            quotient += resultNegative ? -1 : 1;
    }
    if (quotient < std::numeric_limits<std::int64_t>::min() || quotient > std::numeric_limits<std::int64_t>::max())
        return std::nullopt;
    return static_cast<std::int64_t>(quotient);
}

} // namespace

std::optional<Fixed4> Fixed4::multipliedBy(Fixed4 factor) const
{
    const auto count = divideRoundingHalfEven(Int128{m_count} * factor.m_count, scale);
    return count ? std::optional(Fixed4(*count)) : std::nullopt;
}

std::optional<Fixed4> Fixed4::dividedBy(Fixed4 divisor) const
{
    const auto count = divideRoundingHalfEven(Int128{m_count} * scale, divisor.m_count);
    return count ? std::optional(Fixed4(*count)) : std::nullopt;
}

std::optional<Fixed4> Fixed4::plus(Fixed4 addend) const
{
    std::int64_t sum = 0;
    if (__builtin_add_overflow(m_count, addend.m_count, &sum))
        return std::nullopt;
    return Fixed4(sum);
}

std::string Fixed4::format() const
{
    // The magnitude of the most negative count does not fit a signed 64-bit integer.
    const auto count = static_cast<std::uint64_t>(m_count);
    const std::uint64_t magnitude = m_count < 0 ? 0 - count : count;
    std::string text = std::to_string(magnitude / scale);
    if (m_count < 0)
        text.insert(text.begin(), '-');
    auto fraction = static_cast<unsigned>(magnitude % scale);
    if (fraction == 0)
        return text;
    text += ',';
    for (unsigned digitWeight = scale / 10; fraction != 0; digitWeight /= 10) {
        text += static_cast<char>('0' + fraction / digitWeight);
        fraction %= digitWeight;
    }
    return text;
}

} // namespace osago
