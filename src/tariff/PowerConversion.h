#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace osago {

// The two engine power fields of the vehicle page.
enum class PowerField { Horsepower, Kilowatts };

// "LabeledEditMoshn" or "LabeledEditKVt".
std::string_view powerFieldObjectName(PowerField field);

// What "=" does: write `text` into `target`, or show `error` and write nothing, or neither when
// there is nothing to convert.
struct PowerConversion {
    std::optional<PowerField> target;
    std::string text;
    std::optional<std::string> error;
};

// Fills the empty one of the two fields from the other at 1,36 horsepower per kilowatt, the
// result rounded to four places half to even and written in the program's number text.
PowerConversion convertPower(std::string_view horsepowerText, std::string_view kilowattText);

// "=" is enabled exactly while one of the two fields holds text and the other is empty.
bool equalsButtonEnabled(std::string_view horsepowerText, std::string_view kilowattText);

} // namespace osago
