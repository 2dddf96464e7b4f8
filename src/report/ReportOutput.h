#pragma once

#include "report/AgentReport.h"

#include <QByteArray>
#include <QString>

namespace osago {

// The listed policies as CSV lines (as the export writes them), then the unreadable rows and the totals.
bool writeAgentReportCsv(const AgentReport& report, const QString& path, QString* error);

// What a report's CSV begins with, so spreadsheets read it as UTF-8.
inline const QByteArray kUtf8Mark = QByteArrayLiteral("\xEF\xBB\xBF");

// Writes a report's file whole or not at all; on failure `error` gets the agent's message with the reason.
bool writeReportFile(const QByteArray& bytes, const QString& path, QString* error);

} // namespace osago
