#pragma once

#include "storage/PolicyColumns.h"

#include <QStringList>

#include <optional>

namespace osago {

// One register row: the texts of the 123 columns in column order (see PolicyColumns.h for their names).
class PolicyRow
{
public:
    // Every column empty.
    PolicyRow();
    // std::nullopt unless `values` holds exactly one text per column.
    static std::optional<PolicyRow> fromValues(QStringList values);

    const QString& value(int column) const { return m_values.at(column); }
    void setValue(int column, const QString& text) { m_values[column] = text; }
    // By exact column name; an unknown name is a programming error.
    const QString& value(QStringView columnName) const;
    void setValue(QStringView columnName, const QString& text);

    const QStringList& values() const { return m_values; }
    const QString& code() const { return value(rowCodeColumnIndex()); }

    // Listed drivers: the last position 1-6 with any of its nine columns filled (0 when none is). A listed
    // driver's flags are never empty, so the blocks of listed drivers are never wholly empty.
    int driverCount() const;

    friend bool operator==(const PolicyRow&, const PolicyRow&) = default;

private:
    explicit PolicyRow(QStringList values) : m_values(std::move(values)) {}
    static int checkedIndex(QStringView columnName);

    QStringList m_values;
};

} // namespace osago
