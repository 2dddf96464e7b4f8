#include "blanks/report/BlankReportOutput.h"

#include "storage/IssuePeriod.h"

namespace osago {

DocumentList blankReportPages(const BlankReport&)
{
    return {};
}

bool writeBlankReportCsv(const BlankReport&, const QString&, QString* error)
{
    *error = QStringLiteral("Отчёт по бланкам ещё не готов");
    return false;
}

QString blankReportName(const IssuePeriod& period)
{
    return QStringLiteral("Отчёт по бланкам %1-%2").arg(registerDateText(period.from), registerDateText(period.to));
}

} // namespace osago
