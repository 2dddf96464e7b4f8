#include "tariff/ExactDecimal.h"

#include "tariff/Fixed4.h"

#include <cstdint>
#include <limits>

namespace osago {

namespace {

using Magnitude = ExactDecimal::Magnitude;

constexpr Magnitude powerOfTen(int exponent)
{
    Magnitude power = 1;
    for (int i = 0; i < exponent; ++i)
        power *= 10;
    return power;
}

constexpr Magnitude kOne = powerOfTen(ExactDecimal::kPlaces);
// The whole numbers Fixed4 holds, so that an amount read exactly is one it could also hold rounded.
constexpr std::uint64_t kLargestWhole = std::uint64_t(std::numeric_limits<std::int64_t>::max()) / Fixed4::scale;

std::string digitsOf(Magnitude value)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), char('0' + int(value % 10)));
        value /= 10;
    } while (value != 0);
    return digits;
}

} // namespace

std::optional<ExactDecimal> ExactDecimal::fromDigits(bool negative, std::string_view whole, std::string_view fraction)
{
    if (fraction.size() > std::size_t(kPlaces))
        return std::nullopt;
    std::uint64_t wholeValue = 0;
    for (const char c : whole) {
        wholeValue = wholeValue * 10 + unsigned(c - '0');
        if (wholeValue > kLargestWhole)
            return std::nullopt;
    }
    Magnitude fractionValue = 0;
    for (const char c : fraction)
        fractionValue = fractionValue * 10 + unsigned(c - '0');
    fractionValue *= powerOfTen(kPlaces - int(fraction.size()));
    const auto count = Count(Magnitude(wholeValue) * kOne + fractionValue);
    return ExactDecimal(negative ? -count : count);
}

std::optional<ExactDecimal> ExactDecimal::plus(ExactDecimal addend) const
{
    Count sum = 0;
    if (__builtin_add_overflow(m_count, addend.m_count, &sum))
        return std::nullopt;
    return ExactDecimal(sum);
}

std::optional<ExactDecimal> ExactDecimal::minus(ExactDecimal subtrahend) const
{
    Count difference = 0;
    if (__builtin_sub_overflow(m_count, subtrahend.m_count, &difference))
        return std::nullopt;
    return ExactDecimal(difference);
}

std::optional<ExactDecimal> ExactDecimal::timesFraction(std::uint64_t numerator, std::uint64_t denominator,
                                                        int places) const
{
    Magnitude product = 0;
    if (__builtin_mul_overflow(magnitude(), Magnitude(numerator), &product))
        return std::nullopt;
    const Magnitude step = powerOfTen(kPlaces - places);
    const Magnitude unit = Magnitude(denominator) * step;
    Magnitude steps = product / unit;
    if (product % unit >= unit - product % unit)
        ++steps;
    Magnitude rounded = 0;
    if (__builtin_mul_overflow(steps, step, &rounded) || rounded > (~Magnitude(0) >> 1))
        return std::nullopt;
    return ExactDecimal(m_count < 0 ? -Count(rounded) : Count(rounded));
}

ExactDecimal ExactDecimal::roundedTo(int places) const
{
    const Magnitude unit = powerOfTen(kPlaces - places);
    Magnitude rounded = magnitude() / unit;
    if (magnitude() % unit >= unit / 2 && unit > 1)
        ++rounded;
    const auto count = Count(rounded * unit);
    return ExactDecimal(m_count < 0 ? -count : count);
}

int ExactDecimal::places() const
{
    Magnitude fraction = magnitude() % kOne;
    int places = kPlaces;
    for (; places > 0 && fraction % 10 == 0; --places)
        fraction /= 10;
    return fraction == 0 ? 0 : places;
}

ExactDecimal::Magnitude ExactDecimal::magnitude() const
{
    return m_count < 0 ? Magnitude(0) - Magnitude(m_count) : Magnitude(m_count);
}

std::string ExactDecimal::format() const
{
    return formatGrouped(places(), {});
}

std::string ExactDecimal::formatGrouped(int places, std::string_view groupSeparator) const
{
    std::string whole = digitsOf(magnitude() / kOne);
    for (auto at = std::ptrdiff_t(whole.size()) - 3; at > 0 && !groupSeparator.empty(); at -= 3)
        whole.insert(std::size_t(at), groupSeparator);
    std::string text = m_count < 0 ? "-" + whole : whole;
    if (places == 0)
        return text;
    const std::string fraction = digitsOf(magnitude() % kOne + kOne).substr(1);
    return text + ',' + fraction.substr(0, std::size_t(places));
}

} // namespace osago
