#pragma once

#include <QString>
#include <QStringList>

namespace osago::test {

// The report's money worked out from the texts alone, as a decimal calculator would, without the program's
// arithmetic.

// A policy of a test's register: its issue date, premium and agent as written.
struct AgentIssue
{
    const char* issued;
    const char* premium;
    const char* agent;
};

__extension__ using Wide = __int128;

// An amount text "1234,5678" as a count of 10^-places, computed from its digits alone.
inline Wide scaled(const QString& text, int places)
{
    const QStringList parts = text.split(u',');
    const QString fraction = (parts.value(1) + QString(places, u'0')).left(places);
    Wide power = 1;
    for (int i = 0; i < places; ++i)
        power *= 10;
    return Wide(parts[0].toLongLong()) * power + fraction.toLongLong();
}

// Kopecks as the report writes them.
inline QString kopecks(Wide count)
{
    return QStringLiteral("%1,%2").arg(qint64(count / 100)).arg(qint64(count % 100), 2, 10, QLatin1Char('0'));
}

// premium × rate ÷ 100 in kopecks, a half up, as a decimal calculator would: the premium held in 10^-8, the rate
// in hundredths of a percent.
inline Wide commissionKopecks(const QString& premium, int hundredths)
{
    const Wide exact = scaled(premium, 8) * hundredths; // 10^-8 × 10^-4 of a rouble
    const Wide unit = Wide(1000000) * 10000;            // one kopeck in those units
    return (exact + unit / 2) / unit;
}

inline Wide roundedKopecks(const QString& premium)
{
    const Wide exact = scaled(premium, 8);
    return (exact + 500000) / 1000000;
}

} // namespace osago::test
