#include "widgets/WindowedGrid.h"

#include "widgets/RowWindow.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace osago {

WindowedGrid::WindowedGrid(QWidget* parent)
    : QTableView(parent)
    , m_window(new RowWindow(this))
{
    setVerticalScrollMode(ScrollPerItem);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QTableView::setModel(m_window);
}

void WindowedGrid::setSourceModel(QAbstractItemModel* source)
{
    if (QAbstractItemModel* old = m_window->source())
        disconnect(old, nullptr, this, nullptr);
    m_window->setSource(source);
    if (source) {
        connect(source, &QAbstractItemModel::modelReset, this, &WindowedGrid::sourceReset);
        connect(source, &QAbstractItemModel::layoutChanged, this, &WindowedGrid::sourceReset);
        connect(source, &QAbstractItemModel::rowsInserted, this, &WindowedGrid::sourceReset);
        connect(source, &QAbstractItemModel::rowsRemoved, this, &WindowedGrid::sourceReset);
    }
    sourceReset();
}

QAbstractItemModel* WindowedGrid::sourceModel() const
{
    return m_window->source();
}

void WindowedGrid::selectSourceCell(int row, int column)
{
    if (row < 0 || row >= sourceRows())
        return;
    placeWindow(firstRowShowing(row));
    setCurrentIndex(m_window->index(row - firstShownRow(), column));
}

int WindowedGrid::firstShownRow() const
{
    return m_window->first();
}

int WindowedGrid::lastShownRow() const
{
    const int bottom = rowAt(viewport()->height() - 1);
    if (bottom >= 0)
        return firstShownRow() + bottom;
    return m_window->rowCount() > 0 ? firstShownRow() + m_window->rowCount() - 1 : -1;
}

// Up, down and the page keys move through the source's rows; Ctrl+Home and Ctrl+End go to its first and last
// row, as Home and End go to the first and last column. Other moves stay within the row.
QModelIndex WindowedGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const int rows = sourceRows();
    const int columns = m_window->columnCount();
    if (rows == 0 || columns == 0)
        return {};
    const bool control = modifiers & Qt::ControlModifier;
    int row = m_currentRow >= 0 ? m_currentRow : firstShownRow();
    int column = m_currentColumn;
    switch (action) {
    case MoveUp:
        --row;
        break;
    case MoveDown:
        ++row;
        break;
    case MovePageUp:
        row -= wholeRowsShown();
        break;
    case MovePageDown:
        row += wholeRowsShown();
        break;
    case MoveHome:
        column = 0;
        row = control ? 0 : row;
        break;
    case MoveEnd:
        column = columns - 1;
        row = control ? rows - 1 : row;
        break;
    default:
        return QTableView::moveCursor(action, modifiers);
    }
    row = std::clamp(row, 0, rows - 1);
    placeWindow(firstRowShowing(row));
    return m_window->index(row - firstShownRow(), std::clamp(column, 0, columns - 1));
}

// The table view scrolls sideways as usual; upward and downward the window moves instead.
void WindowedGrid::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (!index.isValid() || m_placing)
        return;
    const int row = firstShownRow() + index.row();
    placeWindow(firstRowShowing(row));
    {
        const QScopedValueRollback settingBar(m_settingBar, true);
        QTableView::scrollTo(m_window->index(row - firstShownRow(), index.column()), hint);
    }
    syncScrollBar();
}

// The view lays out its window; then the window is fitted to the rows that now fit, and the scroll bar set to
// count the source's rows again.
void WindowedGrid::updateGeometries()
{
    {
        const QScopedValueRollback settingBar(m_settingBar, true);
        QTableView::updateGeometries();
        verticalHeader()->setOffset(0);
    }
    if (!m_placing)
        placeWindow(firstShownRow());
    syncScrollBar();
}

void WindowedGrid::scrollContentsBy(int dx, int dy)
{
    if (dx != 0)
        QTableView::scrollContentsBy(dx, 0);
    if (dy != 0 && !m_settingBar)
        placeWindow(verticalScrollBar()->value());
}

void WindowedGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    const bool moved = !m_placing && current.isValid();
    if (moved) {
        m_currentRow = firstShownRow() + current.row();
        m_currentColumn = current.column();
    }
    QTableView::currentChanged(current, previous);
    if (!moved || !keepsRange())
        return;
    if (!m_extending || m_anchorRow < 0)
        m_anchorRow = m_currentRow;
    m_range = {std::min(m_anchorRow, m_currentRow), std::max(m_anchorRow, m_currentRow)};
    m_selectedRow = m_currentRow;
    markSelection();
}

WindowedGrid::SourceRows WindowedGrid::selectedSourceRows() const
{
    if (keepsRange())
        return m_range;
    return {m_selectedRow, m_selectedRow};
}

void WindowedGrid::selectAll()
{
    if (!keepsRange()) {
        QTableView::selectAll();
        return;
    }
    if (sourceRows() == 0)
        return;
    m_anchorRow = 0;
    m_range = {0, sourceRows() - 1};
    markSelection();
}

// The range is the grid's, not the view's: the view is only shown its part of it.
QItemSelectionModel::SelectionFlags WindowedGrid::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    return keepsRange() ? QItemSelectionModel::NoUpdate : QTableView::selectionCommand(index, event);
}

void WindowedGrid::keyPressEvent(QKeyEvent* event)
{
    const QScopedValueRollback extending(m_extending, event->modifiers().testFlag(Qt::ShiftModifier));
    QTableView::keyPressEvent(event);
}

void WindowedGrid::mousePressEvent(QMouseEvent* event)
{
    const QScopedValueRollback extending(m_extending, event->modifiers().testFlag(Qt::ShiftModifier));
    QTableView::mousePressEvent(event);
}

void WindowedGrid::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QTableView::selectionChanged(selected, deselected);
    if (m_placing || keepsRange())
        return;
    const QModelIndexList rows = selectionModel()->selectedRows();
    m_selectedRow = rows.isEmpty() ? -1 : firstShownRow() + rows.first().row();
}

int WindowedGrid::sourceRows() const
{
    const QAbstractItemModel* source = m_window->source();
    return source ? source->rowCount() : 0;
}

int WindowedGrid::wholeRowsShown() const
{
    return std::max(1, viewport()->height() / std::max(1, verticalHeader()->defaultSectionSize()));
}

int WindowedGrid::lastFirstRow() const
{
    return std::max(0, sourceRows() - wholeRowsShown());
}

// One row more than fit wholly, so the bottom of the grid shows the next row in part, as a long table does.
void WindowedGrid::placeWindow(int first, bool reload)
{
    {
        const QScopedValueRollback placing(m_placing, true);
        const auto change = reload ? RowWindow::Change::Reload : RowWindow::Change::Move;
        if (!m_window->place(std::clamp(first, 0, lastFirstRow()), wholeRowsShown() + 1, change))
            return;
        markSelection();
    }
    syncScrollBar();
}

// The view's selection and current cell are those of the source's that fall in the window.
void WindowedGrid::markSelection()
{
    QItemSelectionModel* selection = selectionModel();
    const auto inWindow = [&](int sourceRow) { return sourceRow - firstShownRow() < m_window->rowCount(); };
    const SourceRows range = selectedSourceRows();
    const int top = std::max(range.first, firstShownRow()) - firstShownRow();
    const int bottom = std::min(range.last - firstShownRow(), m_window->rowCount() - 1);
    const int current = m_currentRow - firstShownRow();
    if (range.first >= 0 && top <= bottom)
        selection->select(QItemSelection(m_window->index(top, 0), m_window->index(bottom, 0)),
                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        selection->clearSelection();
    const bool currentShown = current >= 0 && inWindow(m_currentRow);
    selection->setCurrentIndex(currentShown ? m_window->index(current, m_currentColumn) : QModelIndex(),
                               QItemSelectionModel::NoUpdate);
}

int WindowedGrid::firstRowShowing(int row) const
{
    const int first = firstShownRow();
    const int whole = wholeRowsShown();
    if (row < first)
        return row;
    if (row >= first + whole)
        return row - whole + 1;
    return first;
}

// A new or reset source has none of the old rows: nothing stays selected, and the window keeps its place as far
// as the source reaches.
void WindowedGrid::sourceReset()
{
    m_selectedRow = -1;
    m_currentRow = -1;
    m_anchorRow = -1;
    m_range = {};
    fitRowTitles();
    placeWindow(firstShownRow(), true);
}

void WindowedGrid::syncScrollBar()
{
    QScrollBar* bar = verticalScrollBar();
    const QScopedValueRollback settingBar(m_settingBar, true);
    bar->setRange(0, lastFirstRow());
    bar->setPageStep(wholeRowsShown());
    bar->setSingleStep(1);
    bar->setValue(firstShownRow());
}

// The row titles are as wide as the highest row number needs, so they do not widen as the grid scrolls down.
void WindowedGrid::fitRowTitles()
{
    QHeaderView* titles = verticalHeader();
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, titles);
    const QString widest = QString::number(std::max(sourceRows(), 1));
    titles->setMinimumWidth(titles->fontMetrics().horizontalAdvance(widest) + 4 * margin);
}

} // namespace osago
