#include "blanks/report/BlanksCommand.h"

#include "blanks/BlankReceiving.h"
#include "blanks/BlankReport.h"
#include "blanks/report/BlankReportOutput.h"
#include "commands/CommandRegister.h"
#include "commands/CommandWords.h"
#include "print/PdfExport.h"
#include "report/ReportCommand.h"
#include "storage/BlankJournal.h"
#include "storage/BlankJournalRules.h"
#include "storage/BlankNumbers.h"
#include "storage/PolicyDatabase.h"

#include <QTextStream>

#include <map>

namespace osago {

namespace {

const QString kUsage = QStringLiteral(
    "использование: osago blanks report --from ДД.ММ.ГГГГ --to ДД.ММ.ГГГГ [--database РЕЕСТР] ФАЙЛ.pdf|ФАЙЛ.csv\n"
    "       osago blanks receive --kind polis|kvit|znak [--series ААА] --first N --last N --date ДД.ММ.ГГГГ "
    "[--act ТЕКСТ] [--database РЕЕСТР]");

// A refusal of the register or the rules is one line, its parts joined; the usage keeps its lines.
int refuse(QTextStream& errors, const QString& reason, int status = kCommandUnusable)
{
    if (status == kCommandUnusable) {
        errors << "osago blanks: " << reason << Qt::endl;
        return status;
    }
    return refuseInOneLine(errors, "blanks", reason, status);
}

std::optional<BlankKind> kindOfWord(const QString& word)
{
    static const std::map<QString, BlankKind> kinds{{QStringLiteral("polis"), BlankKind::Policy},
                                                    {QStringLiteral("kvit"), BlankKind::Receipt},
                                                    {QStringLiteral("znak"), BlankKind::Sign}};
    const auto found = kinds.find(word);
    return found == kinds.end() ? std::nullopt : std::optional(found->second);
}

int runReport(const QStringList& words, QTextStream& errors)
{
    QString problem;
    const std::optional<PeriodCommandWords> read =
        parsePeriodCommandWords(words, kUsage, {QStringLiteral(".pdf"), QStringLiteral(".csv")}, problem);
    if (!read)
        return refuse(errors, problem);
    if (read->agent)
        return refuse(errors, kUsage);
    const IssuePeriod& period = read->period;
    const auto opened = openCommandRegister(errors, "blanks", read->database, PolicyDatabase::Access::ReadOnly);
    if (!opened)
        return kCommandFailed;
    const StorageResult<BlankReport> report = makeBlankReport(*opened, period);
    if (!report.ok)
        return refuse(errors, report.error, kCommandFailed);
    QString error;
    const bool written = read->target.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)
                             ? writePdf(blankReportPages(report.value), read->target, &error, blankReportName(period))
                             : writeBlankReportCsv(report.value, read->target, &error);
    if (!written)
        return refuse(errors, error, kCommandFailed);
    errors << QStringLiteral("Видов и серий бланков: %1, расхождений: %2")
                  .arg(report.value.lines.size())
                  .arg(report.value.discrepancies.size())
           << Qt::endl;
    return 0;
}

int runReceive(const QStringList& words, QTextStream& errors)
{
    static const QStringList options{QStringLiteral("--kind"),  QStringLiteral("--series"), QStringLiteral("--first"),
                                     QStringLiteral("--last"),  QStringLiteral("--date"),   QStringLiteral("--act"),
                                     QStringLiteral("--database")};
    std::map<QString, QString> values;
    for (qsizetype i = 0; i < words.size(); i += 2) {
        if (!options.contains(words[i]))
            return refuse(errors, QStringLiteral("неизвестный параметр «%1»\n%2").arg(words[i], kUsage));
        if (i + 1 >= words.size())
            return refuse(errors, QStringLiteral("у параметра %1 нет значения").arg(words[i]));
        values[words[i]] = words[i + 1];
    }
    for (const char* required : {"--kind", "--first", "--last", "--date"}) {
        if (!values.contains(QString::fromLatin1(required)))
            return refuse(errors, QStringLiteral("не указан параметр %1\n%2").arg(QString::fromLatin1(required), kUsage));
    }
    const std::optional<BlankKind> kind = kindOfWord(values[QStringLiteral("--kind")]);
    if (!kind)
        return refuse(errors, QStringLiteral("вид бланков --kind: polis, kvit или znak"));
    const std::optional<QDate> date = registerDate(values[QStringLiteral("--date")]);
    if (!date)
        return refuse(errors, QStringLiteral("дата --date должна быть в виде ДД.ММ.ГГГГ"));
    const auto value = [&](const char* option) { return values[QString::fromLatin1(option)]; };
    const CheckedReceipt checked =
        checkReceipt({*kind, value("--series"), value("--first"), value("--last"), *date, value("--act"), {}});
    if (!checked.receipt)
        return refuse(errors, kReceiveAction + QStringLiteral(": ") + checked.refusal, kCommandFailed);

    const QString database = values.contains(QStringLiteral("--database")) ? value("--database")
                                                                            : kDefaultRegisterFile.toString();
    const auto opened = openCommandRegister(errors, "blanks", database, PolicyDatabase::Access::ReadWrite);
    if (!opened)
        return kCommandFailed;
    const StorageResult<ReceiveOutcome> received = opened->blanks().receive(*checked.receipt);
    if (!received.ok)
        return refuse(errors, received.error, kCommandFailed);
    errors << QStringLiteral("Принято бланков: %1, из них уже в сохранённых записях (отмечены использованными): %2")
                  .arg(received.value.received)
                  .arg(received.value.markedUsed)
           << Qt::endl;
    return 0;
}

} // namespace

int runBlanksCommand(const QStringList& words, QTextStream& errors)
{
    const QString action = words.value(0);
    if (action == u"report")
        return runReport(words.mid(1), errors);
    if (action == u"receive")
        return runReceive(words.mid(1), errors);
    return refuse(errors, kUsage);
}

std::optional<int> runBlanksCommandIfRequested(int argc, char* argv[])
{
    return runCommandIfRequested(
        argc, argv, "blanks",
        [](const QStringList& words, QTextStream&, QTextStream& errors) { return runBlanksCommand(words, errors); },
        CommandNeeds::Fonts);
}

} // namespace osago
