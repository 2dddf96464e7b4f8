#include "report/CommissionCommand.h"

#include "commands/CommandRegister.h"
#include "commands/CommandWords.h"
#include "report/Commission.h"
#include "storage/PolicyDatabase.h"

#include <QTextStream>

namespace osago {

namespace {

const QString kUsage = QStringLiteral("использование: osago commission add --from ДД.ММ.ГГГГ --rate ПРОЦЕНТ "
                                      "[--database РЕЕСТР] | osago commission list [--database РЕЕСТР]");

int refuse(QTextStream& errors, const QString& reason, int status = kCommandUnusable)
{
    return refuseInOneLine(errors, "commission", reason, status);
}

// The words without `--rate VALUE`, the value in `rate`; false for `--rate` without its value.
bool takeRate(QStringList& words, std::optional<QString>& rate)
{
    const qsizetype at = words.indexOf(QStringLiteral("--rate"));
    if (at < 0)
        return true;
    if (at + 1 == words.size())
        return false;
    rate = words[at + 1];
    words.remove(at, 2);
    return true;
}

int listRates(const PolicyDatabase& database, QTextStream& output, QTextStream& errors)
{
    const StorageResult<CommissionRates> rates = database.readCommissionRates();
    if (!rates.ok)
        return refuse(errors, rates.error, kCommandFailed);
    if (rates.value.empty())
        errors << QStringLiteral("В реестре нет ставок вознаграждения.") << Qt::endl;
    for (const CommissionRate& rate : rates.value)
        output << registerDateText(rate.from) << ' ' << commissionRateText(rate.hundredths) << Qt::endl;
    return 0;
}

} // namespace

int runCommissionCommand(const QStringList& words, QTextStream& output, QTextStream& errors)
{
    QStringList rest = words;
    std::optional<QString> rateText;
    if (!takeRate(rest, rateText))
        return refuse(errors, QStringLiteral("после --rate нужно значение"));
    QString problem;
    const std::optional<CommandWords> parsed = parseCommandWords(rest, true, problem);
    if (!parsed)
        return refuse(errors, problem);
    const bool add = parsed->others == QStringList{QStringLiteral("add")};
    const bool list = parsed->others == QStringList{QStringLiteral("list")};
    if (parsed->to || parsed->agent || (!add && !list) || (add != (parsed->from && rateText)) || (list && parsed->from))
        return refuse(errors, kUsage);
    std::optional<int> rate;
    if (add && !(rate = parseCommissionRate(*rateText)))
        return refuse(errors, QStringLiteral("--rate %1: нужен процент от 0 до 100, не больше двух знаков после "
                                             "запятой, например 12,5").arg(*rateText));

    const auto opened = openCommandRegister(errors, "commission", parsed->database,
                                            add ? PolicyDatabase::Access::ReadWrite : PolicyDatabase::Access::ReadOnly);
    if (!opened)
        return kCommandFailed;
    PolicyDatabase& database = *opened;
    if (list)
        return listRates(database, output, errors);
    if (database.madeByOpen()) {
        database.removeMade();
        return refuse(errors, QStringLiteral("реестра «%1» нет").arg(parsed->database), kCommandFailed);
    }
    const StorageStatus added = database.addCommissionRate({*parsed->from, *rate});
    if (!added.ok)
        return refuse(errors, added.error, kCommandFailed);
    errors << QStringLiteral("Ставка %1 % действует с %2.").arg(commissionRateText(*rate), registerDateText(*parsed->from))
           << Qt::endl;
    return 0;
}

std::optional<int> runCommissionCommandIfRequested(int argc, char* argv[])
{
    return runCommandIfRequested(argc, argv, "commission", &runCommissionCommand);
}

} // namespace osago
