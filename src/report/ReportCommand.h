#pragma once

#include "storage/IssuePeriod.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QTextStream;

namespace osago {

// Who the report is for: the agent's and the insurer's names from the agent settings.
struct ReportParties
{
    QString agent;
    QString insurer;
};

// `osago report --from DD.MM.YYYY --to DD.MM.YYYY [--agent NAME] [--database REGISTER] OUTPUT.pdf|OUTPUT.csv`: the
// agent's report for the period (only NAME's policies with --agent) into OUTPUT. Exit 0 with the count and the sum on `errors`; 2 with one line for unusable words;
// 1 when the register cannot be read or the file cannot be written.
int runReportCommand(const QStringList& words, QTextStream& errors, const ReportParties& parties);

// For main(): runs the command when argv[1] is "report", the parties looked up once the settings can be read.
std::optional<int> runReportCommandIfRequested(int argc, char* argv[], const std::function<ReportParties()>& parties);

} // namespace osago
