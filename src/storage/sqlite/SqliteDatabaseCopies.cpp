#include "storage/sqlite/SqliteDatabase.h"

#include "storage/sqlite/SqliteBackup.h"
#include "storage/sqlite/SqliteErrors.h"
#include "storage/sqlite/SqliteHandle.h"

namespace osago {

QString SqliteDatabase::damagedReason() const
{
    return damagedRegisterReason(m_path);
}

QString SqliteDatabase::backupRefusal() const
{
    return isOpen() ? QString() : QStringLiteral("Реестр не открыт, поэтому копировать и восстанавливать нечего.");
}

QString SqliteDatabase::restoreRefusal() const
{
    if (isOpen() && isReadOnly())
        return QStringLiteral("Реестр открыт только для чтения, восстановить его из копии нельзя: %1").arg(m_readOnlyReason);
    return backupRefusal();
}

CopyPlace SqliteDatabase::copyPlace() const
{
    return copyPlaceOf(m_path);
}

StorageResult<QString> SqliteDatabase::backup(const CopyPlace& place, const QDateTime& now, OnDisk onDisk,
                                              const BackupProgress& progress)
{
    return backupRegister(m_path, place, now, progress, onDisk);
}

// The program's own connection is opened again over the restored file, so it keeps nothing of the old one.
StorageStatus SqliteDatabase::restore(const QString& copy, const QDateTime& now)
{
    if (const QString refusal = restoreRefusal(); !refusal.isEmpty())
        return StorageStatus::failure(refusal);
    const QString path = m_path;
    close();
    const StorageStatus restored = restoreRegister(path, copy, now);
    const StorageStatus reopened = open(path);
    return restored.ok ? reopened : restored;
}

void SqliteDatabase::removeMade()
{
    if (!m_madeByOpen)
        return;
    close();
    removeDatabaseFile(m_path);
    m_madeByOpen = false;
}

} // namespace osago
