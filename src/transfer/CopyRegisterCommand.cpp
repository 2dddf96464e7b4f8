#include "transfer/CopyRegisterCommand.h"

#include "commands/CommandWords.h"
#include "transfer/RegisterCopy.h"
#include "storage/PolicyDatabase.h"
#include "commands/RegisterWarnings.h"
#include "commands/TerminalPassword.h"

#include <QTextStream>

#include <memory>

namespace osago {

namespace {

const QString kUsage = QStringLiteral("использование: osago copy-register ОТКУДА КУДА [--append]");

struct CopyWords
{
    QString from;
    QString to;
    bool append = false;
};

int say(QTextStream& errors, const QString& reason, int status)
{
    errors << "osago copy-register: " << reason << Qt::endl;
    return status;
}

std::optional<CopyWords> parseCopyWords(const QStringList& words, QString& problem)
{
    CopyWords parsed;
    QStringList registers;
    for (const QString& word : words) {
        if (word == u"--append")
            parsed.append = true;
        else if (word.startsWith(u"--"))
            problem = QStringLiteral("неизвестный параметр %1").arg(word);
        else
            registers << word;
    }
    if (problem.isEmpty() && registers.size() != 2)
        problem = kUsage;
    if (!problem.isEmpty())
        return std::nullopt;
    parsed.from = registers[0];
    parsed.to = registers[1];
    return parsed;
}

// "\rСкопировано 12 % (120000 из 1000000)", written again only when the share changes.
class ProgressLine
{
public:
    explicit ProgressLine(QTextStream& errors)
        : m_errors(errors)
    {
    }

    void show(qint64 copied, qint64 total)
    {
        if (total <= 0)
            return;
        const int percent = int(copied * 100 / total);
        if (percent == m_shown)
            return;
        m_shown = percent;
        m_errors << "\rСкопировано " << percent << " % (" << copied << " из " << total << ")" << Qt::flush;
    }

    void finish()
    {
        if (m_shown >= 0)
            m_errors << Qt::endl;
    }

private:
    QTextStream& m_errors;
    int m_shown = -1;
};

} // namespace

int runCopyRegisterCommand(const QStringList& words, QTextStream& output, QTextStream& errors,
                           const PasswordSource& askPassword)
{
    QString problem;
    const std::optional<CopyWords> parsed = parseCopyWords(words, problem);
    if (!parsed)
        return say(errors, problem, kCommandUnusable);
    const StorageResult<std::unique_ptr<PolicyDatabase>> from =
        openDatabase(parsed->from, PolicyDatabase::Access::ReadOnly, askPassword);
    if (!from.ok)
        return say(errors, from.error, kCommandFailed);
    const std::unique_ptr<PolicyDatabase> to = makeDatabase(parsed->to, askPassword);
    const StorageStatus opened = to->open(parsed->to, PolicyDatabase::Access::ReadWrite);
    // A register made for the copy goes again when the copy does not happen: nothing is left half made.
    const auto fail = [&](const QString& reason, int status) {
        to->removeMade();
        return say(errors, reason, status);
    };
    if (!opened.ok)
        return fail(opened.error, kCommandFailed);
    tellOpenWarnings(errors, "copy-register", {from.value.get(), to.get()});
    const PolicyDatabase& source = *from.value;
    PolicyDatabase& target = *to;
    if (sameRegister(source, target))
        return fail(QStringLiteral("ОТКУДА и КУДА — один и тот же реестр"), kCommandUnusable);
    if (target.isReadOnly())
        return fail(QStringLiteral("реестр %1 открыт только для чтения: %2")
                        .arg(target.location(), target.readOnlyReason()),
                    kCommandFailed);
    if (!parsed->append) {
        const StorageResult<TableExtent> extent = target.readTableExtent();
        if (!extent.ok)
            return fail(extent.error, kCommandFailed);
        if (extent.value.rows > 0)
            return fail(QStringLiteral("в реестре %1 уже есть записи (%2); чтобы дописать к ним, добавьте --append")
                            .arg(target.location())
                            .arg(extent.value.rows),
                        kCommandFailed);
    }

    ProgressLine progress(errors);
    const StorageResult<qint64> copied = copyRegister(
        source, target, parsed->append, [&progress](qint64 done, qint64 all) { progress.show(done, all); });
    progress.finish();
    if (!copied.ok)
        return fail(copied.error + QStringLiteral("; в реестр %1 ничего не добавлено").arg(target.location()),
                    kCommandFailed);
    output << "Скопировано записей: " << copied.value << Qt::endl;
    return 0;
}

std::optional<int> runCopyRegisterCommandIfRequested(int argc, char* argv[])
{
    return runCommandIfRequested(argc, argv, "copy-register",
                                 [](const QStringList& words, QTextStream& output, QTextStream& errors) {
                                     return runCopyRegisterCommand(words, output, errors, &askPasswordOnTerminal);
                                 });
}

} // namespace osago
