#include "tariff/PremiumCalculation.h"

#include "tariff/Conversions.h"
#include "tariff/DriverAge.h"
#include "tariff/Fixed4.h"
#include "tariff/TariffTables.h"

#include <algorithm>
#include <array>
#include <utility>

namespace osago {

namespace {

constexpr std::array<std::string_view, fieldCount> objectNames = {
    "LabeledEditTB", "LabeledEditKT",    "LabeledEditKBM",  "LabeledEditKVS", "LabeledEditKO", "LabeledEditKM",
    "LabeledEditKS", "LabeledEditKP",    "LabeledEditKN",   "LabeledEditSuma", "LabeledEditMoshn",
    "EditRaschetGruz", "Edit1",          "CheckBox2",       "CheckBox22",     "CheckBoxGrubOK",
};

constexpr std::size_t index(Field field)
{
    return static_cast<std::size_t>(field);
}

// The nine factors multiplied into the premium, in this order; they open the Field enumeration.
constexpr std::size_t factorCount = index(Field::KN) + 1;

// The driver flags are looked at in the first six positions only, the most the editor can list.
constexpr std::size_t flaggedDriverPositions = 6;

constexpr std::int32_t heavyTruckMassKg = 16000;
constexpr std::int32_t smallBusSeats = 20;
constexpr std::string_view bestClass = "13";
constexpr std::string_view malusClass = "M";

// Upper limits (horsepower, inclusive) of the power bands and their coefficients; above the last: "1,7".
constexpr std::array<std::pair<std::int32_t, std::string_view>, 5> powerBands = {{
    {50, "0,5"}, {70, "0,7"}, {100, "1"}, {120, "1,3"}, {150, "1,5"},
}};
constexpr std::string_view strongestPowerFactor = "1,7";

constexpr std::string_view capital = "Тальград";
constexpr std::array<std::string_view, 3> largeTowns = {"Борисоглебск", "Лиски", "Россошь"};

bool isLargeTown(std::string_view locality)
{
    return std::find(largeTowns.begin(), largeTowns.end(), locality) != largeTowns.end();
}

// A position past the end of a driver column reads as an empty text.
std::string_view itemAt(const std::vector<std::string>& column, std::size_t position)
{
    return position < column.size() ? std::string_view(column[position]) : std::string_view();
}

bool anyOfFirstPositions(const std::vector<std::string>& column, std::string_view text)
{
    for (std::size_t position = 0; position < flaggedDriverPositions; ++position) {
        if (itemAt(column, position) == text)
            return true;
    }
    return false;
}

class Calculation {
public:
    explicit Calculation(const CalcInput& input) : m_in(input)
    {
        m_result.writes.reserve(fieldCount);
        m_factors[index(Field::KT)] = input.currentKT;
    }

    CalcResult run() &&
    {
        if (baseTariff()) {
            territory();
            if (bonusMalus()) {
                ageAndExperience();
                driversAdmitted();
                if (enginePower()) {
                    periodOfUse();
                    insuranceTerm();
                    violations();
                    premium();
                }
            }
        }
        return std::move(m_result);
    }

private:
    bool baseTariff();
    void territory();
    bool bonusMalus();
    // Edit1's text after the search; false when a class did not convert.
    bool findWorstClass(std::string_view& worst);
    void ageAndExperience();
    void driversAdmitted();
    bool enginePower();
    void periodOfUse();
    void insuranceTerm();
    void violations();
    void premium();

    bool trailer() const { return isTrailer(m_in.vehicleType); }

    void write(Field field, std::string_view text) { m_result.writes.push_back({field, std::string(text)}); }
    void writeFactor(Field field, std::string_view text)
    {
        m_factors[index(field)] = text;
        write(field, text);
    }
    void writeCheck(Field field, bool checked) { write(field, checked ? checkedText : uncheckedText); }

    bool stop(std::string message)
    {
        m_result.error = std::move(message);
        return false;
    }

    const CalcInput& m_in;
    std::array<std::string_view, factorCount> m_factors{};
    CalcResult m_result;
};

bool Calculation::baseTariff()
{
    namespace type = vehicle_type;
    const std::string_view vehicle = m_in.vehicleType;
    std::string_view tariff = unknownFactor;
    if (vehicle == type::passengerCar)
        tariff = m_in.ownerIsPerson ? "1980" : "2375";
    if (vehicle == type::carTrailer)
        tariff = "395";
    if (vehicle == type::taxi)
        tariff = "2965";

    // The mass is read for every type, so a bad mass stops any calculation here.
    const auto mass = parseInteger(m_in.maxMass);
    if (!mass) {
        writeFactor(Field::TB, tariff);
        return stop(mass.error());
    }
    const bool heavyTruck = *mass > heavyTruckMassKg;
    write(Field::RaschetGruz, heavyTruck ? checkedText : uncheckedText);

    if (vehicle == type::truck)
        tariff = heavyTruck ? "3240" : "2025";
    if (vehicle == type::truckTrailer)
        tariff = "810";
    if (vehicle == type::bus) {
        const auto seats = parseInteger(m_in.seats);
        if (!seats) {
            writeFactor(Field::TB, tariff);
            return stop(seats.error());
        }
        tariff = *seats <= smallBusSeats ? "1620" : "2025";
        if (m_in.taxi)
            tariff = "2965";
    }
    if (vehicle == type::trolleybus)
        tariff = "1620";
    if (vehicle == type::tram)
        tariff = "1010";
    if (vehicle == type::tractor)
        tariff = "1215";
    if (vehicle == type::tractorTrailer)
        tariff = "305";
    if (vehicle == type::motorcycle)
        tariff = "1215";
    writeFactor(Field::TB, tariff);
    return true;
}

void Calculation::territory()
{
    // Outside the home region the field keeps whatever it holds, typed by the agent or not.
    if (m_in.ownerRegion != homeRegion)
        return;
    const std::string_view locality = m_in.ownerLocality;
    std::string_view territory = "0,5";
    if (!isTractor(m_in.vehicleType)) {
        if (locality == capital)
            territory = "1,3";
        if (isLargeTown(locality))
            territory = "1";
    } else if (locality == capital || isLargeTown(locality)) {
        territory = "0,8";
    }
    if (!m_in.registeredInCountry || m_in.ownerCountry != homeCountry)
        territory = "2";
    writeFactor(Field::KT, territory);
}

bool Calculation::findWorstClass(std::string_view& worst)
{
    const auto& classes = m_in.classes;
    if (std::find(classes.begin(), classes.end(), malusClass) != classes.end()) {
        worst = malusClass;
        return true;
    }
    // Only a strictly smaller class replaces the start value, so "14" never becomes the worst.
    worst = bestClass;
    std::int32_t worstValue = *parseInteger(bestClass);
    for (const std::string& driverClass : classes) {
        const auto value = parseInteger(driverClass);
        if (!value)
            return stop(value.error());
        if (*value < worstValue) {
            worst = driverClass;
            worstValue = *value;
        }
    }
    return true;
}

bool Calculation::bonusMalus()
{
    std::string_view driverClass = m_in.unlimitedClass;
    if (!m_in.unlimitedDrivers && !findWorstClass(driverClass)) {
        writeFactor(Field::KBM, unknownFactor);
        write(Field::Edit1, driverClass);
        return false;
    }
    std::string_view factor = bonusMalusFactor(driverClass);
    if (trailer() || !m_in.registeredInCountry || !m_in.periodSelectorShown)
        factor = notApplicable;
    writeFactor(Field::KBM, factor);
    if (!m_in.unlimitedDrivers)
        write(Field::Edit1, driverClass);
    return true;
}

void Calculation::ageAndExperience()
{
    const bool shortExperience = anyOfFirstPositions(m_in.experienceFlags, noText);
    const bool under22 = anyOfFirstPositions(m_in.ageFlags, noText);
    std::string_view factor = "1";
    if (under22)
        factor = shortExperience ? "1,3" : "1,2";
    else if (shortExperience)
        factor = "1,15";
    if (trailer() || !m_in.ownerIsPerson)
        factor = notApplicable;
    writeFactor(Field::KVS, factor);
    writeCheck(Field::CheckBox2, shortExperience);
    writeCheck(Field::CheckBox22, under22);
}

void Calculation::driversAdmitted()
{
    std::string_view factor = m_in.unlimitedDrivers && m_in.registeredInCountry ? "1,5" : "1";
    if (trailer() || !m_in.ownerIsPerson)
        factor = notApplicable;
    writeFactor(Field::KO, factor);
}

bool Calculation::enginePower()
{
    std::string_view power = m_in.powerHp;
    if (power.empty()) {
        power = "0";
        write(Field::Moshn, power);
    }
    // Converted for every type, also those for which the coefficient is "-".
    const auto horsepower = parseDecimal(power);
    if (!horsepower) {
        writeFactor(Field::KM, unknownFactor);
        return stop(horsepower.error());
    }
    std::string_view factor = strongestPowerFactor;
    for (const auto& [limit, bandFactor] : powerBands) {
        if (*horsepower <= Fixed4::fromWhole(limit)) {
            factor = bandFactor;
            break;
        }
    }
    if (m_in.vehicleType != vehicle_type::passengerCar && m_in.vehicleType != vehicle_type::taxi)
        factor = notApplicable;
    writeFactor(Field::KM, factor);
    return true;
}

void Calculation::periodOfUse()
{
    std::string_view factor = periodOfUseFactor(m_in.period);
    if (!m_in.ownerIsPerson || !m_in.periodSelectorShown)
        factor = notApplicable;
    writeFactor(Field::KS, factor);
}

void Calculation::insuranceTerm()
{
    std::string_view factor = insuranceTermFactor(m_in.term);
    if (trailer() || m_in.registeredInCountry || m_in.periodSelectorShown)
        factor = notApplicable;
    writeFactor(Field::KP, factor);
}

void Calculation::violations()
{
    const bool driverWithViolations = anyOfFirstPositions(m_in.grossFlags, yesText);
    std::string_view factor = m_in.unlimitedGross || driverWithViolations ? "1,5" : "1";
    if (trailer())
        factor = notApplicable;
    writeFactor(Field::KN, factor);
    writeCheck(Field::CheckBoxGrubOK, driverWithViolations);
}

void Calculation::premium()
{
    Fixed4 product = Fixed4::fromWhole(1);
    for (const std::string_view factor : m_factors) {
        if (factor == unknownFactor || factor == notApplicable)
            continue; // counts as 1
        const auto value = parseDecimal(factor);
        if (!value) {
            stop(value.error());
            return;
        }
        const auto next = product.multipliedBy(*value);
        if (!next) {
            stop(decimalConversionMessage(factor));
            return;
        }
        product = *next;
    }
    write(Field::Suma, product.format());
}

} // namespace

std::string_view fieldObjectName(Field field)
{
    return objectNames[index(field)];
}

bool isCheckBoxField(Field field)
{
    return field == Field::CheckBox2 || field == Field::CheckBox22 || field == Field::CheckBoxGrubOK;
}

CalcResult calculate(const CalcInput& input)
{
    return Calculation(input).run();
}

} // namespace osago
