#pragma once

#include "report/AgentReport.h"
#include "print/Document.h"

namespace osago {

// The report's pages, A4 portrait, for the preview, the printer and a PDF file: a title with the agent, the
// insurer and the period, the policies (the table's header again on every page it goes on to), the summary by
// vehicle type, the totals and the rows that could not be read; a row taller than a page goes on over the next
// pages. Every row is measured once to split the report into pages; a page draws only its own rows, and only
// when it is painted.
DocumentList agentReportPages(const AgentReport& report);

// The report's name, its PDF's title and file name: "Отчёт агента 01.03.2026-31.03.2026".
QString agentReportName(const IssuePeriod& period);

} // namespace osago
