#include "app/AgentSettings.h"
#include "RegisterTestSupport.h"
#include "StorageTestSupport.h"
#include "storage/sqlite/SqliteDatabase.h"
#include "widgets/WindowedGrid.h"

#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <chrono>

using namespace osago;
using namespace osago::test;

namespace {

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// An SQLite file made by another program: `statements` run on a new file at `path`.
void makeSqliteFile(const QString& path, const QStringList& statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        for (const QString& statement : statements)
            QVERIFY2(query.exec(statement), qPrintable(statement));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
}

// Starts a new record with a surname and saves it from the results page.
void saveNewRecord(TestProgram& t, const QString& surname)
{
    t.trigger("N2");
    setControlText(t.editor(), QStringLiteral("LabeledEditFamil"), surname);
    saveFromEditor(t.editor());
}

// The row ids on one leaf page of the register's table, from `first` to `last`.
struct LeafRows
{
    qint64 first = 0;
    qint64 last = -1;
};

// Overwrites with garbage the leaf page of the table holding the row `rowid` of a file whose rows are numbered
// from 1 without gaps, and gives the rows that page held; none when the page could not be found or written.
LeafRows damageLeafHolding(const QString& path, qint64 rowid)
{
    LeafRows rows;
    qint64 page = 0;
    qint64 pageSize = 0;
    {
        const RawConnection raw(path);
        pageSize = raw.scalar(QStringLiteral("PRAGMA page_size")).toLongLong();
        QSqlQuery leaves(raw.db());
        // A table's leaves in the order of their paths from the root are its rows in rowid order.
        leaves.exec(QStringLiteral("SELECT pageno, ncell FROM dbstat WHERE name = 'TableStrah' AND pagetype = 'leaf' "
                                   "ORDER BY path"));
        qint64 first = 1;
        while (page == 0 && leaves.next()) {
            const qint64 cells = leaves.value(1).toLongLong();
            if (rowid < first + cells) {
                page = leaves.value(0).toLongLong();
                rows = {first, first + cells - 1};
            }
            first += cells;
        }
    }
    QFile file(path);
    if (page == 0 || !file.open(QIODevice::ReadWrite) || !file.seek(pageSize * (page - 1))
        || file.write(QByteArray(qsizetype(pageSize), '\x5a')) != pageSize)
        return {};
    return rows;
}

} // namespace

// The register file: made on first start, refused when it is not a register, shared, and saves that fail.
class RegisterFileTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { useTestSettings("test_register_file"); }
    void init() { QSettings().clear(); }

    void firstStartMakesTheRegisterAndTheGridShowsItsColumns()
    {
        TestProgram t;
        const QString path = t.folder.filePath(QStringLiteral("Baza.mdb"));
        QVERIFY(QFileInfo::exists(path));
        WindowedGrid& grid = t.main().grid();
        QCOMPARE(grid.sourceModel(), &t.model());
        QCOMPARE(grid.model()->rowCount(), 0);
        QCOMPARE(grid.model()->columnCount(), kPolicyColumnCount);
        QStringList titles;
        for (int column = 0; column < kPolicyColumnCount; ++column) {
            titles << grid.model()->headerData(column, Qt::Horizontal).toString();
            QVERIFY(grid.columnWidth(column) <= 200);
            QVERIFY(grid.columnWidth(column) > 0);
        }
        QCOMPARE(titles.at(38), QStringLiteral("VIN"));
        // The experience flag is spelt with a Latin c after "Доп_".
        QCOMPARE(titles.at(72), QStringLiteral("Доп_") + QLatin1Char('c') + QStringLiteral("таж_более_2_1"));
        QCOMPARE(titles.last(), QStringLiteral("Мантисса_кода"));
        QCOMPARE(grid.verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
        QCOMPARE(grid.selectionBehavior(), QAbstractItemView::SelectRows);
        QVERIFY(t.seam.shown().isEmpty());
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void gridTakesNoEdits()
    {
        TestProgram t;
        saveNewRecord(t, QStringLiteral("Сидоров"));
        WindowedGrid& grid = t.main().grid();
        QVERIFY(QTest::qWaitForWindowExposed(&t.main()));
        const QModelIndex cell = t.model().index(0, 0);
        grid.selectSourceCell(0, 0);
        QTest::keyClicks(&grid, QStringLiteral("abc"));
        QTest::keyClick(&grid, Qt::Key_F2);
        QTest::keyClick(&grid, Qt::Key_Return);
        QVERIFY(!(t.model().flags(cell) & Qt::ItemIsEditable));
        QCOMPARE(t.model().data(cell).toString(), QStringLiteral("Сидоров"));
        QCOMPARE(rowsOnDisk(t.program.database().path()).first().value(0), QStringLiteral("Сидоров"));
    }

    void foreignFileIsRefusedAndLeftAsItIs_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("a text file") << "text";
        QTest::newRow("another program's database") << "other table";
        QTest::newRow("a table of the same name with other columns") << "other columns";
    }

    void foreignFileIsRefusedAndLeftAsItIs()
    {
        QFETCH(QString, kind);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Baza.mdb"));
        if (kind == u"text")
            writeFile(path, QByteArray("Справочник телефонов\n").repeated(200));
        else if (kind == u"other table")
            makeSqliteFile(path, {"CREATE TABLE Clients(name TEXT)", "INSERT INTO Clients VALUES('Иванов')"});
        else
            makeSqliteFile(path, {"CREATE TABLE TableStrah(name TEXT)", "INSERT INTO TableStrah VALUES('Иванов')"});
        const QByteArray before = contentsOf(path);

        TestProgram t(path);
        QCOMPARE(t.seam.shown().size(), 1);
        QCOMPARE(t.seam.shown().first().icon, Messages::Icon::Critical);
        QVERIFY2(t.seam.shown().first().text.startsWith(QStringLiteral("Реестр полисов не открыт: ")),
                 qPrintable(t.seam.shown().first().text));
        QCOMPARE(t.model().rowCount(), 0);
        QCOMPARE(t.model().columnCount(), kPolicyColumnCount);

        // Saving says the register is not open and keeps the record in the editor.
        saveNewRecord(t, QStringLiteral("Сидоров"));
        QCOMPARE(t.seam.shown().size(), 2);
        QVERIFY2(t.seam.shown().last().text.contains(QStringLiteral("реестр не открыт")),
                 qPrintable(t.seam.shown().last().text));
        QVERIFY(t.editor().isVisible());
        QCOMPARE(controlText(t.editor(), QStringLiteral("LabeledEditFamil")), QStringLiteral("Сидоров"));
        QCOMPARE(contentsOf(path), before);
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void failedSaveKeepsEverythingTyped_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QString>("reason");
        QTest::newRow("read-only file") << "read-only" << "открыт только для чтения";
        QTest::newRow("locked by another program") << "locked" << "занята другой программой";
        QTest::newRow("file removed") << "removed" << "удалён";
    }

    void failedSaveKeepsEverythingTyped()
    {
        QFETCH(QString, cause);
        QFETCH(QString, reason);
        TestProgram t;
        // The busy timeout is the file engine's own, behind the register the program may switch.
        auto& database =
            dynamic_cast<SqliteDatabase&>(t.program.database());
        const QString path = database.path();
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        if (cause == u"read-only") {
            QVERIFY(database.open(path, SqliteDatabase::Access::ReadOnly).ok);
        } else if (cause == u"locked") {
            database.setBusyTimeout(std::chrono::milliseconds(200));
            QVERIFY(database.open(path).ok);
            other.setDatabaseName(path);
            QVERIFY(other.open());
            QVERIFY(QSqlQuery(other).exec(QStringLiteral("BEGIN IMMEDIATE")));
        } else {
            QVERIFY(QFile::remove(path));
        }

        t.trigger("N2");
        setControlText(t.editor(), QStringLiteral("LabeledEditFamil"), QStringLiteral("Сидоров"));
        setControlText(t.editor(), QStringLiteral("EditMarka"), QStringLiteral("Лада Веста"));
        saveFromEditor(t.editor());

        // A register open for reading says so when the editor opens, before the record is typed.
        QCOMPARE(t.seam.shown().size(), cause == u"read-only" ? 2 : 1);
        const QString message = t.seam.shown().last().text;
        QVERIFY2(message.startsWith(QStringLiteral("Запись не сохранена: ")) && message.contains(reason),
                 qPrintable(message));
        QVERIFY(t.editor().isVisible());
        QVERIFY(!t.main().isEnabled());
        // The wait cursor of the save is gone once it has given up.
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(control<QTabWidget>(t.editor(), QStringLiteral("PageControl"))->currentIndex(), 5);
        QCOMPARE(controlText(t.editor(), QStringLiteral("LabeledEditFamil")), QStringLiteral("Сидоров"));
        QCOMPARE(controlText(t.editor(), QStringLiteral("EditMarka")), QStringLiteral("Лада Веста"));
        QCOMPARE(t.model().rowCount(), 0);

        if (other.isOpen())
            QSqlQuery(other).exec(QStringLiteral("ROLLBACK"));
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
        QVERIFY(rowsOnDisk(path).isEmpty());
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    // A damaged leaf page among the rows Ctrl+End walks: the keys reach the last and the first rows, which show as
    // they are, the rows of that page show as unreadable in every cell, the rows between as they are, and the
    // grid counts every row. The failure is told once.
    void damagedLeafPageHidesOnlyItsOwnRows()
    {
        constexpr int kRows = 700;
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Baza.mdb"));
        {
            const auto database = makeDatabase(path);
            QVERIFY(database->open(path).ok);
            for (int n = 1; n <= kRows; ++n) {
                PolicyRow row;
                row.setValue(0, QStringLiteral("Запись %1").arg(n));
                QVERIFY(database->insert(row).ok);
            }
        }
        const LeafRows damaged = damageLeafHolding(path, 520);
        // Within the ids the walk from the end reads at once, outside the last page of the grid.
        QVERIFY2(damaged.first > kRows - RowIds::kStep && damaged.last <= kRows - RegisterModel::kPageRows,
                 qPrintable(QStringLiteral("%1-%2").arg(damaged.first).arg(damaged.last)));
        const auto expected = [&](int row) {
            return row + 1 >= damaged.first && row + 1 <= damaged.last ? RegisterModel::unreadableText()
                                                                       : QStringLiteral("Запись %1").arg(row + 1);
        };

        TestProgram t(path);
        WindowedGrid& grid = t.main().grid();
        QVERIFY(QTest::qWaitForWindowExposed(&t.main()));
        const auto verifyShownRows = [&] {
            QVERIFY(grid.lastShownRow() > grid.firstShownRow());
            for (int row = grid.firstShownRow(); row <= grid.lastShownRow(); ++row)
                QCOMPARE(t.model().data(t.model().index(row, 0)).toString(), expected(row));
        };
        grid.setFocus();
        QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(grid.selectedSourceRow(), kRows - 1);
        QCOMPARE(grid.lastShownRow(), kRows - 1);
        verifyShownRows();
        QCOMPARE(t.model().rowCount(), kRows);

        for (int presses = 0; grid.firstShownRow() >= damaged.first && presses < kRows; ++presses)
            QTest::keyClick(&grid, Qt::Key_PageUp);
        QVERIFY(grid.firstShownRow() < damaged.first && grid.lastShownRow() >= damaged.first);
        verifyShownRows();
        for (int column = 0; column < kPolicyColumnCount; ++column)
            QCOMPARE(t.model().data(t.model().index(int(damaged.first) - 1, column)).toString(),
                     RegisterModel::unreadableText());
        QTRY_COMPARE(t.seam.shown().size(), 1);
        QVERIFY2(t.seam.shown().front().text.contains(u"повреждён"), qPrintable(t.seam.shown().front().text));

        QTest::keyClick(&grid, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(grid.selectedSourceRow(), 0);
        QCOMPARE(grid.firstShownRow(), 0);
        verifyShownRows();
        QCOMPARE(t.model().rowCount(), kRows);
        QCOMPARE(t.seam.shown().size(), 1);
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void twoProgramsOnOneFileSeeEachOthersRows()
    {
        TestProgram first;
        TestProgram second(first.program.database().path());
        saveNewRecord(first, QStringLiteral("Первый"));
        QCOMPARE(second.model().rowCount(), 0);

        saveNewRecord(second, QStringLiteral("Второй"));
        QCOMPARE(second.model().rowCount(), 2);
        QVERIFY(first.model().refresh().ok);
        QCOMPARE(first.model().rowCount(), 2);
        for (TestProgram* t : {&first, &second}) {
            QCOMPARE(t->storedRow(0).value(0), QStringLiteral("Первый"));
            QCOMPARE(t->storedRow(1).value(0), QStringLiteral("Второй"));
        }
        OSAGO_VERIFY_MESSAGES(first.seam);
        OSAGO_VERIFY_MESSAGES(second.seam);
    }
};

QTEST_MAIN(RegisterFileTest)
#include "RegisterFileTest.moc"
