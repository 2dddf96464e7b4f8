#pragma once

#include "print/PrintRecord.h"
#include "tariff/PremiumCalculation.h"

#include <optional>

namespace osago {

// The premium calculation's input as the editor would hold it with `row` loaded: the period or the term from
// `Срок_использ_месяцы` by `РегРФ`, each driver's age flag derived again against `Дата_выдачи`, and the
// territory factor at its untouched "?". Nothing when an age flag cannot be derived.
std::optional<CalcInput> calcInputFromRow(const PolicyRow& row);

// The factors recomputed from the register row, but only when they give exactly the premium the row holds: a
// document never shows factors that do not multiply to its premium (a territory factor typed by the agent, or a
// tariff changed since, cannot be recomputed from the row).
std::optional<TariffFactors> factorsAgreeingWithPremium(const PolicyRow& row);

} // namespace osago
