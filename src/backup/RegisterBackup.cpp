#include "RegisterBackup.h"

#include "CoalescedWrites.h"

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
constexpr int kBusyTimeoutMs = 5000;
const QString kBackupAction = QStringLiteral("Резервная копия не сделана");
const QString kRestoreAction = QStringLiteral("Реестр не восстановлен");
const QString kNotOnDisk = QStringLiteral("копию не удалось записать на диск");

using Connection = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;

Connection openFile(const QString& path, int flags, const char* vfs = nullptr)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, vfs);
    if (db)
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
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
        return failure(action, QStringLiteral("реестр повреждён (%1)").arg(QString::fromUtf8(sqlite3_errstr(step))));
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

QString copyPrefix(const QString& registerPath)
{
    return QFileInfo(registerPath).completeBaseName() + u'-';
}

QString copyName(const QString& registerPath, const QDateTime& now, const QString& mark = {})
{
    return copyPrefix(registerPath) + now.toString(QStringLiteral("yyyy-MM-dd-HHmmss")) + mark + QStringLiteral(".mdb");
}

QStringList copiesIn(const QString& registerPath, const QString& folder)
{
    // The time in a copy's name, YYYY-MM-DD-HHMMSS.
    const QString d = QStringLiteral("[0-9]");
    const QString time = d.repeated(4) + u'-' + d.repeated(2) + u'-' + d.repeated(2) + u'-' + d.repeated(6);
    const QString prefix = copyPrefix(registerPath) + time;
    return QDir(folder).entryList({prefix + QStringLiteral(".mdb"), prefix + QStringLiteral("-*.mdb")}, QDir::Files,
                                  QDir::Name);
}

} // namespace

QString archiveFolderOf(const QString& registerPath)
{
    return QFileInfo(registerPath).absoluteDir().filePath(QStringLiteral("Архив"));
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

StorageResult<QString> backupRegister(const QString& registerPath, const QString& folder, const QDateTime& now,
                                      const BackupProgress& progress, OnDisk onDisk)
{
    using Result = StorageResult<QString>;
    const QFileInfo source(registerPath);
    if (!source.isFile())
        return Result::failure(failure(kBackupAction, QStringLiteral("файла реестра нет")));
    if (!QDir().mkpath(folder))
        return Result::failure(failure(kBackupAction, QStringLiteral("не удалось создать папку «%1»").arg(folder)));
    const QStorageInfo space(folder);
    if (space.bytesAvailable() < 2 * source.size()) {
        return Result::failure(failure(kBackupAction, QStringLiteral("на диске меньше свободного места, чем два "
                                                                     "размера реестра")));
    }

    // Two copies within one second (the restore's own copy right after one) never overwrite each other.
    QString target = QDir(folder).filePath(copyName(registerPath, now));
    for (int repeat = 2; QFileInfo::exists(target); ++repeat)
        target = QDir(folder).filePath(copyName(registerPath, now, QStringLiteral("-%1").arg(repeat)));
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    const bool onDiskFirst = onDisk == OnDisk::BeforeReport;
    ConcurrentCheck sourceCheck(source.absoluteFilePath());
    StorageStatus copied;
    {
        const Connection from = openFile(source.absoluteFilePath(), SQLITE_OPEN_READONLY);
        const Connection to = openFile(partial, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                       coalescedWritesVfs(onDiskFirst ? Writeback::AsWritten : Writeback::Later));
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
    if (copied.ok && onDiskFirst && !syncToDisk(partial))
        copied = failure(kBackupAction, kNotOnDisk);
    if (copied.ok) {
        const QString integrity = sourceCheck.started() ? sourceCheck.result() : checkOf(partial, Check::Pages);
        if (integrity != u"ok")
            copied = failure(kBackupAction, QStringLiteral("реестр повреждён (%1)").arg(integrity));
    }
    if (copied.ok && std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(target).constData()) != 0)
        copied = failure(kBackupAction, QStringLiteral("копию не удалось переименовать"));
    // The new name is on the disk too before the copy is reported made.
    if (copied.ok && onDiskFirst)
        syncToDisk(folder);
    if (!copied.ok) {
        for (const char* suffix : {"", "-wal", "-shm", "-journal"})
            QFile::remove(partial + QLatin1String(suffix));
        return Result::failure(copied);
    }
    return Result::success(target);
}

StorageStatus keepOnDisk(const QString& copy)
{
    if (syncToDisk(copy) && syncToDisk(QFileInfo(copy).absolutePath()))
        return {};
    QFile::remove(copy);
    return failure(kBackupAction, kNotOnDisk);
}

void pruneCopies(const QString& registerPath, const QString& folder, int keep)
{
    const QStringList copies = copiesIn(registerPath, folder);
    for (qsizetype i = 0; i + keep < copies.size(); ++i)
        QFile::remove(QDir(folder).filePath(copies[i]));
}

std::vector<RegisterCopy> listCopies(const QString& registerPath)
{
    const QString folder = archiveFolderOf(registerPath);
    std::vector<RegisterCopy> copies;
    const QStringList names = copiesIn(registerPath, folder);
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        RegisterCopy copy;
        copy.path = QDir(folder).filePath(*name);
        copy.made = QDateTime::fromString(name->mid(copyPrefix(registerPath).size(), 17),
                                          QStringLiteral("yyyy-MM-dd-HHmmss"));
        const Connection db = openFile(copy.path, SQLITE_OPEN_READONLY);
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db.get(), "SELECT count(*) FROM TableStrah", -1, &statement, nullptr) == SQLITE_OK
            && sqlite3_step(statement) == SQLITE_ROW)
            copy.rows = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
        copies.push_back(copy);
    }
    return copies;
}

bool hasCopyOfDay(const QString& registerPath, const QString& folder, const QDateTime& now)
{
    const QString day = copyPrefix(registerPath) + now.toString(QStringLiteral("yyyy-MM-dd-"));
    for (const QString& copy : copiesIn(registerPath, folder)) {
        if (copy.startsWith(day))
            return true;
    }
    return false;
}

StorageStatus restoreRegister(const QString& registerPath, const QString& copy, const QDateTime& now)
{
    const QString integrity = integrityOf(copy);
    if (integrity != u"ok")
        return failure(kRestoreAction, QStringLiteral("копия «%1» повреждена (%2)").arg(QFileInfo(copy).fileName(), integrity));
    const Connection target = openFile(registerPath, SQLITE_OPEN_READWRITE);
    if (!target)
        return failure(kRestoreAction, QStringLiteral("реестр не открыт"));
    sqlite3_busy_timeout(target.get(), 0);
    // A write lock taken at once tells that no other program is writing; it is released before the copy.
    if (sqlite3_exec(target.get(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        return failure(kRestoreAction, QStringLiteral("реестр занят другой программой"));
    sqlite3_exec(target.get(), "ROLLBACK", nullptr, nullptr, nullptr);

    if (integrityOf(registerPath) == u"ok") {
        const StorageResult<QString> kept = backupRegister(registerPath, archiveFolderOf(registerPath), now);
        if (!kept.ok)
            return failure(kRestoreAction, QStringLiteral("текущий реестр не сохранён в копию (%1)").arg(kept.error));
    } else {
        // A damaged register cannot be copied page by page; its file is kept as it is.
        QDir().mkpath(archiveFolderOf(registerPath));
        QFile::copy(registerPath, QDir(archiveFolderOf(registerPath))
                                      .filePath(copyName(registerPath, now, QStringLiteral("-повреждён"))));
    }
    const Connection from = openFile(copy, SQLITE_OPEN_READONLY);
    sqlite3_busy_timeout(target.get(), kBusyTimeoutMs);
    const StorageStatus copied = copyDatabase(from.get(), target.get(), kRestoreAction, {});
    // The copies are single files; the register goes back to its write-ahead log.
    if (copied.ok)
        sqlite3_exec(target.get(), "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    return copied;
}

} // namespace osago
