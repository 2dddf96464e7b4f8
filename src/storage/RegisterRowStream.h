#pragma once

#include "storage/PolicyDatabase.h"

#include <QStringList>

#include <cstddef>
#include <optional>
#include <vector>

namespace osago {

// The rows of the register, or of a search's selection, in ascending row id order (the grid's order), read a
// block at a time so that a million rows never sit in memory together: only their ids do.
class RegisterRowStream
{
public:
    static constexpr std::size_t kBlockRows = 512;

    // Every row when `selection` is empty.
    RegisterRowStream(const PolicyDatabase& database, std::optional<RowSelection> selection);

    // Reads the row ids; call before next().
    StorageStatus start();
    // How many rows start() found.
    std::size_t rowCount() const { return m_ids.size(); }
    // Replaces `rows` with the next block of at most kBlockRows rows, 123 UTF-8 texts each; empty after the last
    // row. A row removed since start() is skipped.
    StorageStatus next(Utf8Rows& rows);

private:
    const PolicyDatabase& m_database;
    std::optional<RowSelection> m_selection;
    std::vector<qint64> m_ids;
    std::size_t m_position = 0;
};

} // namespace osago
