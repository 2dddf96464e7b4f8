// libFuzzer target: the whole-number and decimal conversions, four-decimal arithmetic, character
// slicing and the age rule, with the properties they promise checked on every input.
#include "tariff/Conversions.h"
#include "tariff/DriverAge.h"
#include "tariff/Fixed4.h"
#include "tariff/PowerConversion.h"
#include "tariff/Utf8Text.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void checkInteger(std::string_view text)
{
    const auto result = osago::parseInteger(text);
    if (!result) {
        require(result.error() == "'" + std::string(text) + "' is not a valid integer value");
        return;
    }
    require(osago::parseInteger(std::to_string(*result)).value() == *result);
}

void checkDecimal(std::string_view text)
{
    const auto result = osago::parseDecimal(text);
    if (!result) {
        require(result.error() == "'" + std::string(text) + "' is not a valid floating point value");
        return;
    }
    const osago::Fixed4 value = *result;
    // The written form reads back as the same number.
    require(osago::parseDecimal(value.format()).value() == value);
    const osago::Fixed4 one = osago::Fixed4::fromWhole(1);
    require(value.multipliedBy(one) == value);
    require(value.dividedBy(one) == value);
    // Multiplying by a number and dividing by it again lands within one count of the start
    // whenever both steps fit.
    const osago::Fixed4 factor = osago::Fixed4::fromTenThousandths(13600);
    if (const auto product = value.multipliedBy(factor)) {
        const auto back = product->dividedBy(factor);
        require(back.has_value());
        const std::int64_t difference = back->tenThousandths() - value.tenThousandths();
        require(difference >= -1 && difference <= 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkInteger(text);
    checkDecimal(text);

    // The same bytes as a pair of dates and of power texts, split at the first newline.
    const std::size_t split = text.find('\n');
    const std::string_view first = text.substr(0, split);
    const std::string_view second = split == std::string_view::npos ? std::string_view() : text.substr(split + 1);
    const auto flag = osago::ageFlag(first, second);
    require(!flag || *flag == osago::yesText || *flag == osago::noText);
    const auto conversion = osago::convertPower(first, second);
    require(!(conversion.target && conversion.error));
    require(osago::equalsButtonEnabled(first, second) == (first.empty() != second.empty()));

    const std::size_t characters = osago::characterCount(text);
    require(characters <= text.size());
    const std::string_view tail = osago::characterSlice(text, 2, characters);
    require(tail.size() <= text.size());
    return 0;
}
