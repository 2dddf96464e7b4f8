#pragma once

#include <QAbstractTableModel>
#include <QPointer>

namespace osago {

// The rows of a long model that a grid has on screen: rows first .. first+n-1 of the source, numbered from 0,
// with the source's columns, column titles and flags; a row's title is its number in the source. Moving the
// window along the source changes the values, not the shape, so a view repaints it without laying anything out.
class RowWindow : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void setSource(QAbstractItemModel* source);
    QAbstractItemModel* source() const { return m_source; }
    int first() const { return m_first; }

    // Shows `rows` rows from `first` on, fewer at the end of the source. A window of the same shape only reports
    // its values changed; `Reload` starts it afresh, for a source that was itself reset. False when a move
    // changed nothing.
    enum class Change { Move, Reload };
    bool place(int first, int rows, Change change);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QModelIndex sourceIndex(const QModelIndex& index) const;

    QPointer<QAbstractItemModel> m_source;
    int m_first = 0;
    int m_rows = 0;
    int m_columns = 0;
};

} // namespace osago
