#include "FaultServer.h"
#include "StorageTestSupport.h"
#include "TestRegister.h"

#include <QSet>
#include <QTest>

#include <thread>

using namespace osago;
using test::FaultServer;

namespace {

const QString kSurnameColumn = QStringLiteral("Страхователь_фамилия_фирма");

PolicyRow rowOf(const QString& surname)
{
    PolicyRow row = test::trickyRow(surname);
    row.setValue(kSurnameColumn, surname);
    return row;
}

// Every row's code and surname, in row order.
std::vector<QStringList> codesAndSurnames(const PolicyDatabase& database)
{
    std::vector<qint64> ids;
    std::vector<QStringList> rows;
    if (!database.readAllIds(ids).ok || !database.readRows(ids, rows).ok)
        return {};
    std::vector<QStringList> kept;
    for (const QStringList& row : rows)
        kept.push_back({row.at(rowCodeColumnIndex()), row.at(policyColumnIndex(kSurnameColumn))});
    return kept;
}

} // namespace

// A register on a primary server and its streaming standby, named together in one address: the primary stops
// and the standby is promoted while the program runs; the register carries on over the address's list by
// itself, and not a row is lost or doubled.
class ServerSwitchoverTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(test::onTestServer(), "runs on the test server only"); }

    void aSwitchoverLosesNothing()
    {
        FaultServer primary;
        FaultServer standby("OSAGO_STANDBY_SERVER");
        QVERIFY(primary.run(QStringLiteral("start")));
        QVERIFY(standby.run(QStringLiteral("standby"), {primary.port()}));
        const QString servers = QStringLiteral("127.0.0.1:%1,127.0.0.1:%2").arg(primary.port(), standby.port());
        const QString address =
            QStringLiteral("postgresql://postgres@%1/postgres?target_session_attrs=read-write").arg(servers);
        const std::unique_ptr<PolicyDatabase> database = makeDatabase(address);
        const StorageStatus opened = database->open(address);
        QVERIFY2(opened.ok, qPrintable(opened.error));
        const QString place = database->location();
        QCOMPARE(place, QStringLiteral("сервер %1, база postgres").arg(servers));
        const QString copies = database->copyPlace().stem;
        QVERIFY2(copies.contains(primary.port()) && copies.contains(standby.port()), qPrintable(copies));

        QSet<QString> codes;
        for (int i = 0; i < 5; ++i) {
            const StorageResult<QString> saved = database->insert(rowOf(QStringLiteral("До %1").arg(i)));
            QVERIFY2(saved.ok, qPrintable(saved.error));
            codes << saved.value;
        }

        // A save sent to the primary while it stands frozen, and the primary stopped under it.
        QVERIFY(primary.run(QStringLiteral("freeze")));
        const PolicyRow inFlight = rowOf(QStringLiteral("В пути"));
        StorageResult<QString> flown;
        std::thread saving([&] { flown = database->insert(inFlight); });
        const bool stopped = primary.run(QStringLiteral("stop"));
        saving.join();
        QVERIFY(stopped);
        QVERIFY(standby.run(QStringLiteral("promote")));

        // The next save reaches the promoted standby through the address's list: the refused one saved again
        // by the agent, or a new one.
        if (!flown.ok) {
            QVERIFY(!flown.error.isEmpty());
            flown = database->insert(inFlight);
            QVERIFY2(flown.ok, qPrintable(flown.error));
        }
        codes << flown.value;
        const StorageResult<QString> after = database->insert(rowOf(QStringLiteral("После")));
        QVERIFY2(after.ok, qPrintable(after.error));
        codes << after.value;
        QCOMPARE(database->location(), place);
        QCOMPARE(database->copyPlace().stem, copies);

        const std::vector<QStringList> rows = codesAndSurnames(*database);
        QCOMPARE(rows.size(), std::size_t(7));
        QSet<QString> stored;
        QStringList surnames;
        for (const QStringList& row : rows) {
            stored << row.at(0);
            surnames << row.at(1);
        }
        QCOMPARE(stored, codes);
        QCOMPARE(surnames, (QStringList{"До 0", "До 1", "До 2", "До 3", "До 4", "В пути", "После"}));
    }

    // The primary gone and the standby not yet promoted: the reason says no server takes writes, not that the
    // address is wrong.
    void noWritableServerIsNamed()
    {
        FaultServer primary;
        FaultServer standby("OSAGO_STANDBY_SERVER");
        QVERIFY(primary.run(QStringLiteral("start")));
        QVERIFY(standby.run(QStringLiteral("standby"), {primary.port()}));
        QVERIFY(primary.run(QStringLiteral("stop")));
        const QString address = QStringLiteral("postgresql://postgres@127.0.0.1:%1,127.0.0.1:%2/postgres"
                                               "?target_session_attrs=read-write")
                                    .arg(primary.port(), standby.port());
        const StorageStatus refused = makeDatabase(address)->open(address);
        QVERIFY(!refused.ok);
        QVERIFY2(refused.error.contains(QStringLiteral("ни один из серверов реестра не принимает записи")),
                 qPrintable(refused.error));
    }
};

QTEST_GUILESS_MAIN(ServerSwitchoverTest)
#include "ServerSwitchoverTest.moc"
