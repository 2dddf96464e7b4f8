#pragma once

#include "tariff/calc/HeadlessEditor.h"

#include <optional>
#include <string>
#include <string_view>

namespace osago {

// The output of `osago calc`: the factor fields, the premium, the power field, the scratch fields
// and the message of a stop ("error": null when there was none), one key a line.
std::string calcReport(const HeadlessEditor& editor, const std::optional<std::string>& error);

// A JSON string literal for UTF-8 text, quotes included.
std::string jsonString(std::string_view text);

} // namespace osago
