#pragma once

#include "storage/RegisterCopies.h"
#include "storage/StorageStatus.h"

#include <QObject>
#include <QString>

namespace osago {

class PolicyDatabase;

// One copy of the register into its place, made by run() on the thread the job is moved to, off the window's
// thread. The copy is reported as soon as it is whole and checked; it is then written out to the disk, and only a
// copy on the disk lets the oldest ones go. The engine makes it on a connection of its own.
class BackupJob : public QObject
{
    Q_OBJECT

public:
    // `database` must stay open until done().
    BackupJob(PolicyDatabase& database, CopyPlace place);
    ~BackupJob() override;

    // Makes the copy, writes it out and prunes the oldest; says each step through the signals below.
    void run();

signals:
    // The copy is whole and checked (its path is the value), or it could not be made (`damaged` when the register
    // was found damaged).
    void made(osago::StorageResult<QString> result);
    // After a copy made: it is on the disk and the oldest copies pruned, or it could not be written out and is gone.
    void writtenOut(osago::StorageStatus status);
    // The job has nothing more to say; the last of its signals.
    void done();

private:
    PolicyDatabase& m_database;
    const CopyPlace m_place;
};

} // namespace osago
