#include "renewals/RenewalsCommand.h"

#include "commands/CommandWords.h"
#include "commands/CommandRegister.h"
#include "print/PdfExport.h"
#include "renewals/RenewalsOutput.h"
#include "storage/PolicyDatabase.h"

#include <QTextStream>

namespace osago {

namespace {

const QString kUsage = QStringLiteral("использование: osago renewals --from ДД.ММ.ГГГГ --to ДД.ММ.ГГГГ "
                                      "[--database РЕЕСТР] ФАЙЛ.csv|ФАЙЛ.xlsx|ФАЙЛ.pdf");

int refuse(QTextStream& errors, const QString& reason, int status = kCommandUnusable)
{
    return refuseInOneLine(errors, "renewals", reason, status);
}

} // namespace

int runRenewalsCommand(const QStringList& words, QTextStream& errors, QDate today)
{
    QString problem;
    const std::optional<PeriodCommandWords> parsed = parsePeriodCommandWords(
        words, kUsage, {QStringLiteral(".csv"), QStringLiteral(".xlsx"), QStringLiteral(".pdf")}, problem);
    if (!parsed)
        return refuse(errors, problem);
    if (parsed->agent)
        return refuse(errors, kUsage);
    const QString& target = parsed->target;
    const IssuePeriod& period = parsed->period;
    const bool pdf = target.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive);

    const auto opened = openCommandRegister(errors, "renewals", parsed->database, PolicyDatabase::Access::ReadOnly);
    if (!opened)
        return kCommandFailed;
    const auto due = readRenewalsDue(*opened, period);
    if (!due.ok)
        return refuse(errors, due.error, kCommandFailed);
    QString error;
    const bool written = pdf ? writePdf(renewalsPages(due.value.due, period, today), target, &error, renewalsName(period))
                             : writeRenewalsTable(due.value.due, today, target, &error);
    if (!written)
        return refuse(errors, error, kCommandFailed);
    errors << QStringLiteral("Договоров: %1").arg(due.value.due.size()) << Qt::endl;
    return 0;
}

std::optional<int> runRenewalsCommandIfRequested(int argc, char* argv[])
{
    return runCommandIfRequested(
        argc, argv, "renewals",
        [](const QStringList& words, QTextStream&, QTextStream& errors) {
            return runRenewalsCommand(words, errors, QDate::currentDate());
        },
        CommandNeeds::Fonts);
}

} // namespace osago
