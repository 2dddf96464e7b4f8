#pragma once

#include <QtGlobal>

#include <compare>

namespace osago {

// The register's own identity of a row: given by the database when the row is added, kept while it lives, and
// never taken from a column, which other programs may leave empty or repeat. Opaque to everything above storage.
class RowKey
{
public:
    explicit constexpr RowKey(qint64 value) : m_value(value) {}

    constexpr qint64 value() const { return m_value; }
    friend constexpr auto operator<=>(RowKey, RowKey) = default;

private:
    qint64 m_value;
};

} // namespace osago
