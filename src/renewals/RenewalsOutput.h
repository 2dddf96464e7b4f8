#pragma once

#include "print/Document.h"
#include "renewals/RenewalsDue.h"

#include <QStringList>

#include <vector>

namespace osago {

// The policies to renew as the window, the table files and the printed list show them, a row a policy: the
// policy, the policyholder, the telephone, the vehicle, the plate, the end date, the days left from `today` and
// the last premium.
QStringList renewalsHeader();
QStringList renewalTexts(const RenewalDue& renewal, QDate today);

// "Окончание договоров 01.03.2026-31.03.2026": the list's title, its PDF's title and file name.
QString renewalsName(const IssuePeriod& period);

// The table file `path` (CSV or XLSX by its extension): the header row, then one row a policy; false with the
// reason in `error` when it is not written, whatever was there before left as it was.
bool writeRenewalsTable(const std::vector<RenewalDue>& renewals, QDate today, const QString& path, QString* error);

// The printed list: the period, the policies and their count.
DocumentList renewalsPages(const std::vector<RenewalDue>& renewals, const IssuePeriod& period, QDate today);

} // namespace osago
