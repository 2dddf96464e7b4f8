#include "backup/BackupCommand.h"

#include "commands/CommandWords.h"
#include "commands/RegisterWarnings.h"
#include "commands/TerminalPassword.h"
#include "storage/PolicyDatabase.h"

#include <QTextStream>

namespace osago {

namespace {

int refuse(QTextStream& errors, const char* command, const QString& reason, int status = kCommandUnusable)
{
    errors << "osago " << command << ": " << reason << Qt::endl;
    return status;
}

// The register named by the words, opened for `access`: a file that does not open (damaged, not a register) is
// still there to be copied or restored, so the engine's own refusal decides, and the open's failure says why.
struct NamedRegister
{
    std::unique_ptr<PolicyDatabase> database;
    StorageStatus opened;
};

NamedRegister openNamed(const QString& location, PolicyDatabase::Access access, const PasswordSource& askPassword)
{
    NamedRegister named{makeDatabase(location, askPassword), {}};
    named.opened = named.database->open(location, access);
    return named;
}

} // namespace

int runBackupCommand(const QStringList& words, QTextStream& output, QTextStream& errors,
                     const PasswordSource& askPassword)
{
    QString problem;
    const std::optional<CommandWords> parsed = parseCommandWords(words, false, problem);
    if (!parsed)
        return refuse(errors, "backup", problem);
    if (parsed->others.size() > 1)
        return refuse(errors, "backup", QStringLiteral("использование: osago backup [--database РЕЕСТР] [ПАПКА]"));
    const NamedRegister named = openNamed(parsed->database, PolicyDatabase::Access::ReadOnly, askPassword);
    tellOpenWarnings(errors, "backup", {named.database.get()});
    if (const QString refusal = named.database->backupRefusal(); !refusal.isEmpty())
        return refuse(errors, "backup", named.opened.ok ? refusal : named.opened.error, kCommandFailed);
    CopyPlace place = named.database->copyPlace();
    if (!parsed->others.isEmpty())
        place.folder = parsed->others.front();
    const StorageResult<QString> copy = named.database->backup(place, QDateTime::currentDateTime(), OnDisk::BeforeReport);
    if (!copy.ok)
        return refuse(errors, "backup", copy.error, kCommandFailed);
    output << copy.value << Qt::endl;
    return 0;
}

int runRestoreCommand(const QStringList& words, QTextStream& output, QTextStream& errors,
                      const PasswordSource& askPassword)
{
    QString problem;
    const std::optional<CommandWords> parsed = parseCommandWords(words, false, problem);
    if (!parsed)
        return refuse(errors, "restore", problem);
    if (parsed->others.size() != 1)
        return refuse(errors, "restore", QStringLiteral("использование: osago restore [--database РЕЕСТР] КОПИЯ"));
    const NamedRegister named = openNamed(parsed->database, PolicyDatabase::Access::ReadWrite, askPassword);
    tellOpenWarnings(errors, "restore", {named.database.get()});
    if (const QString refusal = named.database->restoreRefusal(); !refusal.isEmpty())
        return refuse(errors, "restore", named.opened.ok ? refusal : named.opened.error, kCommandFailed);
    const StorageStatus restored = named.database->restore(parsed->others.front(), QDateTime::currentDateTime());
    if (!restored.ok)
        return refuse(errors, "restore", restored.error, kCommandFailed);
    output << named.database->location() << Qt::endl;
    return 0;
}

std::optional<int> runBackupCommandIfRequested(int argc, char* argv[])
{
    const auto withTerminal = [](auto command) {
        return [command](const QStringList& words, QTextStream& output, QTextStream& errors) {
            return command(words, output, errors, &askPasswordOnTerminal);
        };
    };
    if (const std::optional<int> status = runCommandIfRequested(argc, argv, "backup", withTerminal(&runBackupCommand)))
        return status;
    return runCommandIfRequested(argc, argv, "restore", withTerminal(&runRestoreCommand));
}

} // namespace osago
