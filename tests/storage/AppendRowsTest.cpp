#include "storage/sqlite/SqliteSearchIndex.h"
#include "storage/SearchFolding.h"
#include "StorageTestSupport.h"
#include "TestRegister.h"

#include <QTest>

using namespace osago;

namespace {

constexpr int kFailingBlock = -1;
constexpr int kShortRowBlock = -2;

// The codes of the register's rows in row order, read through the interface.
QStringList codesInOrder(const PolicyDatabase& database)
{
    std::vector<qint64> ids;
    std::vector<QStringList> rows;
    if (!database.readAllIds(ids).ok || !database.readRows(ids, rows).ok)
        return {QStringLiteral("unreadable")};
    QStringList codes;
    for (const QStringList& row : rows)
        codes << row.value(rowCodeColumnIndex());
    return codes;
}

// Which searched columns have their index.
QList<bool> searchIndexesOf(const PolicyDatabase& database)
{
    QList<bool> indexed;
    for (int column : searchedColumns())
        indexed << database.hasSearchIndex(column);
    return indexed;
}

QStringList rowWithCode(const QString& code)
{
    PolicyRow row = test::trickyRow(code);
    row.setValue(rowCodeColumnIndex(), code);
    return row.values();
}

} // namespace

class AppendRowsTest : public QObject
{
    Q_OBJECT

private slots:
    void appendsAllOrNothing_data()
    {
        QTest::addColumn<int>("existing");
        QTest::addColumn<bool>("requireEmpty");
        // Rows per block, or a block that fails to be read, or one holding a row short of columns.
        QTest::addColumn<QList<int>>("blocks");
        QTest::addColumn<bool>("added");
        QTest::newRow("into an empty register") << 0 << true << QList<int>{2, 3} << true;
        QTest::newRow("refused when it holds rows") << 2 << true << QList<int>{2} << false;
        QTest::newRow("after the rows there") << 2 << false << QList<int>{3, 1} << true;
        QTest::newRow("a failing block leaves nothing") << 1 << false << QList<int>{2, kFailingBlock} << false;
        QTest::newRow("a short row leaves nothing") << 1 << false << QList<int>{2, kShortRowBlock} << false;
        // An empty register takes its rows before its indexes: a failure leaves the indexes as they were.
        QTest::newRow("a failing block leaves an empty register as it was")
            << 0 << true << QList<int>{3, kFailingBlock} << false;
    }

    void appendsAllOrNothing()
    {
        QFETCH(int, existing);
        QFETCH(bool, requireEmpty);
        QFETCH(QList<int>, blocks);
        QFETCH(bool, added);
        const test::TestRegister testRegister;
        const auto engine = testRegister.makeDatabase();
        PolicyDatabase& database = *engine;
        QVERIFY(database.open(testRegister.location()).ok);
        for (int n = 0; n < existing; ++n)
            QVERIFY(database.insert(test::trickyRow(QString::number(n))).ok);
        const QStringList before = codesInOrder(database);

        QStringList given;
        QList<qint64> expectedProgress;
        QList<qint64> heard;
        int next = 0;
        const RowBlocks source = [&](Utf8Rows& rows) {
            if (next == blocks.size())
                return StorageStatus{};
            const int size = blocks[next++];
            if (size == kFailingBlock)
                return StorageStatus::failure(QStringLiteral("источник не прочитан"));
            for (int n = 0; n < std::max(size, 1); ++n) {
                given << QStringLiteral("код-%1").arg(given.size());
                QStringList row = rowWithCode(given.back());
                if (size == kShortRowBlock && n == std::max(size, 1) - 1)
                    row.removeLast();
                rows.appendRow(row);
            }
            expectedProgress << given.size();
            return StorageStatus{};
        };
        const QList<bool> indexedBefore = searchIndexesOf(database);
        const StorageResult<qint64> result =
            database.appendRows(source, requireEmpty, [&](qint64 rowsAdded) { heard << rowsAdded; });

        QCOMPARE(result.ok, added);
        if (added) {
            QCOMPARE(result.value, qint64(given.size()));
            QCOMPARE(heard, expectedProgress);
            QCOMPARE(codesInOrder(database), before + given);
        } else {
            QVERIFY(!result.error.isEmpty());
            QCOMPARE(codesInOrder(database), before);
        }
        if (requireEmpty && existing > 0)
            QVERIFY2(result.error.contains(QStringLiteral("уже есть записи")), qPrintable(result.error));
        QCOMPARE(searchIndexesOf(database), indexedBefore);
        // The transaction is over either way: the register takes the next write.
        QVERIFY(database.insert(test::trickyRow(QStringLiteral("после"))).ok);
        QCOMPARE(database.readTableExtent().value.rows, int(codesInOrder(database).size()));
    }
};

QTEST_GUILESS_MAIN(AppendRowsTest)
#include "AppendRowsTest.moc"
