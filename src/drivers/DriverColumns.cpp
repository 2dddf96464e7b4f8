#include "drivers/DriverColumns.h"

#include <QComboBox>
#include <QListWidget>

namespace osago {

namespace {

QStringList rowOf(const DriverEntry& entry, const QString& ageFlag)
{
    return entry.attributes() << ageFlag;
}

} // namespace

DriverColumns::DriverColumns(QListWidget& list, QWidget& page)
    : m_list(list)
{
    for (int i = 0; i < kColumnCount; ++i) {
        auto* column = new QComboBox(&page);
        column->setObjectName(QStringLiteral("ComboBox%1").arg(i + 1));
        column->setFocusPolicy(Qt::NoFocus);
        column->hide();
        m_columns[i] = column;
    }
}

int DriverColumns::count() const
{
    return m_list.count();
}

void DriverColumns::append(const DriverEntry& entry, const QString& ageFlag)
{
    const QStringList row = rowOf(entry, ageFlag);
    m_list.addItem(entry.fullName);
    for (int i = 0; i < kColumnCount; ++i)
        m_columns[i]->addItem(row[i]);
}

void DriverColumns::replace(int position, const DriverEntry& entry, const QString& ageFlag)
{
    const QStringList row = rowOf(entry, ageFlag);
    m_list.item(position)->setText(entry.fullName);
    for (int i = 0; i < kColumnCount; ++i)
        m_columns[i]->setItemText(position, row[i]);
}

void DriverColumns::remove(int position)
{
    delete m_list.takeItem(position);
    for (QComboBox* column : m_columns)
        column->removeItem(position);
}

void DriverColumns::clear()
{
    m_list.clear();
    for (QComboBox* column : m_columns)
        column->clear();
}

DriverEntry DriverColumns::entry(int position) const
{
    QStringList attributes;
    for (int i = 0; i < kColumnCount - 1; ++i)
        attributes << m_columns[i]->itemText(position);
    return DriverEntry::fromAttributes(attributes);
}

} // namespace osago
