#include "print/RecordFactors.h"

#include "storage/PersonType.h"
#include "storage/YesNo.h"
#include "tariff/DriverAge.h"

#include <algorithm>

namespace osago {

namespace {

// Texts the editor holds in the selector that the row does not fill.
const QString kDefaultPeriod = QStringLiteral("12");
const QString kDefaultTerm = QStringLiteral("15 дней");
const QString kUntouchedFactor = QStringLiteral("?");

std::string utf8(const PolicyRow& row, QStringView column)
{
    return row.value(column).toStdString();
}

bool yes(const PolicyRow& row, QStringView column)
{
    return isYes(row.value(column));
}

std::string driverText(const PolicyRow& row, int driver, int attribute)
{
    return row.value(driverColumnIndex(driver, attribute)).toStdString();
}

constexpr int kBirthDate = 2;
constexpr int kExperience = 7;
constexpr int kClass = 8;
constexpr int kGross = 9;

} // namespace

std::optional<CalcInput> calcInputFromRow(const PolicyRow& row)
{
    CalcInput input;
    input.vehicleType = utf8(row, u"Тип_ТС");
    input.ownerIsPerson = !isLegalEntity(row.value(u"Тип_владельца"));
    input.maxMass = utf8(row, u"Разрешенная_макс_масса_кг");
    input.seats = utf8(row, u"Количество_мест_сидения");
    input.taxi = yes(row, u"Цель_исп_такси");
    input.ownerRegion = utf8(row, u"Владелец_регион");
    input.ownerLocality = utf8(row, u"Владелец_насел_пункт");
    input.ownerCountry = utf8(row, u"Владелец_страна");
    input.registeredInCountry = yes(row, u"РегРФ");
    input.periodSelectorShown = input.registeredInCountry;
    input.unlimitedDrivers = yes(row, u"Допущены_без_ограничений");
    input.unlimitedClass = utf8(row, u"Класс_ТС");
    input.unlimitedGross = yes(row, u"Грубые_наруш");
    const std::string issueDate = utf8(row, u"Дата_выдачи");
    for (int driver = 1; driver <= row.driverCount(); ++driver) {
        const auto age = ageFlag(driverText(row, driver, kBirthDate), issueDate);
        if (!age)
            return std::nullopt;
        input.classes.push_back(driverText(row, driver, kClass));
        input.experienceFlags.push_back(driverText(row, driver, kExperience));
        input.grossFlags.push_back(driverText(row, driver, kGross));
        input.ageFlags.emplace_back(*age);
    }
    input.powerHp = utf8(row, u"Мощность_л_с");
    const QString& periodOrTerm = row.value(u"Срок_использ_месяцы");
    input.period = (input.registeredInCountry ? periodOrTerm : kDefaultPeriod).toStdString();
    input.term = (input.registeredInCountry ? kDefaultTerm : periodOrTerm).toStdString();
    input.currentKT = kUntouchedFactor.toStdString();
    return input;
}

std::optional<TariffFactors> factorsAgreeingWithPremium(const PolicyRow& row)
{
    const std::optional<CalcInput> input = calcInputFromRow(row);
    if (!input)
        return std::nullopt;
    const CalcResult result = calculate(*input);
    if (result.error)
        return std::nullopt;

    // Each section contributes the final text of its field; the premium comes last.
    auto finalText = [&](Field field) -> std::optional<QString> {
        const auto write = std::find_if(result.writes.rbegin(), result.writes.rend(),
                                        [field](const FieldWrite& w) { return w.field == field; });
        if (write == result.writes.rend())
            return std::nullopt;
        return QString::fromStdString(write->text);
    };
    if (finalText(Field::Suma) != row.value(u"Сумма_страхования"))
        return std::nullopt;

    TariffFactors factors;
    for (int i = 0; i < kFactorCount; ++i)
        factors.texts[std::size_t(i)] = finalText(factorField(i)).value_or(kUntouchedFactor);
    return factors;
}

} // namespace osago
