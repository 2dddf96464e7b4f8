#include "PolicyDatabase.h"
#include "PolicySql.h"
#include "RegisterModel.h"
#include "StorageTestSupport.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace osago;
using osago::test::RawConnection;

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

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<PolicyDatabase> m_database;

    QString path() const { return m_dir->filePath(QStringLiteral("Baza.mdb")); }

    // Writes rows first ... first+count-1 in one transaction of a connection of its own.
    void fill(int first, int count)
    {
        RawConnection raw(path());
        QVERIFY(raw.exec(QStringLiteral("BEGIN")));
        QSqlQuery insert(raw.db());
        QVERIFY(insert.prepare(policySql::insert()));
        for (int n = first; n < first + count; ++n) {
            PolicyRow row = test::trickyRow(QString::number(n));
            row.setValue(rowCodeColumnIndex(), QStringLiteral("code-%1").arg(n));
            for (int column = 0; column < kPolicyColumnCount; ++column)
                insert.bindValue(column, row.value(column));
            QVERIFY(insert.exec());
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
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_database = std::make_unique<PolicyDatabase>();
        QVERIFY(m_database->open(path()).ok);
    }

    void cleanup()
    {
        m_database.reset();
        m_dir.reset();
    }

    void emptyRegisterShowsTitlesAndNoRows()
    {
        RegisterModel model(*m_database);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(model.refresh().ok);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.columnCount(), 123);
        for (int column = 0; column < 123; ++column)
            QCOMPARE(model.headerData(column, Qt::Horizontal).toString(), policyColumns()[std::size_t(column)].name);
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

        QVERIFY(m_database->remove(QStringLiteral("code-1")).ok);
        QVERIFY(model.refresh().ok);
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(shown(model, 1, 0), cell(2, 0));
        QCOMPARE(model.rowOfCode(saved.value), 2);
    }

    void anotherProgramsRowsAppearAfterRefresh()
    {
        RegisterModel model(*m_database);
        QVERIFY(model.refresh().ok);
        PolicyDatabase other;
        QVERIFY(other.open(path()).ok);
        const auto saved = other.insert(test::trickyRow(QStringLiteral("чужая")));
        QVERIFY(saved.ok);
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(model.refresh().ok);
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.codeAt(0), saved.value);
    }

    // A row removed by another program after the refresh shows empty until the next refresh.
    void rowGoneSinceRefreshShowsEmpty()
    {
        fill(0, 3);
        RegisterModel model(*m_database);
        QVERIFY(model.refresh().ok);
        PolicyDatabase other;
        QVERIFY(other.open(path()).ok);
        QVERIFY(other.remove(QStringLiteral("code-1")).ok);
        QCOMPARE(model.rowCount(), 3);
        QVERIFY(shown(model, 1, 0).isEmpty());
        QCOMPARE(shown(model, 2, 0), cell(2, 0));
    }

    void selectionRestrictsTheRowsAndSelectAllBringsThemBack()
    {
        fill(0, 10);
        RegisterModel model(*m_database);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(model.refresh().ok);
        const QStringList picked = {QStringLiteral("code-7"), QStringLiteral("code-2")};
        const StorageStatus selected = model.select(
            {QStringLiteral("SELECT rowid FROM TableStrah WHERE \"Мантисса_кода\" IN (?, ?) ORDER BY rowid DESC"),
             {picked[0], picked[1]}});
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
        const StorageStatus selected = model.select({QStringLiteral("SELECT rowid FROM НетТакой"), {}});
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
