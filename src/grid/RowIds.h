#pragma once

#include "storage/PolicyDatabase.h"

#include <functional>
#include <vector>

namespace osago {

// The row ids behind the grid's rows, row by row in ascending id order. A selection's ids are read all at once.
// For the whole table only the number of rows and the highest id are read at first, and the ids themselves as
// the grid reaches them: walking the table up from its first row and down from its last, a step at a time, so
// opening a register of a million rows or jumping to its end reads a few thousand ids. A row far from both
// walks has every id read at once, from the narrow order index (about 0.1 s for a million).
// Rows added after the count, by another program, stay out until the next read; rows it removed since leave
// the last places empty.
class RowIds
{
public:
    // Where the ids come from: the register's rows (PolicyDatabase) or another table read alike (the blanks'
    // journal): the count with the highest id, ids between two in a walk, and every id ascending.
    struct Source
    {
        std::function<StorageResult<TableExtent>()> extent;
        std::function<StorageStatus(qint64 lowest, qint64 highest, int limit, Walk walk, std::vector<qint64>& ids)>
            between;
        std::function<StorageStatus(std::vector<qint64>& ids)> all;
    };
    // Some of the ids at once, ascending, replacing `ids`: a search's or a filter's.
    using Chosen = std::function<StorageStatus(std::vector<qint64>& ids)>;

    // The fewest ids a walk reads: about a page of the grid, so the first page costs a walk of a few hundred ids.
    static constexpr int kStep = 256;
    // How many steps past the ids already read a walk may go (16,384 ids by default, about 16 ms of walking)
    // before every id is read instead.
    static constexpr int kWalkSteps = 64;

    explicit RowIds(const PolicyDatabase& database, int step = kStep);
    RowIds(Source source, int step);
    int step() const { return m_step; }

    StorageStatus readTable();
    StorageStatus readSelection(const RowSelection& selection);
    StorageStatus readChosen(const Chosen& chosen);

    int count() const { return m_count; }
    // Replaces `ids` with the ids of rows first .. first+n-1 that are still known; fewer when the last rows
    // are gone or could not be read.
    StorageStatus range(int first, int n, std::vector<qint64>& ids);
    // The row showing `id`, or -1.
    int rowOf(qint64 id);

private:
    int backStart() const { return m_count - int(m_back.size()); }
    bool isKnown(qint64 id) const;
    StorageStatus walk(Walk direction, int rows);
    StorageStatus readAll();
    void reset();

    Source m_source;
    // The register's, for its searches; null over another table.
    const PolicyDatabase* m_database = nullptr;
    int m_step;
    int m_count = 0;
    qint64 m_lastId = 0;
    bool m_complete = true;
    // The ids of the first rows in order; every id once m_complete.
    std::vector<qint64> m_front;
    // The ids of the last rows, the last row first.
    std::vector<qint64> m_back;
};

} // namespace osago
