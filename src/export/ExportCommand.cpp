#include "export/ExportCommand.h"

#include "commands/CommandRegister.h"
#include "commands/CommandWords.h"
#include "storage/PolicyDatabase.h"
#include "export/RegisterExport.h"
#include "storage/RegisterRowStream.h"
#include "export/TableFileWriter.h"

#include <QTextStream>

namespace osago {

namespace {

const QString kUsage = QStringLiteral(
    "использование: osago export [--database РЕЕСТР] [--from ДД.ММ.ГГГГ] [--to ДД.ММ.ГГГГ] [--agent ФИО] "
    "ФАЙЛ.csv|ФАЙЛ.xlsx");

int refuse(QTextStream& errors, const QString& reason)
{
    errors << "osago export: " << reason << Qt::endl;
    return kCommandUnusable;
}

} // namespace

int runExportCommand(const QStringList& words, QTextStream&, QTextStream& errors)
{
    QString problem;
    const std::optional<CommandWords> parsed = parseCommandWords(words, true, problem);
    if (!parsed)
        return refuse(errors, problem);
    if (parsed->others.size() != 1)
        return refuse(errors, kUsage);
    const QString& target = parsed->others.front();
    if (!tableFormatOf(target))
        return refuse(errors, QStringLiteral("имя файла должно оканчиваться на .csv или .xlsx"));
    std::optional<IssuePeriod> period;
    if (parsed->from || parsed->to) {
        period = IssuePeriod{parsed->from.value_or(QDate(1, 1, 1)), parsed->to.value_or(QDate(9999, 12, 31))};
        if (!period->isValid())
            return refuse(errors, QStringLiteral("начало периода позже его конца"));
    }

    const auto opened = openCommandRegister(errors, "export", parsed->database, PolicyDatabase::Access::ReadOnly);
    if (!opened)
        return kCommandFailed;
    RegisterRowStream rows(*opened, std::nullopt);
    const ExportOutcome outcome = exportRegister(rows, {period, parsed->agent}, target);
    if (outcome.kind != ExportOutcome::Kind::Written) {
        errors << "osago export: " << outcome.error << Qt::endl;
        return kCommandFailed;
    }
    errors << exportSummary(outcome) << Qt::endl;
    return 0;
}

std::optional<int> runExportCommandIfRequested(int argc, char* argv[])
{
    return runCommandIfRequested(argc, argv, "export", &runExportCommand);
}

} // namespace osago
