#pragma once

#include "drivers/DriverEntry.h"

#include <QString>

#include <array>

class QComboBox;
class QListWidget;
class QWidget;

namespace osago {

// The stored drivers: the visible list `ListBoxVodit`, one line a driver showing the full name,
// and ten parallel columns, the item lists of the hidden drop-downs `ComboBox1` ... `ComboBox10`
// (attributes 1-9 of DriverEntry, then the age flag). Item i of every column belongs to line i;
// every operation changes the list and all ten columns together, so their lengths never differ.
class DriverColumns
{
public:
    static constexpr int kColumnCount = 10;

    // Creates the ten hidden columns as children of `page`; `list` is the page's visible list.
    DriverColumns(QListWidget& list, QWidget& page);

    int count() const;

    void append(const DriverEntry& entry, const QString& ageFlag);
    void replace(int position, const DriverEntry& entry, const QString& ageFlag);
    void remove(int position);
    void clear();

    DriverEntry entry(int position) const;

private:
    QListWidget& m_list;
    std::array<QComboBox*, kColumnCount> m_columns{};
};

} // namespace osago
