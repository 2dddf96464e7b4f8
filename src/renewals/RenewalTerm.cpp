#include "renewals/RenewalTerm.h"

namespace osago {

namespace {

constexpr int kMonthsInYear = 12;
// No policy runs longer; a term longer than this is renewed for this long.
constexpr int kLongestTermMonths = 10 * kMonthsInYear;

} // namespace

QDate termEnd(QDate from, int months)
{
    const QDate monthOn = QDate(from.year(), from.month(), 1).addMonths(months);
    if (from.day() > monthOn.daysInMonth())
        return QDate(monthOn.year(), monthOn.month(), monthOn.daysInMonth());
    return QDate(monthOn.year(), monthOn.month(), from.day()).addDays(-1);
}

int termMonths(const InsuranceTerm& term)
{
    int months = 1;
    while (months < kLongestTermMonths && termEnd(term.from, months) < term.to)
        ++months;
    return months;
}

InsuranceTerm renewedTerm(std::optional<QDate> oldStart, QDate oldEnd)
{
    const int months = oldStart && *oldStart <= oldEnd ? termMonths({*oldStart, oldEnd}) : kMonthsInYear;
    const QDate from = oldEnd.addDays(1);
    return {from, termEnd(from, months)};
}

} // namespace osago
