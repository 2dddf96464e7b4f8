#include "report/Commission.h"

#include <QRegularExpression>

#include <algorithm>

namespace osago {

namespace {

constexpr int kKopeckPlaces = 2;
// A rate is hundredths of a percent: the premium is multiplied by it and divided by 100 × 100.
constexpr std::uint64_t kRateDenominator = 10000;

} // namespace

std::optional<int> parseCommissionRate(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,3})(?:[,.]([0-9]{1,2}))?$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const QString places = match.captured(2).leftJustified(2, u'0');
    const int hundredths = match.captured(1).toInt() * 100 + places.toInt();
    if (hundredths > kLargestCommission)
        return std::nullopt;
    return hundredths;
}

QString commissionRateText(int hundredths)
{
    QString text = QString::number(hundredths / 100);
    if (const int places = hundredths % 100; places != 0) {
        text += u',' + QStringLiteral("%1").arg(places, 2, 10, QLatin1Char('0'));
        if (text.endsWith(u'0'))
            text.chop(1);
    }
    return text;
}

std::optional<int> rateInForce(const CommissionRates& rates, QDate day)
{
    const auto after = std::upper_bound(rates.begin(), rates.end(), day,
                                        [](QDate one, const CommissionRate& rate) { return one < rate.from; });
    if (after == rates.begin())
        return std::nullopt;
    return std::prev(after)->hundredths;
}

std::optional<Settlement> settle(ExactDecimal premium, int rate)
{
    const std::optional<ExactDecimal> commission =
        premium.timesFraction(std::uint64_t(rate), kRateDenominator, kKopeckPlaces);
    if (!commission)
        return std::nullopt;
    const std::optional<ExactDecimal> transfer = premium.roundedTo(kKopeckPlaces).minus(*commission);
    if (!transfer)
        return std::nullopt;
    return Settlement{rate, *commission, *transfer};
}

QString kopeckText(ExactDecimal amount)
{
    return QString::fromStdString(amount.roundedTo(kKopeckPlaces).formatGrouped(kKopeckPlaces, {}));
}

} // namespace osago
