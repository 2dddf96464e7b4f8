#pragma once

#include <QTableView>

namespace osago {

class RowWindow;

// A read-only grid over a model of any length. A table view keeps a record for every row of its model (at a
// million rows, 8 MB of fresh memory on every start); this one gives its view only the rows on screen, through a
// RowWindow, and its vertical scroll bar counts the source's rows: its value is the first row shown. The keys,
// the wheel and the scroll bar move the window; the row selected in the source stays selected while it is out
// of sight. Rows are of one fixed height. In ExtendedSelection mode the grid keeps a range of source rows selected
// itself (Shift with a click or a moving key extends it from the last row picked alone, Ctrl+A takes every row),
// since the view's own selection only knows the rows on screen.
class WindowedGrid : public QTableView
{
    Q_OBJECT

public:
    explicit WindowedGrid(QWidget* parent = nullptr);

    void setSourceModel(QAbstractItemModel* source);
    QAbstractItemModel* sourceModel() const;

    // The source row selected, or -1; in ExtendedSelection mode the current row of the range selected.
    int selectedSourceRow() const { return m_selectedRow; }
    // The source rows selected, first to last; first is -1 when none is.
    struct SourceRows
    {
        int first = -1;
        int last = -1;
        int count() const { return first < 0 ? 0 : last - first + 1; }
    };
    SourceRows selectedSourceRows() const;
    void selectAll() override;
    // Makes the cell at `row`, `column` of the source current, its row selected, and brings it into sight.
    void selectSourceCell(int row, int column = 0);
    // The source row at the top of the grid.
    int firstShownRow() const;
    // The source row at the bottom of the grid, wholly or partly shown, or -1 when no row is shown.
    int lastShownRow() const;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int sourceRows() const;
    int wholeRowsShown() const;
    int lastFirstRow() const;
    // Shows the source's rows from `first` on (kept within the source), with the selection and the current cell
    // of the source rows that are in sight.
    void placeWindow(int first, bool reload = false);
    bool keepsRange() const { return selectionMode() == ExtendedSelection; }
    void markSelection();
    // The first row that brings `row` wholly into sight with the least movement.
    int firstRowShowing(int row) const;
    void sourceReset();
    // Sets the scroll bar to the window's place among the source's rows.
    void syncScrollBar();
    void fitRowTitles();

    RowWindow* m_window = nullptr;
    int m_selectedRow = -1;
    int m_currentRow = -1;
    int m_currentColumn = 0;
    // ExtendedSelection: where the range started, and whether the agent's key or click at hand extends it.
    int m_anchorRow = -1;
    SourceRows m_range;
    bool m_extending = false;
    bool m_placing = false;
    // Set while the view or this grid sets the scroll bar itself, when its moves are not the agent's.
    bool m_settingBar = false;
};

} // namespace osago
