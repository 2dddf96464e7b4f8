#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace osago {

// A decimal number as it was written, to 18 places, held as a signed 128-bit count of 10^-18: sums of amounts
// are exact whatever places they were written with; only what is shown is rounded.
class ExactDecimal {
public:
    static constexpr int kPlaces = 18;

    constexpr ExactDecimal() = default;
    // `fraction` at most kPlaces digits; the whole part within Fixed4's range. Only ASCII digits.
    static std::optional<ExactDecimal> fromDigits(bool negative, std::string_view whole, std::string_view fraction);

    // An exact sum; std::nullopt past the range.
    std::optional<ExactDecimal> plus(ExactDecimal addend) const;
    std::optional<ExactDecimal> minus(ExactDecimal subtrahend) const;
    // The exact product with numerator / denominator (denominator > 0), rounded to `places` a half away from
    // zero; std::nullopt past the range.
    std::optional<ExactDecimal> timesFraction(std::uint64_t numerator, std::uint64_t denominator, int places) const;
    // Rounded to `places` (0 to kPlaces), a half away from zero.
    ExactDecimal roundedTo(int places) const;
    // The places after the comma that are not trailing zeros.
    int places() const;

    // The program's number text: comma separator, no grouping, no trailing zeros ("2574", "12,34567").
    std::string format() const;
    // The same with exactly `places` places and the whole part grouped by threes with `groupSeparator`, for
    // a value already rounded to them ("151 234,57").
    std::string formatGrouped(int places, std::string_view groupSeparator) const;

    friend constexpr auto operator<=>(ExactDecimal, ExactDecimal) = default;

    __extension__ using Magnitude = unsigned __int128;

private:
    __extension__ using Count = __int128;

    constexpr explicit ExactDecimal(Count count) : m_count(count) {}
    Magnitude magnitude() const;

    Count m_count = 0;
};

} // namespace osago
