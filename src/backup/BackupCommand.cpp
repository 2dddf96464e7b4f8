#include "BackupCommand.h"

#include "CommandWords.h"
#include "PolicyDatabase.h"
#include "RegisterBackup.h"

#include <QTextStream>

namespace osago {

namespace {

int refuse(QTextStream& errors, const char* command, const QString& reason, int status = kCommandUnusable)
{
    errors << "osago " << command << ": " << reason << Qt::endl;
    return status;
}

} // namespace

int runBackupCommand(const QStringList& words, QTextStream& output, QTextStream& errors)
{
    QString problem;
    const std::optional<CommandWords> parsed = parseCommandWords(words, false, problem);
    if (!parsed)
        return refuse(errors, "backup", problem);
    if (parsed->others.size() > 1)
        return refuse(errors, "backup", QStringLiteral("использование: osago backup [--database РЕЕСТР] [ПАПКА]"));
    if (isServerLocation(parsed->database))
        return refuse(errors, "backup", kServerBackupRefusal);
    const QString folder = parsed->others.isEmpty() ? archiveFolderOf(parsed->database) : parsed->others.front();
    const StorageResult<QString> copy = backupRegister(parsed->database, folder, QDateTime::currentDateTime());
    if (!copy.ok)
        return refuse(errors, "backup", copy.error, kCommandFailed);
    output << copy.value << Qt::endl;
    return 0;
}

int runRestoreCommand(const QStringList& words, QTextStream& output, QTextStream& errors)
{
    QString problem;
    const std::optional<CommandWords> parsed = parseCommandWords(words, false, problem);
    if (!parsed)
        return refuse(errors, "restore", problem);
    if (parsed->others.size() != 1)
        return refuse(errors, "restore", QStringLiteral("использование: osago restore [--database РЕЕСТР] КОПИЯ"));
    if (isServerLocation(parsed->database))
        return refuse(errors, "restore", kServerBackupRefusal);
    const StorageStatus restored =
        restoreRegister(parsed->database, parsed->others.front(), QDateTime::currentDateTime());
    if (!restored.ok)
        return refuse(errors, "restore", restored.error, kCommandFailed);
    output << parsed->database << Qt::endl;
    return 0;
}

std::optional<int> runBackupCommandIfRequested(int argc, char* argv[])
{
    if (const std::optional<int> status = runCommandIfRequested(argc, argv, "backup", &runBackupCommand))
        return status;
    return runCommandIfRequested(argc, argv, "restore", &runRestoreCommand);
}

} // namespace osago
