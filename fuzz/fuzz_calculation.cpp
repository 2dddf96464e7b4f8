// libFuzzer target: the premium calculation over arbitrary control texts and flags. The input is
// one byte of flags followed by the texts separated by newlines; driver columns take the texts
// after the scalar ones, four per driver.
#include "tariff/Conversions.h"
#include "tariff/PremiumCalculation.h"

#include <array>
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

std::string_view nextText(std::string_view& rest)
{
    const std::size_t end = rest.find('\n');
    const std::string_view text = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    return text;
}

osago::CalcInput inputFrom(std::string_view bytes)
{
    osago::CalcInput input;
    const unsigned flags = bytes.empty() ? 0 : static_cast<unsigned char>(bytes.front());
    if (!bytes.empty())
        bytes.remove_prefix(1);
    input.ownerIsPerson = flags & 1;
    input.taxi = flags & 2;
    input.registeredInCountry = flags & 4;
    input.periodSelectorShown = flags & 8;
    input.unlimitedDrivers = flags & 16;
    input.unlimitedGross = flags & 32;

    for (std::string* text : {&input.vehicleType, &input.maxMass, &input.seats, &input.ownerRegion,
                              &input.ownerLocality, &input.ownerCountry, &input.unlimitedClass, &input.powerHp,
                              &input.period, &input.term, &input.currentKT})
        *text = nextText(bytes);
    while (!bytes.empty()) {
        input.classes.emplace_back(nextText(bytes));
        input.experienceFlags.emplace_back(nextText(bytes));
        input.grossFlags.emplace_back(nextText(bytes));
        input.ageFlags.emplace_back(nextText(bytes));
    }
    return input;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const osago::CalcInput input = inputFrom(std::string_view(reinterpret_cast<const char*>(data), size));
    const osago::CalcResult result = osago::calculate(input);

    std::array<int, osago::fieldCount> writesPerField{};
    bool premiumWritten = false;
    for (const osago::FieldWrite& write : result.writes) {
        ++writesPerField[static_cast<std::size_t>(write.field)];
        if (osago::isCheckBoxField(write.field))
            require(write.text == osago::checkedText || write.text == osago::uncheckedText);
        if (write.field == osago::Field::Suma) {
            premiumWritten = true;
            require(osago::parseDecimal(write.text).ok());
        }
    }
    for (const int count : writesPerField)
        require(count <= 1);
    // A stop and a premium exclude each other, and the premium is always the last write.
    require(premiumWritten != result.error.has_value());
    require(!premiumWritten || result.writes.back().field == osago::Field::Suma);
    // Calculating again from the same input gives the same writes.
    const osago::CalcResult again = osago::calculate(input);
    require(again.writes.size() == result.writes.size() && again.error == result.error);
    return 0;
}
