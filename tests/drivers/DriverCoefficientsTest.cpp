#include "DriversHarness.h"

#include <QStandardPaths>

using osago::test::DriversHarness;
using osago::test::ScriptedMessages;
using osago::test::someone;
using osago::test::TypedDriver;

namespace {

// Against the issue date 15.03.2012.
const QString kAged21 = QStringLiteral("01.01.1991");
const QString kAged30 = QStringLiteral("01.01.1982");
const QString kAged40 = QStringLiteral("01.01.1972");

TypedDriver listed(const QString& birthDate, bool longExperience, const QString& driverClass = QStringLiteral("3"),
                   bool gross = false)
{
    TypedDriver driver = someone(QStringLiteral("Водитель"), birthDate);
    driver.longExperience = longExperience;
    driver.driverClass = driverClass;
    driver.gross = gross;
    return driver;
}

} // namespace

// The premium calculation reads the drivers as the page stores them.
class DriverCoefficientsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void listedDrivers_data()
    {
        QTest::addColumn<QList<TypedDriver>>("drivers");
        QTest::addColumn<QStringList>("factors"); // КБМ, КВС, КО, КН
        QTest::newRow("no driver listed: worst class 13")
            << QList<TypedDriver>{} << QStringList{"0,5", "1", "1", "1"};
        QTest::newRow("one aged 21 with five years, another aged 40 with one")
            << QList<TypedDriver>{listed(kAged21, true), listed(kAged40, false)} << QStringList{"1", "1,3", "1", "1"};
        QTest::newRow("a single driver aged 21 with five years")
            << QList<TypedDriver>{listed(kAged21, true)} << QStringList{"1", "1,2", "1", "1"};
        QTest::newRow("a single driver aged 30 with one year")
            << QList<TypedDriver>{listed(kAged30, false)} << QStringList{"1", "1,15", "1", "1"};
        QTest::newRow("classes 5, 3 and 9")
            << QList<TypedDriver>{listed(kAged40, true, "5"), listed(kAged40, true, "3"), listed(kAged40, true, "9")}
            << QStringList{"1", "1", "1", "1"};
        QTest::newRow("classes 5 and M")
            << QList<TypedDriver>{listed(kAged40, true, "5"), listed(kAged40, true, "M")}
            << QStringList{"2,45", "1", "1", "1"};
        QTest::newRow("one driver with gross violations")
            << QList<TypedDriver>{listed(kAged40, true, "3"), listed(kAged40, true, "3", true)}
            << QStringList{"1", "1", "1", "1,5"};
    }
    void listedDrivers()
    {
        QFETCH(QList<TypedDriver>, drivers);
        QFETCH(QStringList, factors);
        ScriptedMessages seam;
        DriversHarness h(seam);
        OSAGO_STEP(h.openEditor(QStringLiteral("15.03.2012")));
        for (const TypedDriver& driver : drivers)
            OSAGO_STEP(h.addOther(driver));
        OSAGO_STEP(calculate(h));
        QCOMPARE(driverFactors(h), factors);
        QVERIFY(seam.shownTexts().isEmpty());
    }

    void unrestrictedDrivers_data()
    {
        QTest::addColumn<bool>("gross");
        QTest::addColumn<QStringList>("factors");
        QTest::newRow("class M") << false << QStringList{"2,45", "1", "1,5", "1"};
        QTest::newRow("class M with gross violations") << true << QStringList{"2,45", "1", "1,5", "1,5"};
    }
    void unrestrictedDrivers()
    {
        QFETCH(bool, gross);
        QFETCH(QStringList, factors);
        ScriptedMessages seam;
        DriversHarness h(seam);
        OSAGO_STEP(h.openEditor(QStringLiteral("15.03.2012")));
        OSAGO_STEP(h.addOther(listed(kAged21, false, "13", true)));
        h.click(h.onPage<QCheckBox>("CheckBoxDopusk"));
        OSAGO_STEP(h.pick(h.onPage<QComboBox>("ComboBoxKlass"), QStringLiteral("M")));
        if (gross)
            h.click(h.onPage<QCheckBox>("CheckBoxGrub"));
        OSAGO_STEP(calculate(h));
        QCOMPARE(driverFactors(h), factors);
        QVERIFY(seam.shownTexts().isEmpty());
    }

private:
    static void calculate(DriversHarness& h)
    {
        QWidget* button = h.inEditor("ButtonSumma");
        OSAGO_STEP(h.goToPageOf(button));
        h.click(button);
    }

    static QStringList driverFactors(const DriversHarness& h)
    {
        QStringList texts;
        for (const char* field : {"LabeledEditKBM", "LabeledEditKVS", "LabeledEditKO", "LabeledEditKN"})
            texts << h.inEditor<QLineEdit>(field)->text();
        return texts;
    }
};

QTEST_MAIN(DriverCoefficientsTest)
#include "DriverCoefficientsTest.moc"
