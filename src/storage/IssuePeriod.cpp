#include "storage/IssuePeriod.h"

namespace osago {

namespace {
const QString kDateFormat = QStringLiteral("dd.MM.yyyy");
}

std::optional<QDate> registerDate(const QString& text)
{
    // QDate's own parser takes a shorter text for "dd.MM.yyyy"; a stored date is always ten characters.
    if (text.size() != kDateFormat.size())
        return std::nullopt;
    const QDate day = QDate::fromString(text, kDateFormat);
    return day.isValid() ? std::optional(day) : std::nullopt;
}

QString registerDateText(QDate date)
{
    return date.toString(kDateFormat);
}

IssuePeriod previousMonth(QDate today)
{
    const QDate first = QDate(today.year(), today.month(), 1).addMonths(-1);
    return {first, first.addDays(first.daysInMonth() - 1)};
}

} // namespace osago
