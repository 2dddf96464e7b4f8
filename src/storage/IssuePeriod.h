#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace osago {

// The register's dates are texts "DD.MM.YYYY" (the editor's date mask, fully typed).
std::optional<QDate> registerDate(const QString& text);
QString registerDateText(QDate date);

// The days a policy may have been issued on, both ends included.
struct IssuePeriod
{
    QDate from;
    QDate to;

    bool contains(QDate day) const { return day >= from && day <= to; }
    bool isValid() const { return from.isValid() && to.isValid() && from <= to; }
};

// The calendar month before the one holding `today`.
IssuePeriod previousMonth(QDate today);

} // namespace osago
