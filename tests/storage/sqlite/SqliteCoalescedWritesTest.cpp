#include "storage/sqlite/SqliteCoalescedWrites.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <memory>

using namespace osago;

namespace {

// One call on a file: a write of `length` bytes of `fill` at `offset`, or (length 0) a read of the file's size and
// of all its bytes, compared with what was written so far.
struct Call
{
    qint64 offset;
    int length;
    char fill;
};

constexpr int kPage = 4096;

} // namespace

Q_DECLARE_METATYPE(Call)

class SqliteCoalescedWritesTest : public QObject
{
    Q_OBJECT

private slots:
    // Whatever the order of the writes, the file ends up as if each had been written at once, and a read or a
    // size question in between sees everything written before it.
    void fileHoldsEveryWriteInOrder_data()
    {
        QTest::addColumn<QList<Call>>("calls");
        QTest::newRow("pages in a row") << QList<Call>{{0, kPage, 'a'}, {kPage, kPage, 'b'}, {2 * kPage, kPage, 'c'}};
        QTest::newRow("backwards")
            << QList<Call>{{3 * kPage, kPage, 'd'}, {2 * kPage, kPage, 'c'}, {0, kPage, 'a'}, {kPage, kPage, 'b'}};
        QTest::newRow("a page written again while still buffered")
            << QList<Call>{{0, kPage, 'a'}, {kPage, kPage, 'b'}, {0, kPage, 'z'}, {2 * kPage, kPage, 'c'}};
        QTest::newRow("a gap, then its filling")
            << QList<Call>{{0, kPage, 'a'}, {4 * kPage, kPage, 'e'}, {kPage, kPage, 'b'}, {2 * kPage, 100, 'c'}};
        QTest::newRow("read between writes")
            << QList<Call>{{0, kPage, 'a'}, {kPage, kPage, 'b'}, {0, 0, 0}, {2 * kPage, kPage, 'c'}, {0, 0, 0}};
        QList<Call> pastTheBuffer;
        for (int page = 0; page < 1500; ++page)
            pastTheBuffer << Call{qint64(page) * kPage, kPage, char('a' + page % 26)};
        pastTheBuffer << Call{5 * kPage, kPage, '!'} << Call{0, 0, 0} << Call{1500 * kPage, 65536, '#'};
        QTest::newRow("more than one buffer, then a page rewritten and a large write") << pastTheBuffer;
    }
    void fileHoldsEveryWriteInOrder()
    {
        QFETCH(QList<Call>, calls);
        for (const Writeback writeback : {Writeback::AsWritten, Writeback::Later}) {
            QTemporaryDir folder;
            const QByteArray path = QFile::encodeName(folder.filePath(QStringLiteral("copy.mdb")));
            sqlite3_vfs* vfs = sqlite3_vfs_find(coalescedWritesVfs(writeback));
            QVERIFY(vfs);
            std::unique_ptr<char[]> storage(new char[std::size_t(vfs->szOsFile)]);
            auto* file = reinterpret_cast<sqlite3_file*>(storage.get());
            int flags = 0;
            QCOMPARE(vfs->xOpen(vfs, path.constData(), file,
                                SQLITE_OPEN_MAIN_DB | SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, &flags),
                     SQLITE_OK);
            QByteArray expected;
            for (const Call& call : calls) {
                if (call.length == 0) {
                    sqlite3_int64 size = -1;
                    QCOMPARE(file->pMethods->xFileSize(file, &size), SQLITE_OK);
                    QCOMPARE(size, sqlite3_int64(expected.size()));
                    QByteArray read(expected.size(), '\0');
                    QCOMPARE(file->pMethods->xRead(file, read.data(), int(read.size()), 0), SQLITE_OK);
                    QVERIFY(read == expected);
                    continue;
                }
                const QByteArray bytes(call.length, call.fill);
                QCOMPARE(file->pMethods->xWrite(file, bytes.constData(), call.length, call.offset), SQLITE_OK);
                if (expected.size() < call.offset + call.length)
                    expected.resize(call.offset + call.length, '\0');
                expected.replace(call.offset, call.length, bytes);
            }
            QCOMPARE(file->pMethods->xClose(file), SQLITE_OK);
            QFile written(QString::fromLocal8Bit(path));
            QVERIFY(written.open(QIODevice::ReadOnly));
            QVERIFY(written.readAll() == expected);
        }
    }

    void truncationDropsTheBufferedTail()
    {
        QTemporaryDir folder;
        sqlite3* db = nullptr;
        const QByteArray path = QFile::encodeName(folder.filePath(QStringLiteral("copy.mdb")));
        QCOMPARE(sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                 coalescedWritesVfs(Writeback::Later)),
                 SQLITE_OK);
        // A table grown and emptied again: the freed pages are cut off the file's end by the vacuum.
        QCOMPARE(sqlite3_exec(db,
                              "PRAGMA journal_mode=OFF; CREATE TABLE t(x); "
                              "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<2000) "
                              "INSERT INTO t SELECT randomblob(2000) FROM n; DELETE FROM t WHERE rowid>10; VACUUM",
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);
        sqlite3_close(db);
        sqlite3* check = nullptr;
        QCOMPARE(sqlite3_open_v2(path.constData(), &check, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
        sqlite3_stmt* statement = nullptr;
        QCOMPARE(sqlite3_prepare_v2(check, "SELECT (SELECT count(*) FROM t) || ' ' || "
                                           "(SELECT integrity_check FROM pragma_integrity_check)",
                                    -1, &statement, nullptr),
                 SQLITE_OK);
        QCOMPARE(sqlite3_step(statement), SQLITE_ROW);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))), QByteArray("10 ok"));
        sqlite3_finalize(statement);
        sqlite3_close(check);
        QVERIFY(QFileInfo(QString::fromLocal8Bit(path)).size() < 100 * kPage);
    }
};

QTEST_GUILESS_MAIN(SqliteCoalescedWritesTest)
#include "SqliteCoalescedWritesTest.moc"
