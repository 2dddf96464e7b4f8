#include "report/ReportCommand.h"

#include "report/AgentReport.h"
#include "commands/CommandRegister.h"
#include "commands/CommandWords.h"
#include "print/PdfExport.h"
#include "storage/PolicyDatabase.h"
#include "report/ReportOutput.h"
#include "report/ReportPages.h"

#include <QTextStream>

namespace osago {

namespace {

const QString kUsage = QStringLiteral(
    "использование: osago report --from ДД.ММ.ГГГГ --to ДД.ММ.ГГГГ [--agent ФИО] [--database РЕЕСТР] "
    "ФАЙЛ.pdf|ФАЙЛ.csv");

int refuse(QTextStream& errors, const QString& reason, int status = kCommandUnusable)
{
    errors << "osago report: " << reason << Qt::endl;
    return status;
}

} // namespace

int runReportCommand(const QStringList& words, QTextStream& errors, const ReportParties& parties)
{
    QString problem;
    const std::optional<PeriodCommandWords> read =
        parsePeriodCommandWords(words, kUsage, {QStringLiteral(".pdf"), QStringLiteral(".csv")}, problem);
    if (!read)
        return refuse(errors, problem);
    const IssuePeriod& period = read->period;
    const QString& target = read->target;
    const bool pdf = target.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive);

    const auto opened = openCommandRegister(errors, "report", read->database, PolicyDatabase::Access::ReadOnly);
    if (!opened)
        return kCommandFailed;
    const StorageResult<AgentReport> report = makeAgentReport(*opened, period, parties.agent, parties.insurer,
                                                              read->agent);
    if (!report.ok)
        return refuse(errors, report.error, kCommandFailed);
    QString error;
    const bool written = pdf ? writePdf(agentReportPages(report.value), target, &error, agentReportName(period))
                             : writeAgentReportCsv(report.value, target, &error);
    if (!written)
        return refuse(errors, error, kCommandFailed);
    errors << QStringLiteral("Полисов: %1, сумма премий: %2").arg(report.value.policies.size())
                  .arg(premiumText(report.value.total));
    if (!report.value.unreadable.empty())
        errors << QStringLiteral(", не вошли в отчёт строк: %1").arg(report.value.unreadable.size());
    errors << Qt::endl;
    return 0;
}

std::optional<int> runReportCommandIfRequested(int argc, char* argv[], const std::function<ReportParties()>& parties)
{
    return runCommandIfRequested(
        argc, argv, "report",
        [&](const QStringList& words, QTextStream&, QTextStream& errors) {
            return runReportCommand(words, errors, parties());
        },
        CommandNeeds::Fonts);
}

} // namespace osago
