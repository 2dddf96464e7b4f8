#include "transfer/CopyRegisterCommand.h"
#include "CopyTestSupport.h"
#include "storage/PolicyDatabase.h"
#include "transfer/RegisterCopy.h"
#include "TestRegister.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>

using namespace osago;
using namespace osago::test;

// `osago copy-register` between a register file and the test server's register, each way.
class CopyRegisterServerTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(onTestServer(), "runs on the test server only"); }

    void movesAFileToTheServerAndBack()
    {
        QTemporaryDir folder;
        TestRegister server;
        const std::vector<QStringList> source =
            fillRegister(folder.filePath(QStringLiteral("Baza.mdb")), 700, QStringLiteral("ф"));
        QCOMPARE(source.size(), std::size_t(700));

        QCOMPARE(copyRegister({folder.filePath(QStringLiteral("Baza.mdb")), server.location()}).status, 0);
        QCOMPARE(rowsOf(server.location()), source);

        QCOMPARE(copyRegister({server.location(), folder.filePath(QStringLiteral("back.mdb"))}).status, 0);
        QCOMPARE(rowsOf(folder.filePath(QStringLiteral("back.mdb"))), source);
    }

    // Bytes that COPY's text format escapes, its own mark of NULL as a text, an empty text and a NULL each come
    // back from the server to a file as they were.
    void keepsEveryByteAndNullThroughTheServer()
    {
        QTemporaryDir folder;
        TestRegister server;
        const QString file = folder.filePath(QStringLiteral("Baza.mdb"));
        const QString back = folder.filePath(QStringLiteral("back.mdb"));
        const std::vector<QStringList> stored = fillWithBytesToEscape(file);
        QVERIFY(!stored.empty());

        QCOMPARE(copyRegister({file, server.location()}).status, 0);
        QCOMPARE(copyRegister({server.location(), back}).status, 0);
        QCOMPARE(storedRowsOf(back), stored);
    }

    void theSameServerRegisterIsRefused()
    {
        TestRegister server;
        fillRegister(server.location(), 1, QStringLiteral("с"));
        const CommandRun refused = copyRegister({server.location(), server.location(), "--append"});
        QCOMPARE(refused.status, 2);
        QVERIFY2(refused.errors.contains(u"один и тот же реестр"), qPrintable(refused.errors));
        QCOMPARE(rowsOf(server.location()).size(), std::size_t(1));
    }

    // A value of the file the server cannot keep as a text: the failure names the row of the file and its
    // column, and the server's register is left as it was.
    void aValueTheServerRefusesNamesItsRowAndColumn_data()
    {
        // The value's bytes in hex, written as a text into the file as another program could.
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QString>("said");
        const QString noUtf8 = QStringLiteral("текст не в кодировке UTF-8");
        QTest::newRow("a NUL byte") << "D098D0B2D0B000D0BDD0BED0B2" << QStringLiteral("в тексте байт NUL (на месте 7)");
        QTest::newRow("a byte of no UTF-8") << "50657472FF6F76" << noUtf8 + " (байт 0xFF на месте 5)";
        QTest::newRow("a surrogate") << "EDA0807A" << noUtf8 + " (байт 0xED на месте 1)";
    }

    void aValueTheServerRefusesNamesItsRowAndColumn()
    {
        QFETCH(QString, hex);
        QFETCH(QString, said);
        QTemporaryDir folder;
        TestRegister server;
        const QString file = folder.filePath(QStringLiteral("Baza.mdb"));
        QCOMPARE(fillRegister(file, 5, QStringLiteral("ф")).size(), std::size_t(5));
        QVERIFY(RawConnection(file).exec(
            QStringLiteral("UPDATE TableStrah SET \"Марка_модель\" = CAST(X'%1' AS TEXT) WHERE rowid = 3").arg(hex)));
        const std::vector<QStringList> there = fillRegister(server.location(), 2, QStringLiteral("с"));
        const CommandRun refused = copyRegister({file, server.location(), "--append"});
        QCOMPARE(refused.status, 1);
        QVERIFY2(refused.errors.contains(QStringLiteral("строка 3 источника, Столбец «Марка_модель»: ") + said),
                 qPrintable(refused.errors));
        QVERIFY2(refused.errors.contains(u"ничего не добавлено"), qPrintable(refused.errors));
        QCOMPARE(rowsOf(server.location()), there);
    }

    // The file's table goes while its rows are on their way to the server: the server's transaction takes none.
    void aSourceFailingMidwayAddsNothingToTheServer()
    {
        QTemporaryDir folder;
        TestRegister server;
        const QString file = folder.filePath(QStringLiteral("Baza.mdb"));
        fillRegister(file, 1500, QStringLiteral("ф"));
        const std::vector<QStringList> there = fillRegister(server.location(), 2, QStringLiteral("с"));
        const std::unique_ptr<PolicyDatabase> from = makeDatabase(file);
        const std::unique_ptr<PolicyDatabase> to = server.makeDatabase();
        QVERIFY(from->open(file, PolicyDatabase::Access::ReadOnly).ok);
        QVERIFY(to->open(server.location()).ok);
        RawConnection other(file);
        bool dropped = false;
        const StorageResult<qint64> copied = osago::copyRegister(*from, *to, true, [&](qint64 done, qint64) {
            if (done > 0 && !dropped)
                dropped = other.exec(QStringLiteral("DROP TABLE TableStrah"));
        });
        QVERIFY(dropped);
        QVERIFY(!copied.ok);
        to->close();
        QCOMPARE(rowsOf(server.location()), there);
    }
};

QTEST_GUILESS_MAIN(CopyRegisterServerTest)
#include "CopyRegisterServerTest.moc"
