#pragma once

#include "PolicyRow.h"
#include "RowKey.h"
#include "StorageStatus.h"

#include <QSqlDatabase>
#include <QString>

#include <chrono>
#include <functional>

class QSqlQuery;

namespace osago {

// The register file: one SQLite database holding the table TableStrah. Every write is one short transaction
// begun with BEGIN IMMEDIATE (so a second program waits for the busy timeout instead of failing at once) and
// committed durably (WAL journal, synchronous=FULL); no transaction stays open between calls. Other programs
// may use the same file at the same time.
class PolicyDatabase
{
public:
    enum class Access { ReadWrite, ReadOnly };

    PolicyDatabase();
    ~PolicyDatabase();
    PolicyDatabase(const PolicyDatabase&) = delete;
    PolicyDatabase& operator=(const PolicyDatabase&) = delete;

    // Takes effect at the next open(); 5 s unless set.
    void setBusyTimeout(std::chrono::milliseconds timeout);

    // Opens the register at `path` (closing any open one), creating the file and its table when nothing, or an
    // empty file, is there. A file that is not a register (not SQLite, damaged, without TableStrah or with
    // other columns) is never altered: the failure says why and the database stays closed. A register this
    // program cannot write (see RegisterAccess.h) is opened for reading only, and isReadOnly() says why.
    StorageStatus open(const QString& path, Access access = Access::ReadWrite);
    void close();
    bool isOpen() const { return m_db.isOpen(); }
    const QString& path() const { return m_path; }

    // Whether the open register takes no writes, and why in words with the way out (empty when it does).
    bool isReadOnly() const { return !m_readOnlyReason.isEmpty(); }
    const QString& readOnlyReason() const { return m_readOnlyReason; }
    // Whether a read or write has found the file damaged since it was opened; nothing is written into it then.
    bool isDamaged() const { return m_damaged; }
    // Records what a failed read or write of the file reported (SQLite's result code).
    void noteFailure(int sqliteCode) const;

    // Adds the row under a new code (the row's own code column is ignored) and gives that code.
    StorageResult<QString> insert(const PolicyRow& row);
    // Writes every column but the code into the row `key`, provided it still holds `asRead` (as load() or the
    // grid read it): a row another program changed or deleted since is left as it is, and the failure says so.
    StorageStatus update(RowKey key, const PolicyRow& asRead, const PolicyRow& row);
    // Deletes the row `key` on the same condition.
    StorageStatus remove(RowKey key, const PolicyRow& asRead);
    StorageResult<PolicyRow> load(RowKey key) const;
    // The first row holding `code`, a code this program gave (insert()).
    StorageResult<PolicyRow> load(const QString& code) const;

    // The open connection, for read-only queries over the register. Never keep a query running between calls.
    QSqlDatabase connection() const { return m_db; }
    int busySeconds() const;
    // Whether the file has an index of this name; false when the register is not open.
    bool hasIndex(const QString& name) const;

private:
    static constexpr int kPageCachePages = 64;
    using WriteSteps = std::function<StorageStatus(const QString& action)>;

    StorageStatus createRegister();
    StorageStatus checkRegister();
    void limitPageCache();
    void prepareForWriting();
    StorageStatus inTransaction(const QString& action, const WriteSteps& steps);
    StorageStatus openForReading(bool immutable);
    // A new connection to the SQLite database `name` (a path or a file URI) with Qt's `options` added.
    StorageStatus connectTo(const QString& name, const QString& options);
    StorageStatus checkUnchanged(RowKey key, const PolicyRow& asRead) const;
    StorageStatus failure(const QString& action, const QSqlQuery& query) const;
    StorageStatus failure(const QString& action, const QString& reason) const;

    QString m_connectionName;
    QSqlDatabase m_db;
    QString m_path;
    std::chrono::milliseconds m_busyTimeout{5000};
    QString m_readOnlyReason;
    mutable bool m_damaged = false;
};

// What a command on a row says when the row is no longer what the grid or the editor read.
inline const QString kRowChangedMessage =
    QStringLiteral("Запись изменена или удалена другой программой после того, как была прочитана; ничего не "
                   "изменено. Таблица прочитана заново: проверьте запись и повторите команду.");

} // namespace osago
