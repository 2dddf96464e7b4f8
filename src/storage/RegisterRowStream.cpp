#include "storage/RegisterRowStream.h"


#include <algorithm>
#include <span>

namespace osago {

RegisterRowStream::RegisterRowStream(const PolicyDatabase& database,
                                     std::optional<RowSelection> selection)
    : m_database(database)
    , m_selection(std::move(selection))
{
}

StorageStatus RegisterRowStream::start()
{
    m_position = 0;
    if (m_selection)
        return m_database.readSelectedIds(*m_selection, m_ids);
    return m_database.readAllIds(m_ids);
}

StorageStatus RegisterRowStream::next(Utf8Rows& rows)
{
    rows.clear();
    while (rows.empty() && m_position < m_ids.size()) {
        const std::size_t count = std::min(kBlockRows, m_ids.size() - m_position);
        const StorageStatus read =
            m_database.readRowsUtf8(std::span<const qint64>(m_ids).subspan(m_position, count), rows);
        if (!read.ok)
            return read;
        m_position += count;
    }
    return {};
}

} // namespace osago
