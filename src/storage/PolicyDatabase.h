#pragma once

#include "PolicyRow.h"
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
    // other columns) is never altered: the failure says why and the database stays closed.
    StorageStatus open(const QString& path, Access access = Access::ReadWrite);
    void close();
    bool isOpen() const { return m_db.isOpen(); }
    const QString& path() const { return m_path; }

    // Adds the row under a new code (the row's own code column is ignored) and gives that code.
    StorageResult<QString> insert(const PolicyRow& row);
    // Writes every column but the code into the one row holding `code`; fails unless exactly one row does.
    StorageStatus update(const QString& code, const PolicyRow& row);
    // Deletes the one row holding `code`; fails unless exactly one row does.
    StorageStatus remove(const QString& code);
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
    StorageStatus changeOneRow(const QString& action, QSqlQuery& query);
    StorageStatus failure(const QString& action, const QSqlQuery& query) const;
    StorageStatus failure(const QString& action, const QString& reason) const;

    QString m_connectionName;
    QSqlDatabase m_db;
    QString m_path;
    std::chrono::milliseconds m_busyTimeout{5000};
};

} // namespace osago
