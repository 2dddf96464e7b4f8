#pragma once

#include "storage/RegisterCopies.h"
#include "storage/StorageStatus.h"

#include <QDateTime>
#include <QString>

namespace osago {

// Copies of a register file, made with SQLite's online backup: a copy is one consistent state of the register
// even while another program writes to it. The functions of RegisterCopies.h are defined here too.

// The folder "Архив" beside the register, and copies named for the file.
CopyPlace copyPlaceOf(const QString& registerPath);

// Copies the register file into `place` for `now` and gives the copy's path. The copy is written under a
// temporary name, its pages checked (Check::Pages) and renamed; a failed copy leaves nothing; a copy is checked in
// full before it is restored (restoreRegister). Refused when the free space of the folder is under twice the
// register's size.
StorageResult<QString> backupRegister(const QString& registerPath, const CopyPlace& place, const QDateTime& now,
                                      const BackupProgress& progress = {}, OnDisk onDisk = OnDisk::BeforeReport);

// Replaces the register's contents by those of `copy`, after checking the copy and keeping the current register
// as one more copy in its copyPlaceOf(). Refused while another connection holds the register for writing. The
// register is left in the copy's journal mode: whoever opens it next sets its own.
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
