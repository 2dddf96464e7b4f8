#include "tariff/DriverAge.h"

#include "tariff/Conversions.h"
#include "tariff/Utf8Text.h"

#include <cstdint>

namespace osago {

namespace {

constexpr int ageOfAdmission = 22;

// A date part as a whole number; positions past the end of a shorter text read as nothing.
ConversionResult<std::int32_t> datePart(std::string_view date, std::size_t first, std::size_t length)
{
    return parseInteger(characterSlice(date, first, length));
}

ConversionResult<std::int32_t> year(std::string_view date)
{
    return datePart(date, 7, 4);
}

ConversionResult<std::int32_t> month(std::string_view date)
{
    return datePart(date, 4, 2);
}

ConversionResult<std::int32_t> day(std::string_view date)
{
    return datePart(date, 1, 2);
}

using Flag = ConversionResult<std::string_view>;

Flag flag(bool turned22)
{
    return Flag::success(turned22 ? yesText : noText);
}

// Compares part(birth) with part(issue): the birth part is converted first.
template <typename Part>
ConversionResult<std::int64_t> birthMinusIssue(Part part, std::string_view birthDate, std::string_view issueDate)
{
    const auto ofBirth = part(birthDate);
    if (!ofBirth)
        return ConversionResult<std::int64_t>::failure(ofBirth.error());
    const auto ofIssue = part(issueDate);
    if (!ofIssue)
        return ConversionResult<std::int64_t>::failure(ofIssue.error());
    return ConversionResult<std::int64_t>::success(std::int64_t{*ofBirth} - *ofIssue);
}

} // namespace

Flag ageFlag(std::string_view birthDate, std::string_view issueDate)
{
    // The year difference reads the issue year first.
    const auto issueYear = year(issueDate);
    if (!issueYear)
        return Flag::failure(issueYear.error());
    const auto birthYear = year(birthDate);
    if (!birthYear)
        return Flag::failure(birthYear.error());
    const std::int64_t years = std::int64_t{*issueYear} - *birthYear;
    if (years != ageOfAdmission)
        return flag(years > ageOfAdmission);

    const auto months = birthMinusIssue(month, birthDate, issueDate);
    if (!months)
        return Flag::failure(months.error());
    if (*months != 0)
        return flag(*months < 0);

    const auto days = birthMinusIssue(day, birthDate, issueDate);
    if (!days)
        return Flag::failure(days.error());
    return flag(*days <= 0);
}

} // namespace osago
