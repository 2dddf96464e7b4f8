#include "widgets/WindowedGrid.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <memory>

using osago::WindowedGrid;

namespace {

// A source of any length whose cells name their row and column; it counts what it was asked, so a test sees
// that the grid only reads the rows on screen.
class LongModel final : public QAbstractTableModel
{
public:
    explicit LongModel(int rows) : m_rows(rows) {}

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : m_rows; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 4; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        highestRowRead = std::max(highestRowRead, index.row());
        return QStringLiteral("r%1c%2").arg(index.row()).arg(index.column());
    }
    void resize(int rows)
    {
        beginResetModel();
        m_rows = rows;
        endResetModel();
    }

    mutable int highestRowRead = -1;

private:
    int m_rows;
};

QString cellName(int row, int column)
{
    return QStringLiteral("r%1c%2").arg(row).arg(column);
}

} // namespace

class WindowedGridTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<LongModel> m_source;
    std::unique_ptr<WindowedGrid> m_grid;

    void showGrid(int rows, QAbstractItemView::SelectionMode mode = QAbstractItemView::SingleSelection)
    {
        m_source = std::make_unique<LongModel>(rows);
        m_grid = std::make_unique<WindowedGrid>();
        m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
        m_grid->setSelectionMode(mode);
        m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_grid->resize(400, 300);
        m_grid->setSourceModel(m_source.get());
        m_grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
        m_grid->setFocus();
    }

    // The rows the viewport shows from top to bottom, read off the view itself.
    QStringList shownFirstCells() const
    {
        QStringList cells;
        const QAbstractItemModel* shown = m_grid->model();
        for (int row = 0; row < shown->rowCount(); ++row) {
            if (m_grid->visualRect(shown->index(row, 0)).top() < m_grid->viewport()->height())
                cells << shown->index(row, 0).data().toString();
        }
        return cells;
    }

    // How many rows fit wholly in the viewport, measured on the view's own rows.
    int wholeRowsOnScreen() const
    {
        const QAbstractItemModel* shown = m_grid->model();
        int whole = 0;
        while (whole < shown->rowCount()
               && m_grid->visualRect(shown->index(whole, 0)).bottom() < m_grid->viewport()->height())
            ++whole;
        return whole;
    }

    void verifyRowInSight(int row)
    {
        QVERIFY2(m_grid->firstShownRow() <= row && row <= m_grid->lastShownRow(),
                 qPrintable(QStringLiteral("row %1 not within %2..%3")
                                .arg(row)
                                .arg(m_grid->firstShownRow())
                                .arg(m_grid->lastShownRow())));
    }

private slots:
    void cleanup()
    {
        m_grid.reset();
        m_source.reset();
    }

    void viewHoldsOnlyTheRowsOnScreen()
    {
        showGrid(1'000'000);
        const int whole = wholeRowsOnScreen();
        QVERIFY(whole > 3);
        QVERIFY(m_grid->model()->rowCount() <= whole + 1);
        QCOMPARE(m_grid->verticalScrollBar()->maximum(), 1'000'000 - whole);
        QVERIFY(m_source->highestRowRead <= whole + 1);
        QCOMPARE(shownFirstCells().first(), cellName(0, 0));
        // The row titles count the source's rows and are wide enough for the last one from the start.
        const int titleWidth = m_grid->verticalHeader()->width();
        m_grid->verticalScrollBar()->setValue(999'000);
        QCOMPARE(shownFirstCells().first(), cellName(999'000, 0));
        QCOMPARE(m_grid->model()->headerData(0, Qt::Vertical).toInt(), 999'001);
        QCOMPARE(m_grid->verticalHeader()->width(), titleWidth);
        QVERIFY(m_source->highestRowRead <= 999'000 + whole + 1);
    }

    void keysMoveThroughTheSource_data()
    {
        QTest::addColumn<int>("startRow");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("pagesDown"); // the expected move, in pages
        QTest::addColumn<int>("rowsDown");  // and in rows; -1 as both: the last row
        QTest::addColumn<int>("column");    // the current column after it, from column 2
        QTest::newRow("down") << 5 << int(Qt::Key_Down) << int(Qt::NoModifier) << 0 << 1 << 2;
        QTest::newRow("up") << 5 << int(Qt::Key_Up) << int(Qt::NoModifier) << 0 << -1 << 2;
        QTest::newRow("up at the top") << 0 << int(Qt::Key_Up) << int(Qt::NoModifier) << 0 << 0 << 2;
        QTest::newRow("page down") << 5 << int(Qt::Key_PageDown) << int(Qt::NoModifier) << 1 << 0 << 2;
        QTest::newRow("page up") << 500 << int(Qt::Key_PageUp) << int(Qt::NoModifier) << -1 << 0 << 2;
        QTest::newRow("home") << 5000 << int(Qt::Key_Home) << int(Qt::NoModifier) << 0 << 0 << 0;
        QTest::newRow("ctrl+home") << 5000 << int(Qt::Key_Home) << int(Qt::ControlModifier) << 0 << -5000 << 0;
        QTest::newRow("ctrl+end") << 5 << int(Qt::Key_End) << int(Qt::ControlModifier) << -1 << -1 << 3;
        QTest::newRow("right") << 5000 << int(Qt::Key_Right) << int(Qt::NoModifier) << 0 << 0 << 3;
        QTest::newRow("down at the end") << 9999 << int(Qt::Key_Down) << int(Qt::NoModifier) << 0 << 0 << 2;
    }

    void keysMoveThroughTheSource()
    {
        QFETCH(int, startRow);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, pagesDown);
        QFETCH(int, rowsDown);
        QFETCH(int, column);
        showGrid(10'000);
        m_grid->selectSourceCell(startRow, 2);
        verifyRowInSight(startRow);
        const int page = wholeRowsOnScreen();
        QTest::keyClick(m_grid.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        const int expected = pagesDown == -1 && rowsDown == -1 ? 9'999 : startRow + pagesDown * page + rowsDown;
        QCOMPARE(m_grid->selectedSourceRow(), expected);
        verifyRowInSight(expected);
        QCOMPARE(m_grid->currentIndex().data().toString(), cellName(expected, column));
        QCOMPARE(m_grid->selectionModel()->selectedRows().size(), 1);
    }

    // The wheel and the scroll bar move the window; the selected row stays selected while out of sight and
    // shows selected again when it comes back.
    void scrollingKeepsTheSelection()
    {
        showGrid(10'000);
        m_grid->selectSourceCell(3);
        QWheelEvent down(QPointF(50, 50), m_grid->mapToGlobal(QPointF(50, 50)), {}, QPoint(0, -120 * 10),
                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_grid->viewport(), &down);
        QVERIFY(m_grid->firstShownRow() > 3);
        QCOMPARE(shownFirstCells().first(), cellName(m_grid->firstShownRow(), 0));
        QCOMPARE(m_grid->selectedSourceRow(), 3);
        QVERIFY(m_grid->selectionModel()->selectedRows().isEmpty());

        m_grid->verticalScrollBar()->setValue(0);
        QCOMPARE(m_grid->selectionModel()->selectedRows().value(0).row(), 3);
        QCOMPARE(m_grid->selectedSourceRow(), 3);

        // A key goes on from the selected row even after it was scrolled out of sight.
        m_grid->verticalScrollBar()->setValue(6000);
        QTest::keyClick(m_grid.get(), Qt::Key_Down);
        QCOMPARE(m_grid->selectedSourceRow(), 4);
        verifyRowInSight(4);
    }

    void clickSelectsTheSourceRowUnderThePointer()
    {
        showGrid(10'000);
        m_grid->verticalScrollBar()->setValue(700);
        const QRect third = m_grid->visualRect(m_grid->model()->index(2, 1));
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, third.center());
        QCOMPARE(m_grid->selectedSourceRow(), 702);
        QCOMPARE(m_grid->currentIndex().data().toString(), cellName(702, 1));
    }

    // A reset source keeps the grid's place as far as it still reaches, with nothing selected.
    void sourceResetKeepsThePlace()
    {
        showGrid(10'000);
        m_grid->selectSourceCell(5000);
        const int first = m_grid->firstShownRow();
        QSignalSpy selection(m_grid->selectionModel(), &QItemSelectionModel::selectionChanged);
        m_source->resize(10'001);
        QCOMPARE(m_grid->firstShownRow(), first);
        QCOMPARE(m_grid->selectedSourceRow(), -1);
        QCOMPARE(shownFirstCells().first(), cellName(first, 0));

        m_source->resize(100);
        QCOMPARE(m_grid->lastShownRow(), 99);
        QCOMPARE(shownFirstCells().last(), cellName(99, 0));
        QCOMPARE(m_grid->verticalScrollBar()->maximum(), 100 - wholeRowsOnScreen());

        m_source->resize(0);
        QCOMPARE(m_grid->model()->rowCount(), 0);
        QCOMPARE(m_grid->lastShownRow(), -1);
        QTest::keyClick(m_grid.get(), Qt::Key_Down);
        QCOMPARE(m_grid->selectedSourceRow(), -1);
    }

    // A range longer than the screen stays the grid's own while the window moves along it.
    void extendedSelectionKeepsARangeOfSourceRows()
    {
        showGrid(10'000, QAbstractItemView::ExtendedSelection);
        m_grid->selectSourceCell(100);
        QCOMPARE(m_grid->selectedSourceRows().count(), 1);
        const int page = wholeRowsOnScreen();
        QTest::keyClick(m_grid.get(), Qt::Key_PageDown, Qt::ShiftModifier);
        QTest::keyClick(m_grid.get(), Qt::Key_PageDown, Qt::ShiftModifier);
        WindowedGrid::SourceRows range = m_grid->selectedSourceRows();
        QCOMPARE(range.first, 100);
        QCOMPARE(range.last, 100 + 2 * page);
        QCOMPARE(m_grid->selectionModel()->selectedRows().size(), m_grid->lastShownRow() - m_grid->firstShownRow());

        // Shift and a click above the first row picked: the range turns round that row.
        m_grid->verticalScrollBar()->setValue(90);
        const QRect top = m_grid->visualRect(m_grid->model()->index(0, 0));
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, top.center());
        range = m_grid->selectedSourceRows();
        QCOMPARE(range.first, 90);
        QCOMPARE(range.last, 100);
        QCOMPARE(m_grid->selectionModel()->selectedRows().size(), std::min(11, m_grid->model()->rowCount()));

        // A plain click starts again; Ctrl+A takes every row of the source.
        const QRect third = m_grid->visualRect(m_grid->model()->index(2, 0));
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, third.center());
        QCOMPARE(m_grid->selectedSourceRows().first, 92);
        QCOMPARE(m_grid->selectedSourceRows().count(), 1);
        QTest::keyClick(m_grid.get(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(m_grid->selectedSourceRows().count(), 10'000);
        m_grid->verticalScrollBar()->setValue(5'000);
        QCOMPARE(m_grid->selectionModel()->selectedRows().size(), m_grid->model()->rowCount());
        m_source->resize(50);
        QCOMPARE(m_grid->selectedSourceRows().count(), 0);
    }

    void tallerGridShowsMoreRows()
    {
        showGrid(10'000);
        m_grid->verticalScrollBar()->setValue(9'000);
        const int before = wholeRowsOnScreen();
        m_grid->resize(400, 600);
        QTRY_VERIFY(wholeRowsOnScreen() > before);
        const QStringList cells = shownFirstCells();
        for (int i = 0; i < cells.size(); ++i)
            QCOMPARE(cells[i], cellName(m_grid->firstShownRow() + i, 0));
        QCOMPARE(m_grid->verticalScrollBar()->maximum(), 10'000 - wholeRowsOnScreen());
    }
};

QTEST_MAIN(WindowedGridTest)
#include "WindowedGridTest.moc"
