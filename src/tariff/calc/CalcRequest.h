#pragma once

#include "tariff/ConversionResult.h"
#include "tariff/calc/HeadlessEditor.h"

#include <QByteArray>

#include <string>
#include <utility>
#include <vector>

namespace osago {

// The input of `osago calc`, checked against the editor's controls:
// {"controls": {"<control>": "<text>" | true | false, ...},
//  "drivers": [{"ComboBox1": "<text>", ..., "ComboBox10": "<text>"}, ...]}
struct CalcRequest {
    // In the editor's control order, whatever their order in the input.
    std::vector<std::pair<std::string, bool>> states;
    std::vector<std::pair<std::string, std::string>> texts;
    std::vector<DriverAttributes> drivers;
};

// The request, or one line saying why the input is unusable.
ConversionResult<CalcRequest> readCalcRequest(const QByteArray& json);

} // namespace osago
