#include "blanks/BlankReceiving.h"

#include "storage/BlankNumbers.h"

#include <QLocale>

namespace osago {

namespace {

CheckedReceipt refused(ReceiptField field, const QString& reason)
{
    CheckedReceipt checked;
    checked.field = field;
    checked.refusal = QStringLiteral("Поле «%1»: %2").arg(receiptFieldName(field), reason);
    return checked;
}

// The number of a field, when it is the kind's count of digits.
std::optional<qint64> numberOf(BlankKind kind, const QString& text)
{
    const QString digits = text.trimmed();
    if (digits.size() != blankDigits(kind))
        return std::nullopt;
    qint64 number = 0;
    for (QChar digit : digits) {
        if (digit < u'0' || digit > u'9')
            return std::nullopt;
        number = number * 10 + digit.digitValue();
    }
    return number;
}

QString digitsRule(BlankKind kind)
{
    return QStringLiteral("номер бланка «%1» — %2 цифр").arg(blankKindName(kind)).arg(blankDigits(kind));
}

} // namespace

QString receiptFieldName(ReceiptField field)
{
    switch (field) {
    case ReceiptField::Series: return QStringLiteral("Серия");
    case ReceiptField::First: return QStringLiteral("Первый номер");
    case ReceiptField::Last: return QStringLiteral("Последний номер");
    case ReceiptField::Date: return QStringLiteral("Дата");
    case ReceiptField::None: break;
    }
    return {};
}

CheckedReceipt checkReceipt(const ReceiptEntry& entry)
{
    QString series;
    if (hasSeries(entry.kind)) {
        series = foldBlankSeries(entry.series);
        if (series.isEmpty())
            return refused(ReceiptField::Series, QStringLiteral("серия не указана"));
        if (!isBlankSeries(series))
            return refused(ReceiptField::Series, QStringLiteral("серия — три буквы, например ААА"));
    }
    const std::optional<qint64> first = numberOf(entry.kind, entry.first);
    if (!first)
        return refused(ReceiptField::First, digitsRule(entry.kind));
    const std::optional<qint64> last = numberOf(entry.kind, entry.last);
    if (!last)
        return refused(ReceiptField::Last, digitsRule(entry.kind));
    if (*first > *last)
        return refused(ReceiptField::First, QStringLiteral("первый номер больше последнего"));
    if (!entry.date.isValid())
        return refused(ReceiptField::Date, QStringLiteral("дата не указана"));
    CheckedReceipt checked;
    checked.receipt = BlankReceipt{entry.kind, series, *first, *last, entry.date, entry.act.trimmed(),
                                   entry.note.trimmed()};
    checked.count = *last - *first + 1;
    return checked;
}

QString longReceiptQuestion(qint64 count)
{
    return QStringLiteral("Поступает %1 бланков. Принять их?").arg(QLocale(QLocale::Russian).toString(count));
}

} // namespace osago
