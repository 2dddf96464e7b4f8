#include "tariff/Conversions.h"

#include <limits>
#include <optional>

namespace osago {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string quotedMessage(std::string_view text, std::string_view tail)
{
    std::string message;
    message.reserve(text.size() + tail.size() + 2);
    message += '\'';
    message += text;
    message += '\'';
    message += tail;
    return message;
}

// Consumes an optional '+' or '-'; returns true for '-'.
bool takeSign(std::string_view& rest)
{
    if (rest.empty() || (rest.front() != '+' && rest.front() != '-'))
        return false;
    const bool negative = rest.front() == '-';
    rest.remove_prefix(1);
    return negative;
}

void skipLeadingSpaces(std::string_view& rest)
{
    while (!rest.empty() && rest.front() == ' ')
        rest.remove_prefix(1);
}

// The pieces of a decimal number with a comma, its digits checked.
struct DecimalParts
{
    bool negative = false;
    std::string_view wholeDigits;
    std::string_view fractionDigits;
};

std::optional<DecimalParts> decimalParts(std::string_view text)
{
    std::string_view rest = text;
    skipLeadingSpaces(rest);
    while (!rest.empty() && rest.back() == ' ')
        rest.remove_suffix(1);
    DecimalParts parts;
    parts.negative = takeSign(rest);
    const std::size_t comma = rest.find(',');
    parts.wholeDigits = rest.substr(0, comma);
    parts.fractionDigits = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    if (parts.wholeDigits.empty() && parts.fractionDigits.empty())
        return std::nullopt;
    for (const std::string_view digits : {parts.wholeDigits, parts.fractionDigits}) {
        for (const char c : digits) {
            if (!isDigit(c))
                return std::nullopt;
        }
    }
    return parts;
}

} // namespace

std::string integerConversionMessage(std::string_view text)
{
    return quotedMessage(text, " is not a valid integer value");
}

std::string decimalConversionMessage(std::string_view text)
{
    return quotedMessage(text, " is not a valid floating point value");
}

ConversionResult<std::int32_t> parseInteger(std::string_view text)
{
    const auto fail = [text] { return ConversionResult<std::int32_t>::failure(integerConversionMessage(text)); };
    std::string_view rest = text;
    skipLeadingSpaces(rest);
    const bool negative = takeSign(rest);
    if (rest.empty())
        return fail();
    // One past the largest magnitude stays representable, so the limit check needs no wider type.
    const std::int64_t limit = negative ? -std::int64_t{std::numeric_limits<std::int32_t>::min()}
                                        : std::numeric_limits<std::int32_t>::max();
    std::int64_t magnitude = 0;
    for (const char c : rest) {
        if (!isDigit(c))
            return fail();
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit)
            return fail();
    }
    return ConversionResult<std::int32_t>::success(static_cast<std::int32_t>(negative ? -magnitude : magnitude));
}

ConversionResult<Fixed4> parseDecimal(std::string_view text)
{
    const auto fail = [text] { return ConversionResult<Fixed4>::failure(decimalConversionMessage(text)); };
    const std::optional<DecimalParts> parts = decimalParts(text);
    if (!parts)
        return fail();
    const bool negative = parts->negative;
    const std::string_view wholeDigits = parts->wholeDigits;
    const std::string_view fractionDigits = parts->fractionDigits;

    // Counts of ten-thousandths, compared against the magnitude the sign allows.
    const std::uint64_t limit = negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
    const std::uint64_t wholeLimit = limit / Fixed4::scale;
    std::uint64_t whole = 0;
    for (const char c : wholeDigits) {
        whole = whole * 10 + static_cast<unsigned>(c - '0');
        if (whole > wholeLimit)
            return fail();
    }

    // The first four fraction digits are kept; the fifth and the rest decide the rounding.
    std::uint64_t fraction = 0;
    int roundingDigit = 0;
    bool nonZeroBeyond = false;
    for (std::size_t i = 0; i < fractionDigits.size(); ++i) {
        const int digit = fractionDigits[i] - '0';
        if (i < 4)
            fraction = fraction * 10 + static_cast<unsigned>(digit);
        else if (i == 4)
            roundingDigit = digit;
        else if (digit != 0)
            nonZeroBeyond = true;
    }
    for (std::size_t i = fractionDigits.size(); i < 4; ++i)
        fraction *= 10;

    std::uint64_t magnitude = whole * Fixed4::scale + fraction;
    const bool roundUp = roundingDigit > 5 || (roundingDigit == 5 && (nonZeroBeyond || magnitude % 2 != 0));
    if (roundUp)
        ++magnitude;
    if (magnitude > limit)
        return fail();
    const auto count = negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    return ConversionResult<Fixed4>::success(Fixed4::fromTenThousandths(count));
}

ConversionResult<ExactDecimal> parseExactDecimal(std::string_view text)
{
    const std::optional<DecimalParts> parts = decimalParts(text);
    std::optional<ExactDecimal> value;
    if (parts) {
        std::string_view fraction = parts->fractionDigits;
        while (!fraction.empty() && fraction.back() == '0')
            fraction.remove_suffix(1);
        value = ExactDecimal::fromDigits(parts->negative, parts->wholeDigits, fraction);
    }
    if (!value)
        return ConversionResult<ExactDecimal>::failure(decimalConversionMessage(text));
    return ConversionResult<ExactDecimal>::success(*value);
}

} // namespace osago
