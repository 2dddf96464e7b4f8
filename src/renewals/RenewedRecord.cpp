#include "renewals/RenewedRecord.h"

#include "renewals/RenewalTerm.h"
#include "storage/IssuePeriod.h"

namespace osago {

PolicyRow renewedRow(const PolicyRow& old, QDate today)
{
    PolicyRow row = old;
    const QString& oldFrom = old.value(u"Страх_с");
    const QString& oldTo = old.value(u"Страх_по");
    const std::optional<QDate> oldEnd = registerDate(oldTo);
    if (oldEnd) {
        const InsuranceTerm term = renewedTerm(registerDate(oldFrom), *oldEnd);
        const bool useFollows = old.value(u"Использ_с") == oldFrom && old.value(u"Использ_по") == oldTo;
        row.setValue(u"Страх_с", registerDateText(term.from));
        row.setValue(u"Страх_по", registerDateText(term.to));
        row.setValue(u"Дата_начала_срока_страхования", registerDateText(term.from));
        row.setValue(u"Использ_с", useFollows ? registerDateText(term.from) : QString());
        row.setValue(u"Использ_по", useFollows ? registerDateText(term.to) : QString());
    }
    row.setValue(u"Дата_выдачи", registerDateText(today));
    for (QStringView emptied : {u"Номер_серия_полиса", u"Квитанция", u"Номер_серия_спец_знака", u"Сумма_страхования"})
        row.setValue(emptied, {});
    row.setValue(rowCodeColumnIndex(), {});
    return row;
}

} // namespace osago
