#include "app/AgentSettings.h"
#include "RegisterTestSupport.h"
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
