#include "storage/sqlite/SqliteDatabase.h"

#include "storage/sqlite/SqliteHandle.h"
#include "storage/sqlite/SqliteErrors.h"
#include "storage/sqlite/SqliteSearchIndex.h"
#include "storage/StorageActions.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

#include <algorithm>

namespace osago {

namespace {

// Reports how much of the file an index build has read: SQLite reads every page of the table once, and the
// connection counts the pages it had to read.
struct IndexBuild
{
    sqlite3* db = nullptr;
    qint64 pages = 1;
    int pagesReadBefore = 0;
    QElapsedTimer sinceReport;
    const IndexProgress* progress = nullptr;

    int pagesRead() const
    {
        int current = 0;
        int highest = 0;
        sqlite3_db_status(db, SQLITE_DBSTATUS_CACHE_MISS, &current, &highest, 0);
        return current;
    }
};

constexpr int kStepsBetweenChecks = 10000;
constexpr qint64 kReportEveryMs = 100;

int reportIndexProgress(void* data)
{
    auto& build = *static_cast<IndexBuild*>(data);
    if (build.sinceReport.elapsed() >= kReportEveryMs) {
        build.sinceReport.restart();
        const qint64 share = qint64(build.pagesRead() - build.pagesReadBefore) * 100 / build.pages;
        (*build.progress)(int(std::clamp<qint64>(share, 0, 99)));
    }
    return 0;
}

qint64 pageCount(const QSqlDatabase& connection)
{
    QSqlQuery query(connection);
    return query.exec(QStringLiteral("PRAGMA page_count")) && query.next() ? query.value(0).toLongLong() : 0;
}

} // namespace

StorageStatus SqliteDatabase::buildIndex(const sqliteSql::Index& index, const QString& action,
                                         const IndexProgress& progress)
{
    sqlite3* db = sqliteHandle(m_db);
    if (!db)
        return StorageStatus::failure(storageFailure(action, QStringLiteral("реестр не открыт"), m_path));

    IndexBuild build;
    build.db = db;
    build.pages = std::max<qint64>(1, pageCount(m_db));
    build.pagesReadBefore = build.pagesRead();
    build.progress = &progress;
    build.sinceReport.start();
    if (progress)
        sqlite3_progress_handler(db, kStepsBetweenChecks, &reportIndexProgress, &build);

    QSqlQuery query(m_db);
    const bool built = query.exec(index.create);
    sqlite3_progress_handler(db, 0, nullptr, nullptr);
    if (!built)
        return StorageStatus::failure(storageFailure(action, query.lastError(), m_path, busySeconds()));
    return {};
}

bool SqliteDatabase::hasSearchIndex(int column) const
{
    return hasIndex(searchIndex(column).name);
}

StorageStatus SqliteDatabase::buildSearchIndex(int column, const IndexProgress& progress)
{
    return buildIndex(searchIndex(column), kBuildAction, progress);
}

} // namespace osago
