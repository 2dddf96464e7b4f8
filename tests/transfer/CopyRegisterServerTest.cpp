#include "CopyRegisterCommand.h"
#include "PolicyDatabase.h"
#include "RegisterCopy.h"
#include "StorageTestSupport.h"
#include "TestRegister.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <memory>

using namespace osago;
using namespace osago::test;

namespace {

std::vector<QStringList> rowsOf(const QString& location)
{
    const std::unique_ptr<PolicyDatabase> database = makeDatabase(location);
    std::vector<qint64> ids;
    std::vector<QStringList> rows;
    if (!database->open(location, PolicyDatabase::Access::ReadOnly).ok || !database->readAllIds(ids).ok
        || !database->readRows(ids, rows).ok)
        return {};
    return rows;
}

std::vector<QStringList> fillRegister(const QString& location, int count, const QString& tag)
{
    const std::unique_ptr<PolicyDatabase> database = makeDatabase(location);
    if (!database->open(location).ok)
        return {};
    for (int i = 0; i < count; ++i) {
        if (!database->insert(trickyRow(QStringLiteral("%1-%2").arg(tag).arg(i))).ok)
            return {};
    }
    database->close();
    return rowsOf(location);
}

int copyRegister(const QStringList& words, QString* errorText = nullptr)
{
    QString output;
    QString errors;
    QTextStream out(&output);
    QTextStream err(&errors);
    const int status = runCopyRegisterCommand(words, out, err);
    if (errorText)
        *errorText = errors;
    return status;
}

} // namespace

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

        QCOMPARE(copyRegister({folder.filePath(QStringLiteral("Baza.mdb")), server.location()}), 0);
        QCOMPARE(rowsOf(server.location()), source);

        QCOMPARE(copyRegister({server.location(), folder.filePath(QStringLiteral("back.mdb"))}), 0);
        QCOMPARE(rowsOf(folder.filePath(QStringLiteral("back.mdb"))), source);
    }

    void aServerHoldingRowsTakesMoreOnlyWithAppend()
    {
        QTemporaryDir folder;
        TestRegister server;
        const std::vector<QStringList> source =
            fillRegister(folder.filePath(QStringLiteral("Baza.mdb")), 3, QStringLiteral("ф"));
        const std::vector<QStringList> there = fillRegister(server.location(), 2, QStringLiteral("с"));
        QCOMPARE(there.size(), std::size_t(2));

        QString errors;
        QCOMPARE(copyRegister({folder.filePath(QStringLiteral("Baza.mdb")), server.location()}, &errors), 1);
        QVERIFY2(errors.contains(u"--append"), qPrintable(errors));
        QCOMPARE(rowsOf(server.location()), there);

        QCOMPARE(copyRegister({folder.filePath(QStringLiteral("Baza.mdb")), server.location(), "--append"}), 0);
        std::vector<QStringList> both = there;
        both.insert(both.end(), source.begin(), source.end());
        QCOMPARE(rowsOf(server.location()), both);
    }

    void theSameServerRegisterIsRefused()
    {
        TestRegister server;
        fillRegister(server.location(), 1, QStringLiteral("с"));
        QString errors;
        QCOMPARE(copyRegister({server.location(), server.location(), "--append"}, &errors), 2);
        QVERIFY2(errors.contains(u"один и тот же реестр"), qPrintable(errors));
        QCOMPARE(rowsOf(server.location()).size(), std::size_t(1));
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
