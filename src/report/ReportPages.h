#pragma once

#include "report/AgentReport.h"
#include "print/Document.h"

namespace osago {

// The report's pages, A4 portrait, for the preview, the printer and a PDF file: a title with the agent, the
// insurer and the period, the policies (the table's header again on every page it goes on to), the summary by
// vehicle type, the totals and the rows that could not be read. Every row is measured once to split the report
// into pages; a page draws only its own rows, and only when it is painted.
DocumentList agentReportPages(const AgentReport& report);

} // namespace osago
