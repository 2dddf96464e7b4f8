#pragma once

#include "tariff/ConversionResult.h"
#include "tariff/ExactDecimal.h"
#include "tariff/Fixed4.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace osago {

// Whole number: optional leading spaces, an optional sign, one or more ASCII digits and nothing
// else, within the signed 32-bit range. Fails with "'<text>' is not a valid integer value".
ConversionResult<std::int32_t> parseInteger(std::string_view text);

// Decimal number with a comma: optional leading and trailing spaces, an optional sign, digits with
// at most one comma and at least one digit ("5", "5,", ",5", "-0,25"); no point, exponent or
// grouping. Rounded to four places, a half to the even neighbour; the value must fit Fixed4.
// Fails with "'<text>' is not a valid floating point value".
ConversionResult<Fixed4> parseDecimal(std::string_view text);

// The same number exactly as written, to ExactDecimal::kPlaces places: more non-zero places, or a whole part
// beyond Fixed4's, fail with the same message.
ConversionResult<ExactDecimal> parseExactDecimal(std::string_view text);

std::string integerConversionMessage(std::string_view text);
std::string decimalConversionMessage(std::string_view text);

} // namespace osago
