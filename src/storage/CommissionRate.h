#pragma once

#include <QDate>
#include <QStringView>

#include <vector>

namespace osago {

// One of the agent's commission rates: a share of the premium in hundredths of a percent (1250 is 12,5 %), in
// force from its day on until the next rate's day. The register keeps the schedule, so every desk and every
// copy of the register reports a period alike.
struct CommissionRate
{
    QDate from;
    int hundredths = 0;

    friend bool operator==(const CommissionRate&, const CommissionRate&) = default;
};

// The rates by their days, the earliest first.
using CommissionRates = std::vector<CommissionRate>;

// The table of the rates beside TableStrah, in both engines: the day a rate applies from, and the rate.
inline constexpr QStringView kCommissionTable = u"Ставки_вознаграждения";
inline constexpr QStringView kCommissionFromColumn = u"Действует_с";
inline constexpr QStringView kCommissionRateColumn = u"Сотых_процента";
inline constexpr int kLargestCommission = 10000;

} // namespace osago
