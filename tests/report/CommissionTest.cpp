#include "MoneyArithmetic.h"
#include "report/Commission.h"
#include "tariff/Conversions.h"

#include <QTest>

using namespace osago;
using namespace osago::test;


// The money's rules: the rate as the agent types it, the rate in force on a day, and a policy's settlement.
class CommissionTest : public QObject
{
    Q_OBJECT

private slots:
    void rateTexts_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("hundredths"); // -1: refused
        QTest::addColumn<QString>("shown");
        QTest::newRow("comma") << "12,5" << 1250 << "12,5";
        QTest::newRow("point") << "7.25" << 725 << "7,25";
        QTest::newRow("whole") << "10" << 1000 << "10";
        QTest::newRow("zero") << "0" << 0 << "0";
        QTest::newRow("hundred") << "100,00" << 10000 << "100";
        QTest::newRow("one hundredth") << "0,01" << 1 << "0,01";
        QTest::newRow("spaces around") << " 3,1 " << 310 << "3,1";
        QTest::newRow("over a hundred") << "100,01" << -1 << "";
        QTest::newRow("three places") << "12,345" << -1 << "";
        QTest::newRow("negative") << "-1" << -1 << "";
        QTest::newRow("percent sign") << "12%" << -1 << "";
        QTest::newRow("empty") << "" << -1 << "";
        QTest::newRow("comma alone") << "12," << -1 << "";
    }
    void rateTexts()
    {
        QFETCH(QString, typed);
        QFETCH(int, hundredths);
        QFETCH(QString, shown);
        const std::optional<int> parsed = parseCommissionRate(typed);
        QCOMPARE(parsed.value_or(-1), hundredths);
        if (parsed)
            QCOMPARE(commissionRateText(*parsed), shown);
    }

    void rateInForceOnADay_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<int>("rate"); // -1: none
        QTest::newRow("before the first") << QDate(2025, 12, 31) << -1;
        QTest::newRow("the first's day") << QDate(2026, 1, 1) << 1000;
        QTest::newRow("between") << QDate(2026, 2, 28) << 1000;
        QTest::newRow("the second's day") << QDate(2026, 3, 1) << 1250;
        QTest::newRow("long after") << QDate(2030, 1, 1) << 750;
        QTest::newRow("the last's eve") << QDate(2026, 5, 31) << 1250;
    }
    void rateInForceOnADay()
    {
        QFETCH(QDate, day);
        QFETCH(int, rate);
        const CommissionRates rates{{QDate(2026, 1, 1), 1000}, {QDate(2026, 3, 1), 1250}, {QDate(2026, 6, 1), 750}};
        QCOMPARE(rateInForce(rates, day).value_or(-1), rate);
        QVERIFY(!rateInForce({}, day));
    }

    // Commission and transfer of each policy against the amounts worked out from the texts in the test.
    void settlementOfAPolicy_data()
    {
        QTest::addColumn<QString>("premium");
        QTest::addColumn<int>("rate");
        QTest::newRow("half a kopeck goes up") << "100,04" << 1250;   // 12,505
        QTest::newRow("just under a half") << "100,0399" << 1250;     // 12,504987..
        QTest::newRow("four places") << "6968,8838" << 1250;
        QTest::newRow("premium rounds up") << "8174,0899" << 1025;
        QTest::newRow("many places") << "1497,74625" << 333;
        QTest::newRow("zero rate") << "2851,2" << 0;
        QTest::newRow("whole premium") << "2851,2" << 10000;
        QTest::newRow("tiny premium") << "0,0049" << 5000;
        QTest::newRow("large premium") << "145000000,6215" << 1799;
    }
    void settlementOfAPolicy()
    {
        QFETCH(QString, premium);
        QFETCH(int, rate);
        const auto amount = parseExactDecimal(premium.toStdString());
        QVERIFY(amount);
        const std::optional<Settlement> settled = settle(*amount, rate);
        QVERIFY(settled);
        const Wide commission = commissionKopecks(premium, rate);
        QCOMPARE(kopeckText(settled->commission), kopecks(commission));
        QCOMPARE(kopeckText(settled->transfer), kopecks(roundedKopecks(premium) - commission));
        QCOMPARE(settled->rate, rate);
    }
};

QTEST_GUILESS_MAIN(CommissionTest)
#include "CommissionTest.moc"
