#pragma once

#include "StorageStatus.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <vector>

namespace osago {

// Copies of the register file, made with SQLite's online backup: a copy is one consistent state of the register
// even while another program writes to it.

// What the agent hears on asking for a copy of a register on a server, which is no file of this computer.
inline const QString kServerBackupRefusal =
    QStringLiteral("Реестр хранится на сервере: его резервные копии делает и восстанавливает администратор "
                   "сервера (например, командами pg_dump и pg_restore), а не эта программа.");

// Told the pages copied and of how many; false stops the copy.
using BackupProgress = std::function<bool(int copied, int total)>;

// The folder "Архив" beside the register.
QString archiveFolderOf(const QString& registerPath);

// When a copy is written out to the disk: before it is named and reported made (the command line, the restore's
// own copy of the register it replaces), or after (the window reports the copy as soon as it is whole and checked,
// and keepOnDisk() then writes it out while the agent goes on working).
enum class OnDisk { BeforeReport, AfterReport };

// Copies the register into `folder` as "<name>-YYYY-MM-DD-HHMMSS.mdb" for `now` and gives the copy's path. The
// copy is written under a temporary name, its pages checked (Check::Pages) and renamed; a failed copy leaves
// nothing; a copy is checked in full before it is restored (restoreRegister). Refused when the free space of
// `folder` is under twice the register's size.
StorageResult<QString> backupRegister(const QString& registerPath, const QString& folder, const QDateTime& now,
                                      const BackupProgress& progress = {}, OnDisk onDisk = OnDisk::BeforeReport);
// Writes a copy made with OnDisk::AfterReport, and its name, out to the disk, so that it survives a power failure.
// A copy that cannot be written out is deleted. Older copies are pruned only after this.
StorageStatus keepOnDisk(const QString& copy);

// Deletes the oldest copies of the register in `folder` beyond the newest `keep`.
void pruneCopies(const QString& registerPath, const QString& folder, int keep = 30);
// Whether `folder` holds a copy of the register made on the day of `now`.
bool hasCopyOfDay(const QString& registerPath, const QString& folder, const QDateTime& now);

// A copy in "Архив", its time read from its name, and its rows (-1 when they cannot be counted).
struct RegisterCopy
{
    QString path;
    QDateTime made;
    qint64 rows = -1;
};
// The register's copies in "Архив", newest first.
std::vector<RegisterCopy> listCopies(const QString& registerPath);

// Replaces the register's contents by those of `copy`, after checking the copy and keeping the current register
// as one more copy in "Архив". Refused while another connection holds the register for writing.
StorageStatus restoreRegister(const QString& registerPath, const QString& copy, const QDateTime& now);

// "ok", or what PRAGMA integrity_check says of the file.
QString integrityOf(const QString& path);

// How much of a file is checked: every page of every table and index read and its records checked
// (PRAGMA quick_check), or also every index entry matched with its row (PRAGMA integrity_check, several times
// as long on the register).
enum class Check { Pages, Full };
// "ok", or what the check finds wrong with the file.
QString checkOf(const QString& path, Check check);

} // namespace osago
