#include "grid/RowIds.h"


#include <algorithm>
#include <functional>
#include <limits>

namespace osago {

RowIds::RowIds(const PolicyDatabase& database, int step)
    : RowIds(Source{[&database] { return database.readTableExtent(); },
                    [&database](qint64 lowest, qint64 highest, int limit, Walk walk, std::vector<qint64>& ids) {
                        return database.readIdsBetween(lowest, highest, limit, walk, ids);
                    },
                    [&database](std::vector<qint64>& ids) { return database.readAllIds(ids); }},
             step)
{
    m_database = &database;
}

RowIds::RowIds(Source source, int step)
    : m_source(std::move(source)), m_step(step)
{
}

void RowIds::reset()
{
    m_count = 0;
    m_lastId = 0;
    m_complete = true;
    m_front.clear();
    m_back.clear();
}

StorageStatus RowIds::readTable()
{
    reset();
    const StorageResult<TableExtent> extent = m_source.extent();
    if (!extent.ok)
        return extent;
    m_count = extent.value.rows;
    m_lastId = extent.value.lastId;
    m_complete = m_count == 0;
    return {};
}

StorageStatus RowIds::readSelection(const RowSelection& selection)
{
    return readChosen([&](std::vector<qint64>& ids) { return m_database->readSelectedIds(selection, ids); });
}

StorageStatus RowIds::readChosen(const Chosen& chosen)
{
    reset();
    const StorageStatus status = chosen(m_front);
    m_count = int(m_front.size());
    return status;
}

StorageStatus RowIds::range(int first, int n, std::vector<qint64>& ids)
{
    ids.clear();
    const int end = std::min(first + n, m_count);
    if (first < 0 || first >= end)
        return {};
    StorageStatus status;
    if (!m_complete && end > int(m_front.size()) && first < backStart()) {
        const int reach = m_step * kWalkSteps;
        if (first - int(m_front.size()) <= reach)
            status = walk(Walk::Up, end - int(m_front.size()));
        else if (backStart() - end <= reach)
            status = walk(Walk::Down, backStart() - first);
        else
            status = readAll();
    }
    if (m_complete || end <= int(m_front.size())) {
        const int known = std::min(end, int(m_front.size()));
        if (first < known)
            ids.assign(m_front.begin() + first, m_front.begin() + known);
    } else if (first >= backStart()) {
        for (int row = first; row < end; ++row)
            ids.push_back(m_back[std::size_t(m_count - 1 - row)]);
    }
    return status;
}

int RowIds::rowOf(qint64 id)
{
    // A row just added is the last one: one walk down finds it without reading every id.
    if (!m_complete && m_back.empty())
        walk(Walk::Down, 1);
    if (!m_complete && !isKnown(id))
        readAll();
    int row = -1;
    if (m_complete || (!m_front.empty() && id <= m_front.back())) {
        const auto found = std::lower_bound(m_front.begin(), m_front.end(), id);
        if (found != m_front.end() && *found == id)
            row = int(found - m_front.begin());
    } else {
        const auto found = std::lower_bound(m_back.begin(), m_back.end(), id, std::greater<>());
        if (found != m_back.end() && *found == id)
            row = m_count - 1 - int(found - m_back.begin());
    }
    return row < m_count ? row : -1;
}

bool RowIds::isKnown(qint64 id) const
{
    return (!m_front.empty() && id <= m_front.back()) || (!m_back.empty() && id >= m_back.back());
}

// Walks at least `rows` rows, and at least a step, into the rows not yet read: up from the first rows or down
// from the last. A walk that finds fewer ids than rows are left means rows were removed since the count, so every
// id is read again to keep the rows in order.
StorageStatus RowIds::walk(Walk direction, int rows)
{
    constexpr qint64 kLowest = std::numeric_limits<qint64>::min();
    constexpr qint64 kHighest = std::numeric_limits<qint64>::max();
    const int wanted = std::min(std::max(rows, m_step), backStart() - int(m_front.size()));
    const qint64 lowest = m_front.empty() ? kLowest : std::min(m_front.back(), kHighest - 1) + 1;
    const qint64 highest = m_back.empty() ? m_lastId : std::max(m_back.back(), kLowest + 1) - 1;
    std::vector<qint64> read;
    const StorageStatus status = m_source.between(lowest, highest, wanted, direction, read);
    if (!status.ok)
        return status;
    // Room for every id at once: growing step by step would copy the ids read so far again and again. Room that
    // is never written takes no memory.
    std::vector<qint64>& side = direction == Walk::Up ? m_front : m_back;
    side.reserve(std::size_t(m_count));
    side.insert(side.end(), read.begin(), read.end());
    if (int(read.size()) < wanted)
        return readAll();
    if (int(m_front.size()) == backStart()) {
        m_front.insert(m_front.end(), m_back.rbegin(), m_back.rend());
        m_back.clear();
        m_complete = true;
    }
    return {};
}

// Rows added since the count are left for the next read. A read that fails (the register busy, the server gone)
// leaves no id known, so the next range walks again.
StorageStatus RowIds::readAll()
{
    m_back.clear();
    const StorageStatus status = m_source.all(m_front);
    m_complete = status.ok;
    if (!status.ok)
        m_front.clear();
    m_front.erase(std::upper_bound(m_front.begin(), m_front.end(), m_lastId), m_front.end());
    return status;
}

} // namespace osago
