#pragma once

#include "tariff/PremiumCalculation.h"

#include <QString>

#include <optional>

class QWidget;

namespace osago {

// What the premium calculation reads, taken from the editor's controls on every page: the
// vehicle, the owner, the general terms and the drivers page with its hidden driver lists.
CalcInput readCalcInput(const QWidget& editor);

// Runs the premium calculation over the editor and writes its texts back in the order the
// sections wrote them, each as the program writes a control (so the change rule of a power
// field written "0" runs). Returns the message of a conversion that stopped it.
std::optional<QString> calculatePremium(const QWidget& editor);

} // namespace osago
