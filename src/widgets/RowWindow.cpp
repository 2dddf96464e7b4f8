#include "widgets/RowWindow.h"

#include <algorithm>

namespace osago {

void RowWindow::setSource(QAbstractItemModel* source)
{
    m_source = source;
    place(0, m_rows, Change::Reload);
}

bool RowWindow::place(int first, int rows, Change change)
{
    const int sourceRows = m_source ? m_source->rowCount() : 0;
    const int columns = m_source ? m_source->columnCount() : 0;
    const int shown = std::clamp(sourceRows - first, 0, std::max(rows, 0));
    if (change == Change::Reload || shown != m_rows || columns != m_columns) {
        beginResetModel();
        m_first = first;
        m_rows = shown;
        m_columns = columns;
        endResetModel();
        return true;
    }
    if (first == m_first)
        return false;
    m_first = first;
    if (m_rows > 0 && m_columns > 0) {
        emit dataChanged(index(0, 0), index(m_rows - 1, m_columns - 1));
        emit headerDataChanged(Qt::Vertical, 0, m_rows - 1);
    }
    return true;
}

int RowWindow::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int RowWindow::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant RowWindow::data(const QModelIndex& index, int role) const
{
    const QModelIndex shown = sourceIndex(index);
    return shown.isValid() ? shown.data(role) : QVariant();
}

QVariant RowWindow::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (!m_source)
        return {};
    return m_source->headerData(orientation == Qt::Vertical ? m_first + section : section, orientation, role);
}

Qt::ItemFlags RowWindow::flags(const QModelIndex& index) const
{
    const QModelIndex shown = sourceIndex(index);
    return shown.isValid() ? m_source->flags(shown) : Qt::NoItemFlags;
}

// Invalid for a row the source no longer has: between the source's reset and the window's own, a view may ask.
QModelIndex RowWindow::sourceIndex(const QModelIndex& index) const
{
    if (!m_source || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    return m_source->index(m_first + index.row(), index.column());
}

} // namespace osago
