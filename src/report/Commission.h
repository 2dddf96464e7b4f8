#pragma once

#include "storage/CommissionRate.h"
#include "tariff/ExactDecimal.h"

#include <QDate>
#include <QString>

#include <optional>

namespace osago {

// The rate as the agent types it: a percentage from 0 to 100 with up to two places after a comma (or a point),
// "12,5" giving 1250 hundredths; std::nullopt for anything else.
std::optional<int> parseCommissionRate(const QString& text);
// The rate in the program's number text, no trailing zeros: 1250 as "12,5".
QString commissionRateText(int hundredths);

// The rate in force on `day`: the one of the latest day not after it; none before the first rate.
std::optional<int> rateInForce(const CommissionRates& rates, QDate day);

// What one policy settles: the agent's commission, premium × rate ÷ 100 rounded a half up to the kopeck, and
// the amount to transfer to the insurer, the premium rounded the same way less the commission.
struct Settlement
{
    int rate = 0;
    ExactDecimal commission;
    ExactDecimal transfer;
};
// std::nullopt past the range of the program's numbers.
std::optional<Settlement> settle(ExactDecimal premium, int rate);

// An amount in roubles and kopecks, rounded a half up, no grouping: "1234,50".
QString kopeckText(ExactDecimal amount);

// The report's line on how its amounts are rounded.
inline const QString kCommissionRoundingRule = QStringLiteral(
    "Вознаграждение считается по каждому полису: премия × ставка ÷ 100 с округлением до копейки (половина копейки — "
    "вверх); к перечислению — премия, округлённая так же, минус вознаграждение; итоги — суммы округлённых сумм "
    "полисов.");

} // namespace osago
