#include "storage/sqlite/SqliteSql.h"
#include "grid/RegisterModel.h"
#include "StorageTestSupport.h"
#include "TestRegister.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace osago;
using osago::test::RawRegister;

namespace {

// The text the model should show in `column` of the n-th row written by fill().
QString cell(int n, int column)
{
    return test::trickyRow(QString::number(n)).value(column);
}

} // namespace

class RegisterModelTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestRegister> m_register;
    std::unique_ptr<PolicyDatabase> m_database;

    QString location() const { return m_register->location(); }

    // Writes rows first ... first+count-1 in one transaction of a connection of its own.
    void fill(int first, int count)
    {
        RawRegister raw(*m_register);
        QVERIFY(raw.exec(QStringLiteral("BEGIN")));
        for (int n = first; n < first + count; ++n) {
            PolicyRow row = test::trickyRow(QString::number(n));
            row.setValue(rowCodeColumnIndex(), QStringLiteral("code-%1").arg(n));
            QVERIFY(raw.exec(sqliteSql::insert(), row.values()));
        }
        QVERIFY(raw.exec(QStringLiteral("COMMIT")));
    }

    static QString shown(const RegisterModel& model, int row, int column)
    {
        return model.data(model.index(row, column)).toString();
    }

private slots:
    void init()
    {
        m_register = std::make_unique<test::TestRegister>();
        m_database = m_register->makeDatabase();
        QVERIFY(m_database->open(location()).ok);
    }

    void cleanup()
    {
        m_database.reset();
        m_register.reset();
    }

    void emptyRegisterShowsTitlesAndNoRows()
    {
        RegisterModel model(*m_database);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(model.refresh().ok);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.columnCount(), 123);
        for (int column = 0; column < 123; ++column)
            QCOMPARE(model.headerData(column, Qt::Horizontal).toString(), policyColumnNames().at(column));
        QCOMPARE(model.headerData(38, Qt::Horizontal).toString(), QStringLiteral("VIN"));
    }

    void rowsShowEveryColumnInOrder()
    {
        fill(0, 1000);
        RegisterModel model(*m_database);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(model.refresh().ok);
        QCOMPARE(model.rowCount(), 1000);
        for (int column = 0; column < kPolicyColumnCount - 1; ++column) {
            QCOMPARE(shown(model, 0, column), cell(0, column));
            QCOMPARE(shown(model, 999, column), cell(999, column));
        }
        QCOMPARE(model.codeAt(999), QStringLiteral("code-999"));
        QCOMPARE(model.rowOfCode(QStringLiteral("code-500")), 500);
        QCOMPARE(model.rowOfCode(QStringLiteral("no such code")), -1);
    }

    // More rows than the pages kept: every row still shows its own values after the early pages were dropped.
    void walkingEveryRowShowsEachOnce()
    {
        const int rows = RegisterModel::kPageRows * (RegisterModel::kCachedPages + 3) + 17;
        fill(0, rows);
        RegisterModel model(*m_database);
        QVERIFY(model.refresh().ok);
        QCOMPARE(model.rowCount(), rows);
        for (int row = 0; row < rows; ++row)
            QCOMPARE(shown(model, row, 0), cell(row, 0));
        QCOMPARE(shown(model, 0, 122), QStringLiteral("code-0"));
        QCOMPARE(shown(model, rows - 1, 120), cell(rows - 1, 120));
        QVERIFY(model.lastError().isEmpty());
    }

    void gridTakesNoEdits()
    {
        fill(0, 2);
        RegisterModel model(*m_database);
        QVERIFY(model.refresh().ok);
        const QModelIndex index = model.index(1, 0);
        QVERIFY(!(model.flags(index) & Qt::ItemIsEditable));
        QVERIFY(model.flags(index) & Qt::ItemIsSelectable);
        QVERIFY(!model.setData(index, QStringLiteral("правка")));
        QCOMPARE(shown(model, 1, 0), cell(1, 0));
        QVERIFY(!model.data(index, Qt::EditRole).isValid());
    }

    void refreshShowsSavesAndDeletions()
    {
        fill(0, 3);
        RegisterModel model(*m_database);
        QVERIFY(model.refresh().ok);
        const auto saved = m_database->insert(test::trickyRow(QStringLiteral("новая")));
        QVERIFY(saved.ok);
        QCOMPARE(model.rowCount(), 3);

        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        QVERIFY(model.refresh().ok);
        QCOMPARE(reset.count(), 1);
        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(model.rowOfCode(saved.value), 3);
        QCOMPARE(shown(model, 3, 5), test::trickyRow(QStringLiteral("новая")).value(5));

        QVERIFY(test::removeByCode(*m_database, QStringLiteral("code-1")).ok);
        QVERIFY(model.refresh().ok);
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(shown(model, 1, 0), cell(2, 0));
        QCOMPARE(model.rowOfCode(saved.value), 2);
    }

    void anotherProgramsRowsAppearAfterRefresh()
    {
        RegisterModel model(*m_database);
        QVERIFY(model.refresh().ok);
        const auto otherEngine = m_register->makeDatabase();
        PolicyDatabase& other = *otherEngine;
        QVERIFY(other.open(location()).ok);
        const auto saved = other.insert(test::trickyRow(QStringLiteral("чужая")));
        QVERIFY(saved.ok);
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(model.refresh().ok);
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.codeAt(0), saved.value);
    }

    // Another program removes row 1 after the refresh. When the row ids were read before, the row shows empty
    // in its place until the next refresh; when they were not, the later rows move up and the last place shows
    // empty.
    void rowGoneSinceRefresh_data()
    {
        QTest::addColumn<bool>("idsReadBeforeRemoval");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("ids read before") << true << QStringList{"code-0", "", "code-2"};
        QTest::newRow("ids read after") << false << QStringList{"code-0", "code-2", ""};
    }

    void rowGoneSinceRefresh()
    {
        QFETCH(bool, idsReadBeforeRemoval);
        QFETCH(QStringList, codes);
        fill(0, 3);
        RegisterModel model(*m_database);
        QVERIFY(model.refresh().ok);
        if (idsReadBeforeRemoval)
            QCOMPARE(model.rowOfCode(QStringLiteral("code-2")), 2);
        const auto otherEngine = m_register->makeDatabase();
        PolicyDatabase& other = *otherEngine;
        QVERIFY(other.open(location()).ok);
        QVERIFY(test::removeByCode(other, QStringLiteral("code-1")).ok);
        QCOMPARE(model.rowCount(), 3);
        for (int row = 0; row < 3; ++row)
            QCOMPARE(model.codeAt(row), codes[row]);
        QVERIFY(model.refresh().ok);
        QCOMPARE(model.rowCount(), 2);
    }

    // With walks of 2 ids at least, 1000 rows are reached from the top, from the bottom, from the middle (every id
    // read at once) and by a jump from one end to the other: each row shows its own values however it is reached.
    void everyRowShowsItselfHoweverReached_data()
    {
        QTest::addColumn<QList<int>>("visits");
        QList<int> downward, upward;
        for (int row = 0; row < 1000; ++row) {
            downward << row;
            upward.prepend(row);
        }
        QTest::newRow("top down") << downward;
        QTest::newRow("bottom up") << upward;
        QTest::newRow("middle, then the ends") << QList<int>{500, 0, 999, 501, 383};
        QTest::newRow("last, then first") << QList<int>{999, 998, 0, 1, 870, 129};
        QTest::newRow("the walks meet") << QList<int>{0, 999, 130, 869, 300, 700, 500};
    }

    void everyRowShowsItselfHoweverReached()
    {
        QFETCH(QList<int>, visits);
        fill(0, 1000);
        RegisterModel model(*m_database, nullptr, 2);
        QVERIFY(model.refresh().ok);
        QCOMPARE(model.rowCount(), 1000);
        for (int row : visits) {
            QCOMPARE(model.codeAt(row), QStringLiteral("code-%1").arg(row));
            QCOMPARE(shown(model, row, 7), cell(row, 7));
        }
        QVERIFY(model.lastError().isEmpty());
    }

    // Finding a row by its code right after a refresh, before any row is shown, wherever the row is.
    void rowOfCodeFindsRowsBeforeAnyIsShown_data()
    {
        QTest::addColumn<int>("row");
        QTest::newRow("last") << 999;
        QTest::newRow("first") << 0;
        QTest::newRow("middle") << 517;
        QTest::newRow("near the end") << 990;
    }

    void rowOfCodeFindsRowsBeforeAnyIsShown()
    {
        QFETCH(int, row);
        fill(0, 1000);
        RegisterModel model(*m_database, nullptr, 2);
        QVERIFY(model.refresh().ok);
        QCOMPARE(model.rowOfCode(QStringLiteral("code-%1").arg(row)), row);
        QCOMPARE(model.codeAt(row), QStringLiteral("code-%1").arg(row));
        QCOMPARE(model.codeAt(999 - row), QStringLiteral("code-%1").arg(999 - row));
    }

    // Rows another program adds after the refresh stay out until the next one, even when the ids are read later.
    void rowsAddedSinceRefreshWaitForTheNext()
    {
        fill(0, 300);
        RegisterModel model(*m_database, nullptr, 2);
        QVERIFY(model.refresh().ok);
        fill(300, 5);
        QCOMPARE(model.rowCount(), 300);
        QCOMPARE(model.codeAt(299), QStringLiteral("code-299"));
        QCOMPARE(model.codeAt(150), QStringLiteral("code-150"));
        QCOMPARE(model.rowOfCode(QStringLiteral("code-302")), -1);
        QVERIFY(model.refresh().ok);
        QCOMPARE(model.rowCount(), 305);
        QCOMPARE(model.rowOfCode(QStringLiteral("code-302")), 302);
    }

    void selectionRestrictsTheRowsAndSelectAllBringsThemBack()
    {
        fill(0, 10);
        RegisterModel model(*m_database);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(model.refresh().ok);
        const int surname = policyColumnIndex(u"Страхователь_фамилия_фирма");
        RawRegister raw(*m_register);
        QVERIFY(raw.exec(QStringLiteral("UPDATE \"TableStrah\" SET \"Страхователь_фамилия_фирма\" = 'Выбранная' "
                                        "WHERE \"Мантисса_кода\" IN ('code-7', 'code-2')")));
        const StorageStatus selected = model.select({surname, QStringLiteral("выбранн"), 0});
        QVERIFY2(selected.ok, qPrintable(selected.error));
        QVERIFY(model.isRestricted());
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.codeAt(0), QStringLiteral("code-2"));
        QCOMPARE(model.codeAt(1), QStringLiteral("code-7"));
        QCOMPARE(model.rowOfCode(QStringLiteral("code-3")), -1);

        fill(10, 1);
        QVERIFY(model.refresh().ok);
        QCOMPARE(model.rowCount(), 2);

        QVERIFY(model.selectAll().ok);
        QVERIFY(!model.isRestricted());
        QCOMPARE(model.rowCount(), 11);
    }

    void failingSelectionLeavesAnEmptyGridWithTheReason()
    {
        fill(0, 3);
        RegisterModel model(*m_database);
        QVERIFY(RawRegister(*m_register).exec(QStringLiteral("ALTER TABLE \"TableStrah\" RENAME TO \"Прежняя\"")));
        const StorageStatus selected = model.select({0, QStringLiteral("что-нибудь"), 0});
        QVERIFY(!selected.ok);
        QVERIFY(selected.error.contains(u"Реестр не прочитан"));
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.lastError(), selected.error);
    }

    void closedDatabaseShowsAnEmptyGrid()
    {
        fill(0, 3);
        m_database->close();
        RegisterModel model(*m_database);
        QVERIFY(!model.refresh().ok);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.columnCount(), 123);
        QCOMPARE(model.rowOfCode(QStringLiteral("code-1")), -1);
    }
};

QTEST_GUILESS_MAIN(RegisterModelTest)
#include "RegisterModelTest.moc"
