#pragma once

#include "storage/PolicyRow.h"
#include "tariff/PremiumCalculation.h"

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

class QWidget;

namespace osago {

inline constexpr int kFactorCount = 9;

// The nine factors of the premium as texts, in the order ТБ, КТ, КБМ, КВС, КО, КМ, КС, КП, КН.
struct TariffFactors
{
    std::array<QString, kFactorCount> texts;

    friend bool operator==(const TariffFactors&, const TariffFactors&) = default;
};

// The short name of factor `index` (0-8): "ТБ", "КТ", ..., "КН"; the templates address the factors by these names.
QString factorName(int index);
// The calculation's field of factor `index` (0-8).
Field factorField(int index);

// The factors the editor's results page shows now.
TariffFactors factorsFromEditor(const QWidget& editor);

// What the four documents of one policy are made from.
struct PrintRecord
{
    PolicyRow row;
    // The factors of the editor's results page when printing from the editor; otherwise they are recomputed from
    // the row (see RecordFactors.h).
    std::optional<TariffFactors> factors;
    // The insurer of the agent settings ("Страховщик:"); the register keeps no column for it.
    QString insurer;
};

} // namespace osago
