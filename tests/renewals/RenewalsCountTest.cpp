#include "TestRegister.h"
#include "renewals/RenewalsDue.h"
#include "storage/PolicyDatabase.h"

#include <QTest>

using namespace osago;
using namespace osago::test;

namespace {

// 1 March 2026 and the next 30 days.
const IssuePeriod kPeriod = comingMonth(QDate(2026, 3, 1));

struct Term
{
    QString vin;
    QString plate;
    QString from;
    QString to;
};
using Terms = QList<Term>;

} // namespace

Q_DECLARE_METATYPE(Terms)

// The engine's count of the coming renewals gives the number the renewals' list has, for each way a policy is
// renewed or not.
class RenewalsCountTest : public QObject
{
    Q_OBJECT

private slots:
    void countAgreesWithTheList_data()
    {
        QTest::addColumn<Terms>("terms");
        QTest::addColumn<int>("due");
        const QString ending = QStringLiteral("10.03.2026");
        QTest::newRow("renewed by VIN") << Terms{{"VIN1", "A111AA", "10.03.2025", ending},
                                                {"VIN1", "B222BB", "10.03.2026", "09.03.2027"},
                                                {"VIN2", "", "05.03.2025", "04.03.2026"}}
                                        << 1;
        QTest::newRow("by plate when no VIN") << Terms{{"", "A111AA", "10.03.2025", ending},
                                                       {"", "A111AA", "10.03.2026", "09.03.2027"},
                                                       {" \t", "B222BB", "11.03.2025", ending},
                                                       {"VIN9", "B222BB", "11.03.2026", "10.03.2027"},
                                                       {"", "C333CC", "12.03.2025", ending}}
                                              << 1;
        QTest::newRow("VIN present, later record only of the plate")
            << Terms{{"VIN1", "A111AA", "10.03.2025", ending}, {"VIN9", "A111AA", "10.03.2026", "09.03.2027"}} << 1;
        QTest::newRow("unreadable dates") << Terms{{"VIN1", "", "31.02.2025", ending},
                                                   {"VIN1", "", "11.03.2026", "10.03.2027"},
                                                   {"VIN2", "", "01.03.2025", "32.03.2026"},
                                                   {"VIN3", "", "01.03.2025", "15.03.2026"},
                                                   {"VIN3", "", "30.02.2026", ""},
                                                   {"VIN4", "", "01.03.2025", "20.03.2026"},
                                                   {"VIN4", "", "29.02.2028", ""},
                                                   {"VIN5", "", "01.03.2025", "21.03.2026"},
                                                   {"VIN5", "", "29.02.2027", ""},
                                                   {"VIN6", "", "01.03.2025", "1.03.2026"}}
                                          << 3;
        QTest::newRow("ends outside the period") << Terms{{"VIN1", "", "01.03.2025", "28.02.2026"},
                                                          {"VIN2", "", "01.03.2025", "01.03.2026"},
                                                          {"VIN3", "", "01.04.2025", "31.03.2026"},
                                                          {"VIN4", "", "02.04.2025", "01.04.2026"}}
                                                  << 2;
        QTest::newRow("the same start renews nothing") << Terms{{"VIN1", "", "01.03.2025", "20.03.2026"},
                                                                {"VIN1", "", "01.03.2025", "25.03.2026"}}
                                                        << 2;
        QTest::newRow("neither VIN nor plate") << Terms{{"", "", "01.03.2025", ending}, {"", "", "02.03.2026", ""}}
                                               << 1;
    }

    void countAgreesWithTheList()
    {
        QFETCH(Terms, terms);
        QFETCH(int, due);
        const TestRegister place;
        const auto database = place.makeDatabase();
        QVERIFY(database->open(place.location()).ok);
        for (const Term& term : terms) {
            PolicyRow row;
            row.setValue(u"VIN", term.vin);
            row.setValue(u"Регистрационный_знак", term.plate);
            row.setValue(u"Страх_с", term.from);
            row.setValue(u"Страх_по", term.to);
            QVERIFY(database->insert(row).ok);
        }
        const StorageResult<RenewalsFound> listed = readRenewalsDue(*database, kPeriod);
        QVERIFY2(listed.ok, qPrintable(listed.error));
        QCOMPARE(int(listed.value.due.size()), due);
        const StorageResult<int> counted = database->countRenewalsDue(kPeriod);
        QVERIFY2(counted.ok, qPrintable(counted.error));
        QCOMPARE(counted.value, due);
    }

    // The reader beside the register counts the same, and still opens once the register it came from is closed.
    void readerBesideCountsTheSame()
    {
        const TestRegister place;
        const auto database = place.makeDatabase();
        QVERIFY(database->open(place.location()).ok);
        PolicyRow row;
        row.setValue(u"VIN", QStringLiteral("VIN1"));
        row.setValue(u"Страх_с", QStringLiteral("05.03.2025"));
        row.setValue(u"Страх_по", QStringLiteral("04.03.2026"));
        QVERIFY(database->insert(row).ok);
        const PolicyDatabase::ReaderOpener openReader = database->readerBeside();
        const int own = database->countRenewalsDue(kPeriod).value;
        database->close();
        const StorageResult<std::unique_ptr<PolicyDatabase>> reader = openReader();
        QVERIFY2(reader.ok, qPrintable(reader.error));
        QVERIFY(reader.value->isReadOnly());
        QCOMPARE(reader.value->countRenewalsDue(kPeriod).value, own);
        QCOMPARE(own, 1);
    }
};

QTEST_GUILESS_MAIN(RenewalsCountTest)
#include "RenewalsCountTest.moc"
