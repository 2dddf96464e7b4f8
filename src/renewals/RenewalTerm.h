#pragma once

#include <QDate>

#include <optional>

namespace osago {

// The insurance period of a policy: its first and its last day.
struct InsuranceTerm
{
    QDate from;
    QDate to;

    friend bool operator==(const InsuranceTerm&, const InsuranceTerm&) = default;
};

// The last day of a term of `months` months from `from`: the day before the same day `months` months on, or
// where that month has no such day (31.01 + 1 month), that month's last day.
QDate termEnd(QDate from, int months);

// The whole months of a term: the fewest whose termEnd() reaches `to`, at least 1.
int termMonths(const InsuranceTerm& term);

// The term that renews one ending on `oldEnd`: from the next day, as many months as the old term (`oldStart`
// unreadable: a year).
InsuranceTerm renewedTerm(std::optional<QDate> oldStart, QDate oldEnd);

// Days from `today` to the term's last day: 0 on that day, negative once it has passed.
inline int daysLeft(QDate lastDay, QDate today)
{
    return int(today.daysTo(lastDay));
}

} // namespace osago
