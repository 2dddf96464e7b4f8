#pragma once

#include "AgentReport.h"
#include "Document.h"

#include <QString>

namespace osago {

// The report as the agent reads it: a title with the agent, the insurer and the period, the policies, the
// summary by vehicle type, the totals and the rows that could not be read.
QString agentReportHtml(const AgentReport& report);

// The report's pages, A4 portrait, for the preview, the printer and a PDF file.
DocumentList agentReportPages(const AgentReport& report);

// The listed policies as CSV lines (as the export writes them), then the unreadable rows and the totals.
bool writeAgentReportCsv(const AgentReport& report, const QString& path, QString* error);

} // namespace osago
