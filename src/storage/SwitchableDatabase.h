#pragma once

#include "PolicyDatabase.h"

#include <memory>

namespace osago {

// The register of a program that may move to another one while it runs, a file or a server's: each call goes to
// the engine of the register open now, so whoever holds this object never holds a register that went. open()
// makes the engine the new location calls for; when that one fails to open while a register is open, the open
// one stays and the failure says why.
class SwitchableDatabase final : public PolicyDatabase
{
public:
    explicit SwitchableDatabase(PasswordSource askPassword = {});

    // The engine of the register open now, for what only that engine has; another one after the next open().
    PolicyDatabase& current() { return *m_current; }

    Engine engine() const override { return m_current->engine(); }
    StorageStatus open(const QString& location, Access access = Access::ReadWrite) override;
    void close() override { m_current->close(); }
    bool isOpen() const override { return m_current->isOpen(); }
    QString path() const override { return m_current->path(); }
    QString location() const override { return m_current->location(); }
    QString openWarning() const override { return m_current->openWarning(); }
    bool isReadOnly() const override { return m_current->isReadOnly(); }
    QString readOnlyReason() const override { return m_current->readOnlyReason(); }
    bool isDamaged() const override { return m_current->isDamaged(); }

    StorageResult<QString> insert(const PolicyRow& row) override { return m_current->insert(row); }
    StorageStatus update(RowKey key, const PolicyRow& asRead, const PolicyRow& row) override
    {
        return m_current->update(key, asRead, row);
    }
    StorageStatus remove(RowKey key, const PolicyRow& asRead) override { return m_current->remove(key, asRead); }
    StorageResult<qint64> appendRows(const RowBlocks& next, bool requireEmpty,
                                     const AppendProgress& progress) override
    {
        return m_current->appendRows(next, requireEmpty, progress);
    }

    StorageResult<PolicyRow> load(RowKey key) const override { return m_current->load(key); }
    StorageResult<PolicyRow> load(const QString& code) const override { return m_current->load(code); }

    StorageResult<TableExtent> readTableExtent() const override { return m_current->readTableExtent(); }
    StorageStatus readIdsBetween(qint64 lowest, qint64 highest, int limit, Walk walk,
                                 std::vector<qint64>& ids) const override
    {
        return m_current->readIdsBetween(lowest, highest, limit, walk, ids);
    }
    StorageStatus readAllIds(std::vector<qint64>& ids) const override { return m_current->readAllIds(ids); }
    StorageStatus readSelectedIds(const RowSelection& selection, std::vector<qint64>& ids) const override
    {
        return m_current->readSelectedIds(selection, ids);
    }
    StorageStatus readIdsOfCode(const QString& code, std::vector<qint64>& ids) const override
    {
        return m_current->readIdsOfCode(code, ids);
    }
    StorageStatus readRows(std::span<const qint64> ids, std::vector<QStringList>& rows) const override
    {
        return m_current->readRows(ids, rows);
    }
    StorageStatus readRowsUtf8(std::span<const qint64> ids, Utf8Rows& rows) const override
    {
        return m_current->readRowsUtf8(ids, rows);
    }
    StorageStatus readIssuedIn(const IssuePeriod& period, std::span<const int> columns,
                               std::vector<QStringList>& rows) const override
    {
        return m_current->readIssuedIn(period, columns, rows);
    }

    bool hasSearchIndex(int column) const override { return m_current->hasSearchIndex(column); }
    StorageStatus buildSearchIndex(int column, const IndexProgress& progress) override
    {
        return m_current->buildSearchIndex(column, progress);
    }
    bool hasIssueDayIndex() const override { return m_current->hasIssueDayIndex(); }
    StorageStatus buildIssueDayIndex(const IndexProgress& progress) override
    {
        return m_current->buildIssueDayIndex(progress);
    }

private:
    PasswordSource m_askPassword;
    std::unique_ptr<PolicyDatabase> m_current;
};

} // namespace osago
