#pragma once

#include "blanks/BlankReport.h"
#include "print/Document.h"

#include <QString>

namespace osago {

// The blank report's pages (A4, the agent's report's page machinery): per kind and series the groups' counts,
// a mismatch of the balance said under its line, then the numbers of each group as ranges, then the
// discrepancies.
DocumentList blankReportPages(const BlankReport& report);

// The same as CSV lines (UTF-8 with its mark, as the agent's report writes them).
bool writeBlankReportCsv(const BlankReport& report, const QString& path, QString* error);

// The report's name, its PDF's title and file name: "Отчёт по бланкам 01.03.2026-31.03.2026".
QString blankReportName(const IssuePeriod& period);

} // namespace osago
