#pragma once

#include "storage/StorageStatus.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <vector>

namespace osago {

class PolicyDatabase;

// Copies of the register. A copy is always a register file ("<stem>-YYYY-MM-DD-HHMMSS.mdb"), whichever engine
// the register is on: a file's copy is its pages, a server's copy is its rows written into a new file. Made under
// a temporary name, checked and only then named, so a copy cut short leaves nothing. The file engine keeps these
// files; the functions below are its, and every engine uses them.

// Where a register's copies go (a folder) and what their names begin with.
struct CopyPlace
{
    QString folder;
    QString stem;
};

// When a copy is written out to the disk: before it is named and reported made (the command line, the restore's
// own copy of the rows it replaces), or after (the window reports the copy as soon as it is whole and checked,
// and keepOnDisk() then writes it out while the agent goes on working).
enum class OnDisk { BeforeReport, AfterReport };

// Told the share copied (`done` of `total`); false stops the copy.
using BackupProgress = std::function<bool(int done, int total)>;

// A copy, its time read from its name, and its rows (-1 when they cannot be counted).
struct RegisterCopy
{
    QString path;
    QDateTime made;
    qint64 rows = -1;
};

// The copies in `place`, newest first.
std::vector<RegisterCopy> listCopies(const CopyPlace& place);
// Deletes the oldest copies in `place` beyond the newest `keep`.
void pruneCopies(const CopyPlace& place, int keep = 30);
// Whether `place` holds a copy made on the day of `now`.
bool hasCopyOfDay(const CopyPlace& place, const QDateTime& now);
// Writes a copy made with OnDisk::AfterReport, and its name, out to the disk, so that it survives a power failure.
// A copy that cannot be written out is deleted. Older copies are pruned only after this.
StorageStatus keepOnDisk(const QString& copy);

// Why the register file `copy` cannot be restored (it is damaged), as the agent's message; empty when it can.
QString copyRefusal(const QString& copy);

// Fills a new, empty register file (open for writing) with the rows of a copy.
using CopyRows = std::function<StorageStatus(PolicyDatabase& emptyCopy)>;
// A new copy in `place` for `now` whose rows `fill` writes, checked and named like every copy; its path.
StorageResult<QString> writeCopy(const CopyPlace& place, const QDateTime& now, const CopyRows& fill, OnDisk onDisk);

} // namespace osago
