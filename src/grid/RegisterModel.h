#pragma once

#include "storage/PolicyRow.h"
#include "grid/PageCache.h"
#include "grid/RowIds.h"
#include "storage/RowKey.h"
#include "storage/StorageStatus.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QTimer>

#include <optional>
#include <vector>

namespace osago {

// The register grid: the 123 columns of TableStrah, titled by their names, read-only. It reads the rows a page at
// a time as the view asks for them, holding a few recently used pages, and their row ids as it needs them (see
// RowIds); so opening a million rows or jumping to the last of them reads a few hundred ids and one page. Like a
// snapshot, it shows rows added, changed or removed since the last refresh() (by this program or another) only
// after the next one. The database must outlive the model, or be replaced by showRegister() before it goes.
class RegisterModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int kPageRows = 128;
    static constexpr int kCachedPages = 8;

    // `idStep` is how many row ids a walk of the table reads at once.
    explicit RegisterModel(const PolicyDatabase& database, QObject* parent = nullptr, int idStep = RowIds::kStep);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Shows every row of `database` in place of the register shown so far, which may go once this returns.
    StorageStatus showRegister(const PolicyDatabase& database);
    // Reads the ids of the current selection again; on failure the grid is empty and the message says why.
    StorageStatus refresh();
    // Shows only the rows `selection` picks (a search), in ascending id order, or every row again; both refresh.
    StorageStatus select(RowSelection selection);
    StorageStatus selectAll();
    bool isRestricted() const { return m_selection.has_value(); }
    // The rows a search picked, or none while every row is shown.
    const std::optional<RowSelection>& selection() const { return m_selection; }

    // The code of the row shown at `row` (its Мантисса_кода).
    QString codeAt(int row) const;
    // Where the row holding `code` is shown, or -1: keeps the agent's place across a refresh.
    int rowOfCode(const QString& code) const;
    // The register's key of the row shown at `row`, for every command on it; none when it is not known.
    std::optional<RowKey> keyAt(int row) const;
    // The row shown at `row` as the grid read it; none when it was gone or unreadable.
    std::optional<PolicyRow> rowAt(int row) const;
    // Where the row `key` is shown, or -1.
    int rowOfKey(RowKey key) const;
    // Why the last refresh or page read failed; empty when it did not.
    const QString& lastError() const { return m_lastError; }

    // What every cell of a row shows when it could not be read.
    static const QString& unreadableText();

signals:
    // A page of rows could not be read; sent once between two refreshes, however many pages fail.
    void readFailed(const QString& message) const;

private:
    struct Page
    {
        int number = 0;
        std::vector<QStringList> rows;
        // Rows whose own read failed (a damaged page); the others of the page are shown.
        std::vector<bool> unreadable;
        // The register was busy with another statement: the rows show empty until they are read again.
        bool notRead = false;
    };

    const Page& page(int number) const;
    Page readPage(int number) const;
    // Reads the pages not read while the register was busy: the view asks for their rows again.
    void readNotReadPages();

    const PolicyDatabase* m_database;
    // The rows a search picked; none while every row is shown.
    std::optional<RowSelection> m_selection;
    mutable RowIds m_ids;
    mutable PageCache<Page> m_pages{kCachedPages};
    mutable QString m_lastError;
    mutable bool m_failureReported = false;
    mutable QTimer m_readAgain;
};

} // namespace osago
