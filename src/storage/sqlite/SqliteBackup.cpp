#include "storage/sqlite/SqliteBackup.h"

#include "storage/PolicyColumns.h"
#include "storage/PolicyDatabase.h"
#include "storage/sqlite/SqliteCoalescedWrites.h"
#include "storage/sqlite/SqliteDatabase.h"
#include "storage/sqlite/SqliteHandle.h"
#include "storage/SqlNames.h"
#include "storage/StorageActions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <sqlite3.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <thread>

namespace osago {

namespace {

// 64 MB of 4 KB pages: a block read under one lock takes a few hundredths of a second.
constexpr int kPagesPerStep = 16384;
const QString kNotOnDisk = QStringLiteral("копию не удалось записать на диск");

using Connection = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;

Connection openFile(const QString& path, int flags, const char* vfs = nullptr)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, vfs);
    if (db)
        sqlite3_busy_timeout(db, int(kBusyTimeout.count()));
    return Connection(db, &sqlite3_close);
}

QString errorOf(sqlite3* db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("нет памяти");
}

StorageStatus failure(const QString& action, const QString& reason)
{
    return StorageStatus::failure(QStringLiteral("%1: %2.").arg(action, reason));
}

StorageStatus damage(const QString& action, const QString& detail)
{
    StorageStatus status = failure(action, QStringLiteral("реестр повреждён (%1)").arg(detail));
    status.damaged = true;
    return status;
}

bool inWalMode(sqlite3* db)
{
    sqlite3_stmt* statement = nullptr;
    bool wal = false;
    if (sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &statement, nullptr) == SQLITE_OK
        && sqlite3_step(statement) == SQLITE_ROW)
        wal = sqlite3_stricmp(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)), "wal") == 0;
    sqlite3_finalize(statement);
    return wal;
}

// Copies database `from` into `to` a block of pages at a time. A source in WAL mode is read in one read
// transaction, one state of it from the first page to the last, while other programs go on writing to its log;
// `reading` is called once that transaction has begun, before any page is copied. Otherwise each block takes the
// read lock anew, and a write between blocks starts the copy again from its state.
StorageStatus copyDatabase(sqlite3* from, sqlite3* to, const QString& action, const BackupProgress& progress,
                           const std::function<void()>& reading = {})
{
    // While a reader holds its state, no checkpoint shortens the file, so it may be mapped into memory and its
    // pages copied from there.
    const bool oneReadTransaction = inWalMode(from)
        && sqlite3_exec(from, "PRAGMA mmap_size=2147418112; BEGIN; SELECT count(*) FROM sqlite_schema", nullptr,
                        nullptr, nullptr) == SQLITE_OK;
    const auto endReading = [&] {
        if (oneReadTransaction)
            sqlite3_exec(from, "COMMIT", nullptr, nullptr, nullptr);
    };
    if (oneReadTransaction && reading)
        reading();
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup) {
        endReading();
        return failure(action, errorOf(to));
    }
    int step = SQLITE_OK;
    do {
        step = sqlite3_backup_step(backup, kPagesPerStep);
        if (step == SQLITE_BUSY || step == SQLITE_LOCKED)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (progress
            && !progress(sqlite3_backup_pagecount(backup) - sqlite3_backup_remaining(backup),
                         sqlite3_backup_pagecount(backup))) {
            sqlite3_backup_finish(backup);
            endReading();
            return failure(action, QStringLiteral("отменено"));
        }
    } while (step == SQLITE_OK || step == SQLITE_BUSY || step == SQLITE_LOCKED);
    sqlite3_backup_finish(backup);
    endReading();
    if (step == SQLITE_CORRUPT || step == SQLITE_NOTADB)
        return damage(action, QString::fromUtf8(sqlite3_errstr(step)));
    if (step != SQLITE_DONE)
        return failure(action, QString::fromUtf8(sqlite3_errstr(step)));
    return {};
}

// "ok", or what the check run on `db` finds wrong with its database.
QString runCheck(sqlite3* db, Check check)
{
    sqlite3_stmt* statement = nullptr;
    const char* pragma = check == Check::Full ? "PRAGMA integrity_check" : "PRAGMA quick_check";
    if (sqlite3_prepare_v2(db, pragma, -1, &statement, nullptr) != SQLITE_OK)
        return errorOf(db);
    QStringList problems;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW)
        problems << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    if (step != SQLITE_DONE)
        problems << errorOf(db);
    sqlite3_finalize(statement);
    return problems.join(QStringLiteral("; "));
}

qint64 dataVersionOf(sqlite3* db)
{
    sqlite3_stmt* statement = nullptr;
    qint64 version = -1;
    if (sqlite3_prepare_v2(db, "PRAGMA data_version", -1, &statement, nullptr) == SQLITE_OK
        && sqlite3_step(statement) == SQLITE_ROW)
        version = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return version;
}

// The page check of the register (Check::Pages) on a second thread, while the copy is made, of the very state the
// copy reads. Its connection looks at the register once before the copy's read transaction begins and once more,
// in its own read transaction, after; PRAGMA data_version is the same both times only when no other connection
// committed in between, and then both transactions read one state: the pages the copy writes are the pages
// checked. When a commit came in between, or the copy is not made in one read transaction, nothing is started
// and the finished copy is checked instead.
class ConcurrentCheck
{
public:
    explicit ConcurrentCheck(const QString& path)
        : m_db(openFile(path, SQLITE_OPEN_READONLY))
    {
        if (m_db) {
            sqlite3_exec(m_db.get(), "PRAGMA mmap_size=2147418112", nullptr, nullptr, nullptr);
            m_firstVersion = dataVersionOf(m_db.get());
        }
    }
    ConcurrentCheck(const ConcurrentCheck&) = delete;
    ConcurrentCheck& operator=(const ConcurrentCheck&) = delete;
    ~ConcurrentCheck()
    {
        if (m_thread.joinable()) {
            sqlite3_interrupt(m_db.get());
            m_thread.join();
        }
        if (m_db)
            sqlite3_exec(m_db.get(), "COMMIT", nullptr, nullptr, nullptr);
    }

    // Called once the copy's read transaction has begun.
    void start()
    {
        if (!m_db || m_firstVersion < 0 || sqlite3_exec(m_db.get(), "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
            return;
        if (dataVersionOf(m_db.get()) != m_firstVersion)
            return;
        m_thread = std::thread([this] { m_result = runCheck(m_db.get(), Check::Pages); });
    }
    bool started() const { return m_thread.joinable(); }
    // Waits for the check started: "ok" or what it found wrong.
    QString result()
    {
        m_thread.join();
        return m_result;
    }

private:
    Connection m_db;
    qint64 m_firstVersion = -1;
    std::thread m_thread;
    QString m_result;
};

// Writes a file's data out to the disk, so that a copy reported made survives a power failure.
bool syncToDisk(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

QString copyPrefix(const CopyPlace& place)
{
    return place.stem + u'-';
}

QString copyName(const CopyPlace& place, const QDateTime& now, const QString& mark = {})
{
    return copyPrefix(place) + now.toString(QStringLiteral("yyyy-MM-dd-HHmmss")) + mark + QStringLiteral(".mdb");
}

QStringList copiesIn(const CopyPlace& place)
{
    // The time in a copy's name, YYYY-MM-DD-HHMMSS.
    const QString d = QStringLiteral("[0-9]");
    const QString time = d.repeated(4) + u'-' + d.repeated(2) + u'-' + d.repeated(2) + u'-' + d.repeated(6);
    const QString prefix = copyPrefix(place) + time;
    return QDir(place.folder).entryList({prefix + QStringLiteral(".mdb"), prefix + QStringLiteral("-*.mdb")}, QDir::Files,
                                  QDir::Name);
}

// A copy being made: the name it gets once checked and the temporary file it is written under.
struct NewCopy
{
    QString target;
    QString partial;
};

// Names a new copy in `place` for `now`; refused when the folder cannot be made or its free space is under twice
// `sourceSize`.
StorageResult<NewCopy> startCopy(const CopyPlace& place, const QDateTime& now, qint64 sourceSize)
{
    using Result = StorageResult<NewCopy>;
    if (!QDir().mkpath(place.folder))
        return Result::failure(failure(kBackupAction, QStringLiteral("не удалось создать папку «%1»").arg(place.folder)));
    const QStorageInfo space(place.folder);
    if (space.bytesAvailable() < 2 * sourceSize) {
        return Result::failure(failure(kBackupAction, QStringLiteral("на диске меньше свободного места, чем два "
                                                                     "размера реестра")));
    }
    // Two copies within one second (the restore's own copy right after one) never overwrite each other.
    NewCopy copy;
    copy.target = QDir(place.folder).filePath(copyName(place, now));
    for (int repeat = 2; QFileInfo::exists(copy.target); ++repeat)
        copy.target = QDir(place.folder).filePath(copyName(place, now, QStringLiteral("-%1").arg(repeat)));
    copy.partial = copy.target + QStringLiteral(".part");
    removeDatabaseFile(copy.partial);
    return Result::success(copy);
}

// The end of every copy: its temporary file, written as `copied` says, checked by `check` ("ok" or what is wrong),
// on the disk first where `onDisk` says so, then named; a failed copy leaves nothing.
StorageResult<QString> finishCopy(const NewCopy& copy, StorageStatus copied, OnDisk onDisk,
                                  const std::function<QString()>& check)
{
    const bool onDiskFirst = onDisk == OnDisk::BeforeReport;
    if (copied.ok && onDiskFirst && !syncToDisk(copy.partial))
        copied = failure(kBackupAction, kNotOnDisk);
    if (copied.ok) {
        const QString integrity = check();
        if (integrity != u"ok")
            copied = damage(kBackupAction, integrity);
    }
    if (copied.ok
        && std::rename(QFile::encodeName(copy.partial).constData(), QFile::encodeName(copy.target).constData()) != 0)
        copied = failure(kBackupAction, QStringLiteral("копию не удалось переименовать"));
    // The new name is on the disk too before the copy is reported made.
    if (copied.ok && onDiskFirst)
        syncToDisk(QFileInfo(copy.target).absolutePath());
    if (!copied.ok) {
        removeDatabaseFile(copy.partial);
        return StorageResult<QString>::failure(copied);
    }
    return StorageResult<QString>::success(copy.target);
}

} // namespace

CopyPlace copyPlaceOf(const QString& registerPath)
{
    const QFileInfo file(registerPath);
    return {file.absoluteDir().filePath(QStringLiteral("Архив")), file.completeBaseName()};
}

QString integrityOf(const QString& path)
{
    return checkOf(path, Check::Full);
}

QString checkOf(const QString& path, Check check)
{
    const Connection db = openFile(path, SQLITE_OPEN_READONLY);
    // Mapped into memory, the pages are checked where the page cache holds them instead of being copied out one
    // by one. Only for files no other program changes meanwhile: the copies.
    if (check == Check::Pages)
        sqlite3_exec(db.get(), "PRAGMA mmap_size=2147418112", nullptr, nullptr, nullptr);
    return runCheck(db.get(), check);
}

StorageResult<QString> backupRegister(const QString& registerPath, const CopyPlace& place, const QDateTime& now,
                                      const BackupProgress& progress, OnDisk onDisk)
{
    using Result = StorageResult<QString>;
    const QFileInfo source(registerPath);
    if (!source.isFile())
        return Result::failure(failure(kBackupAction, QStringLiteral("файла реестра нет")));
    const StorageResult<NewCopy> copy = startCopy(place, now, source.size());
    if (!copy.ok)
        return Result::failure(copy);
    ConcurrentCheck sourceCheck(source.absoluteFilePath());
    StorageStatus copied;
    {
        const Connection from = openFile(source.absoluteFilePath(), SQLITE_OPEN_READONLY);
        const Connection to = openFile(copy.value.partial, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                       coalescedWritesVfs(onDisk == OnDisk::BeforeReport ? Writeback::AsWritten
                                                                                          : Writeback::Later));
        // The temporary file needs no journal and no syncs while it is written: a copy cut short is thrown away.
        // It is synced once whole.
        if (to)
            sqlite3_exec(to.get(), "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
        copied = !from || !to ? failure(kBackupAction, errorOf(from ? to.get() : from.get()))
                              : copyDatabase(from.get(), to.get(), kBackupAction, progress,
                                             [&] { sourceCheck.start(); });
        // A copy is one file: reading it later leaves no WAL files beside it.
        if (copied.ok)
            sqlite3_exec(to.get(), "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    }
    return finishCopy(copy.value, copied, onDisk, [&] {
        return sourceCheck.started() ? sourceCheck.result() : checkOf(copy.value.partial, Check::Pages);
    });
}

StorageResult<QString> writeCopy(const CopyPlace& place, const QDateTime& now, const CopyRows& fill, OnDisk onDisk)
{
    using Result = StorageResult<QString>;
    const StorageResult<NewCopy> copy = startCopy(place, now, 0);
    if (!copy.ok)
        return Result::failure(copy);
    StorageStatus copied;
    {
        SqliteDatabase file;
        copied = file.open(copy.value.partial);
        if (copied.ok)
            copied = fill(file);
    }
    // A copy is one file: its write-ahead log is folded into it.
    if (copied.ok) {
        const Connection written = openFile(copy.value.partial, SQLITE_OPEN_READWRITE);
        if (!written || sqlite3_exec(written.get(), "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr) != SQLITE_OK)
            copied = failure(kBackupAction, errorOf(written.get()));
    }
    return finishCopy(copy.value, copied, onDisk, [&] { return checkOf(copy.value.partial, Check::Pages); });
}

StorageStatus keepOnDisk(const QString& copy)
{
    if (syncToDisk(copy) && syncToDisk(QFileInfo(copy).absolutePath()))
        return {};
    QFile::remove(copy);
    return failure(kBackupAction, kNotOnDisk);
}

void pruneCopies(const CopyPlace& place, int keep)
{
    const QStringList copies = copiesIn(place);
    for (qsizetype i = 0; i + keep < copies.size(); ++i)
        QFile::remove(QDir(place.folder).filePath(copies[i]));
}

std::vector<RegisterCopy> listCopies(const CopyPlace& place)
{
    std::vector<RegisterCopy> copies;
    const QStringList names = copiesIn(place);
    const QByteArray count = QStringLiteral("SELECT count(*) FROM %1").arg(sqlNames::quoted(kRegisterTable)).toUtf8();
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        RegisterCopy copy;
        copy.path = QDir(place.folder).filePath(*name);
        copy.made = QDateTime::fromString(name->mid(copyPrefix(place).size(), 17), QStringLiteral("yyyy-MM-dd-HHmmss"));
        const Connection db = openFile(copy.path, SQLITE_OPEN_READONLY);
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db.get(), count.constData(), -1, &statement, nullptr) == SQLITE_OK
            && sqlite3_step(statement) == SQLITE_ROW)
            copy.rows = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
        copies.push_back(copy);
    }
    return copies;
}

bool hasCopyOfDay(const CopyPlace& place, const QDateTime& now)
{
    const QString day = copyPrefix(place) + now.toString(QStringLiteral("yyyy-MM-dd-"));
    for (const QString& copy : copiesIn(place)) {
        if (copy.startsWith(day))
            return true;
    }
    return false;
}

QString copyRefusal(const QString& copy)
{
    const QString integrity = integrityOf(copy);
    if (integrity == u"ok")
        return {};
    return failure(kRestoreAction, QStringLiteral("копия «%1» повреждена (%2)").arg(QFileInfo(copy).fileName(), integrity))
        .error;
}

StorageStatus restoreRegister(const QString& registerPath, const QString& copy, const QDateTime& now)
{
    if (const QString refusal = copyRefusal(copy); !refusal.isEmpty())
        return StorageStatus::failure(refusal);
    const Connection target = openFile(registerPath, SQLITE_OPEN_READWRITE);
    if (!target)
        return failure(kRestoreAction, QStringLiteral("реестр не открыт"));
    sqlite3_busy_timeout(target.get(), 0);
    // A write lock taken at once tells that no other program is writing; it is released before the copy.
    if (sqlite3_exec(target.get(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        return failure(kRestoreAction, QStringLiteral("реестр занят другой программой"));
    sqlite3_exec(target.get(), "ROLLBACK", nullptr, nullptr, nullptr);

    const CopyPlace place = copyPlaceOf(registerPath);
    if (integrityOf(registerPath) == u"ok") {
        const StorageResult<QString> kept = backupRegister(registerPath, place, now);
        if (!kept.ok)
            return failure(kRestoreAction, QStringLiteral("текущий реестр не сохранён в копию (%1)").arg(kept.error));
    } else {
        // A damaged register cannot be copied page by page; its file is kept as it is.
        QDir().mkpath(place.folder);
        QFile::copy(registerPath, QDir(place.folder).filePath(copyName(place, now, QStringLiteral("-повреждён"))));
    }
    const Connection from = openFile(copy, SQLITE_OPEN_READONLY);
    sqlite3_busy_timeout(target.get(), int(kBusyTimeout.count()));
    // The journal the register goes back to is chosen where it is opened again (SqliteDatabase::open).
    return copyDatabase(from.get(), target.get(), kRestoreAction, {});
}

} // namespace osago
