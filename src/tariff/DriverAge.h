#pragma once

#include "tariff/ConversionResult.h"

#include <string_view>

namespace osago {

inline constexpr std::string_view yesText = "Да";
inline constexpr std::string_view noText = "Нет";

// The age flag of a permitted driver: "Да" when the driver born on `birthDate` has turned 22 by
// `issueDate`, the 22nd birthday included, else "Нет". Both texts are read as DD.MM.YYYY by
// fixed character positions (year 7-10, month 4-5, day 1-2) and converted as whole numbers only
// where the comparison needs them: years first, months only for a difference of exactly 22 years,
// days only for equal months. A text that does not convert gives the whole-number message.
ConversionResult<std::string_view> ageFlag(std::string_view birthDate, std::string_view issueDate);

} // namespace osago
