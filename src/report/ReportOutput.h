#pragma once

#include "report/AgentReport.h"

#include <QString>

namespace osago {

// The listed policies as CSV lines (as the export writes them), then the unreadable rows and the totals.
bool writeAgentReportCsv(const AgentReport& report, const QString& path, QString* error);

} // namespace osago
