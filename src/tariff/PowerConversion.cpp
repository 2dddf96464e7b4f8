#include "tariff/PowerConversion.h"

#include "tariff/Conversions.h"
#include "tariff/Fixed4.h"

namespace osago {

namespace {

constexpr Fixed4 horsepowerPerKilowatt = Fixed4::fromTenThousandths(13600);

PowerConversion converted(std::string_view source, PowerField target)
{
    const auto value = parseDecimal(source);
    if (!value)
        return {std::nullopt, {}, value.error()};
    const auto result = target == PowerField::Kilowatts ? value->dividedBy(horsepowerPerKilowatt)
                                                        : value->multipliedBy(horsepowerPerKilowatt);
    if (!result)
        return {std::nullopt, {}, decimalConversionMessage(source)};
    return {target, result->format(), std::nullopt};
}

} // namespace

std::string_view powerFieldObjectName(PowerField field)
{
    return field == PowerField::Horsepower ? "LabeledEditMoshn" : "LabeledEditKVt";
}

PowerConversion convertPower(std::string_view horsepowerText, std::string_view kilowattText)
{
    if (!horsepowerText.empty() && kilowattText.empty())
        return converted(horsepowerText, PowerField::Kilowatts);
    if (!kilowattText.empty() && horsepowerText.empty())
        return converted(kilowattText, PowerField::Horsepower);
    return {};
}

bool equalsButtonEnabled(std::string_view horsepowerText, std::string_view kilowattText)
{
    return horsepowerText.empty() != kilowattText.empty();
}

} // namespace osago
