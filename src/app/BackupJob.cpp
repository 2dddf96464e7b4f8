#include "app/BackupJob.h"

#include "storage/PolicyDatabase.h"

#include <QDateTime>

namespace osago {

BackupJob::BackupJob(PolicyDatabase& database, CopyPlace place)
    : m_database(database)
    , m_place(std::move(place))
{
}

BackupJob::~BackupJob() = default;

void BackupJob::run()
{
    const StorageResult<QString> copy = m_database.backup(m_place, QDateTime::currentDateTime(), OnDisk::AfterReport);
    emit made(copy);
    if (copy.ok) {
        const StorageStatus kept = keepOnDisk(copy.value);
        if (kept.ok)
            pruneCopies(m_place);
        emit writtenOut(kept);
    }
    emit done();
}

} // namespace osago
