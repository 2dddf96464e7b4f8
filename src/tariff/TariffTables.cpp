#include "tariff/TariffTables.h"

#include <algorithm>
#include <utility>

namespace osago {

namespace {

using Row = std::pair<std::string_view, std::string_view>;

template <std::size_t N>
std::string_view lookUp(const std::array<Row, N>& table, std::string_view key)
{
    const auto row = std::find_if(table.begin(), table.end(), [key](const Row& r) { return r.first == key; });
    return row == table.end() ? unknownFactor : row->second;
}

constexpr std::array<Row, 15> bonusMalusTable = {{
    {"M", "2,45"}, {"0", "2,3"},  {"1", "1,55"}, {"2", "1,4"},   {"3", "1"},
    {"4", "0,95"}, {"5", "0,9"},  {"6", "0,85"}, {"7", "0,8"},   {"8", "0,75"},
    {"9", "0,7"},  {"10", "0,65"}, {"11", "0,6"}, {"12", "0,55"}, {"13", "0,5"},
}};

constexpr std::array<Row, 7> periodOfUseTable = {{
    {"6", "0,7"}, {"7", "0,8"}, {"8", "0,9"}, {"9", "0,95"}, {"10", "1"}, {"11", "1"}, {"12", "1"},
}};

constexpr std::array<Row, 13> insuranceTermTable = {{
    {"15 дней", "0,2"}, {"1", "0,3"}, {"2", "0,4"},  {"3", "0,5"}, {"4", "0,6"},  {"5", "0,65"}, {"6", "0,7"},
    {"7", "0,8"},       {"8", "0,9"}, {"9", "0,95"}, {"10", "1"},  {"11", "1"},   {"12", "1"},
}};

} // namespace

bool hasLoadMass(std::string_view vehicleType)
{
    return vehicleType == vehicle_type::truck;
}

bool hasSeatCount(std::string_view vehicleType)
{
    return vehicleType == vehicle_type::bus;
}

bool isTrailer(std::string_view vehicleType)
{
    return vehicleType == vehicle_type::carTrailer || vehicleType == vehicle_type::truckTrailer
        || vehicleType == vehicle_type::tractorTrailer;
}

bool isTractor(std::string_view vehicleType)
{
    return vehicleType == vehicle_type::tractor || vehicleType == vehicle_type::tractorTrailer;
}

std::string_view bonusMalusFactor(std::string_view driverClass)
{
    return lookUp(bonusMalusTable, driverClass);
}

std::string_view periodOfUseFactor(std::string_view months)
{
    return lookUp(periodOfUseTable, months);
}

std::string_view insuranceTermFactor(std::string_view term)
{
    return lookUp(insuranceTermTable, term);
}

} // namespace osago
