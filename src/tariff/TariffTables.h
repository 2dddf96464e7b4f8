#pragma once

#include <array>
#include <string_view>

namespace osago {

// Vehicle types as the type list of the vehicle page spells them; the calculation compares the
// type text with them exactly.
namespace vehicle_type {
inline constexpr std::string_view passengerCar = "Легковой автомобиль";
inline constexpr std::string_view carTrailer = "Прицеп  к легковому автомобилю"; // two blanks, as listed
inline constexpr std::string_view taxi = "Такси (в т.ч. маршрутное)";
inline constexpr std::string_view truck = "Грузовой автомобиль";
inline constexpr std::string_view truckTrailer = "Прицеп к грузовому автомобилю";
inline constexpr std::string_view bus = "Автобус";
inline constexpr std::string_view trolleybus = "Троллейбус";
inline constexpr std::string_view tram = "Трамвай";
inline constexpr std::string_view tractor = "Тракторы, самоходные дорожно-строительные и иные машины";
inline constexpr std::string_view tractorTrailer = "Прицепы к тракторам, самоход. дорожно-строит. и иным машинам";
inline constexpr std::string_view motorcycle = "Мотоциклы и мотороллеры";
} // namespace vehicle_type

// The eleven types in the order of the type list.
inline constexpr std::array<std::string_view, 11> vehicleTypes = {
    vehicle_type::passengerCar, vehicle_type::carTrailer, vehicle_type::taxi,    vehicle_type::truck,
    vehicle_type::truckTrailer, vehicle_type::bus,        vehicle_type::trolleybus, vehicle_type::tram,
    vehicle_type::tractor,      vehicle_type::tractorTrailer, vehicle_type::motorcycle,
};

inline constexpr std::string_view homeRegion = "Тальградская область";
inline constexpr std::string_view homeCountry = "РФ";

bool isTrailer(std::string_view vehicleType);
// The permitted and the unladen mass apply to lorries only, the number of seats to buses only: the vehicle page
// shows those fields for them alone.
bool hasLoadMass(std::string_view vehicleType);
bool hasSeatCount(std::string_view vehicleType);
bool isTractor(std::string_view vehicleType);

// Factor texts of the lookup tables; "?" when the text is in no row.
inline constexpr std::string_view unknownFactor = "?";
inline constexpr std::string_view notApplicable = "-";

std::string_view bonusMalusFactor(std::string_view driverClass);
std::string_view periodOfUseFactor(std::string_view months);
std::string_view insuranceTermFactor(std::string_view term);

} // namespace osago
