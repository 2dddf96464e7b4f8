#pragma once

#include "grid/PageCache.h"
#include "grid/RowIds.h"
#include "storage/Blanks.h"
#include "storage/StorageStatus.h"

#include <QAbstractTableModel>

#include <optional>
#include <vector>

namespace osago {

class PolicyDatabase;

// The journal's grid: one blank a row, in the order received, read a page at a time as the view asks for it and
// their ids as it needs them (RowIds), so a million blanks open as fast as ten. A filter reads the ids it shows
// at once. Like the register's grid, a snapshot until the next refresh().
class BlankJournalModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Kind, Series, Number, Status, StatusDate, Holder, Issued, Act, Note, ColumnCount };
    static constexpr int kPageRows = 128;
    static constexpr int kCachedPages = 8;

    explicit BlankJournalModel(const PolicyDatabase& database, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The journal of `database` in place of the one shown, with every blank.
    StorageStatus showRegister(const PolicyDatabase& database);
    // Shows the blanks `filter` picks; refreshes.
    StorageStatus setFilter(const BlankFilter& filter);
    const BlankFilter& filter() const { return m_filter; }
    StorageStatus refresh();

    // The blank shown at `row`, as read; none when it is gone or could not be read.
    std::optional<BlankRow> rowAt(int row) const;
    // The ids of the blanks shown at rows first .. last.
    StorageStatus idsOf(int first, int last, std::vector<qint64>& ids) const;

signals:
    // A page could not be read; once between two refreshes.
    void readFailed(const QString& message) const;

private:
    struct Page
    {
        int number = 0;
        std::vector<BlankRow> rows;
    };

    Page readPage(int number) const;

    const PolicyDatabase* m_database;
    BlankFilter m_filter;
    mutable RowIds m_ids;
    mutable PageCache<Page> m_pages{kCachedPages};
    mutable bool m_failureReported = false;
};

} // namespace osago
