#include "TariffTestSupport.h"

#include "tariff/DriverAge.h"
#include "tariff/PowerConversion.h"
#include "tariff/Utf8Text.h"

#include <QTest>

using osago::PowerField;

class PowerAndAgeTest : public QObject {
    Q_OBJECT

private slots:
    void convertPower_data();
    void convertPower();
    void convertPowerFails_data();
    void convertPowerFails();
    void equalsButton_data();
    void equalsButton();
    void ageFlag_data();
    void ageFlag();
    void ageFlagFails_data();
    void ageFlagFails();
    void characterSlice_data();
    void characterSlice();
};

void PowerAndAgeTest::convertPower_data()
{
    QTest::addColumn<QString>("horsepower");
    QTest::addColumn<QString>("kilowatts");
    QTest::addColumn<QString>("target"); // object name, empty when nothing is written
    QTest::addColumn<QString>("text");

    QTest::newRow("40 hp") << "40" << "" << "LabeledEditKVt" << "29,4118";
    QTest::newRow("100 hp") << "100" << "" << "LabeledEditKVt" << "73,5294";
    QTest::newRow("150 hp") << "150" << "" << "LabeledEditKVt" << "110,2941";
    QTest::newRow("1,36 hp is one kW") << "1,36" << "" << "LabeledEditKVt" << "1";
    QTest::newRow("0 hp") << "0" << "" << "LabeledEditKVt" << "0";
    // 0,0002 / 1,36 = 0,000147...: below a half of the last place.
    QTest::newRow("tiny hp") << "0,0002" << "" << "LabeledEditKVt" << "0,0001";
    QTest::newRow("55 kW") << "" << "55" << "LabeledEditMoshn" << "74,8";
    QTest::newRow("110 kW") << "" << "110" << "LabeledEditMoshn" << "149,6";
    QTest::newRow("37 kW") << "" << "37" << "LabeledEditMoshn" << "50,32";
    // 0,0005 * 1,36 = 0,00068 rounds up; 0,00125 * 1,36 is exactly 0,0017.
    QTest::newRow("small kW") << "" << "0,0005" << "LabeledEditMoshn" << "0,0007";
    QTest::newRow("both filled") << "40" << "30" << "" << "";
    QTest::newRow("both empty") << "" << "" << "" << "";
}

void PowerAndAgeTest::convertPower()
{
    QFETCH(QString, horsepower);
    QFETCH(QString, kilowatts);
    QFETCH(QString, target);
    QFETCH(QString, text);
    const auto conversion = osago::convertPower(utf8(horsepower), utf8(kilowatts));
    QVERIFY(!conversion.error);
    QCOMPARE(conversion.target ? qs(osago::powerFieldObjectName(*conversion.target)) : QString(""), target);
    QCOMPARE(qs(conversion.text), text);
}

void PowerAndAgeTest::convertPowerFails_data()
{
    QTest::addColumn<QString>("horsepower");
    QTest::addColumn<QString>("kilowatts");
    QTest::addColumn<QString>("error");
    QTest::newRow("point in hp") << "40.5" << "" << "'40.5' is not a valid floating point value";
    QTest::newRow("letters in kW") << "" << "abc" << "'abc' is not a valid floating point value";
    QTest::newRow("blank kW") << "" << " " << "' ' is not a valid floating point value";
    QTest::newRow("kW beyond the range after conversion") << "" << "900000000000000"
                                                          << "'900000000000000' is not a valid floating point value";
}

void PowerAndAgeTest::convertPowerFails()
{
    QFETCH(QString, horsepower);
    QFETCH(QString, kilowatts);
    QFETCH(QString, error);
    const auto conversion = osago::convertPower(utf8(horsepower), utf8(kilowatts));
    QVERIFY(!conversion.target);
    QVERIFY(conversion.error);
    QCOMPARE(qs(*conversion.error), error);
}

void PowerAndAgeTest::equalsButton_data()
{
    QTest::addColumn<QString>("horsepower");
    QTest::addColumn<QString>("kilowatts");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("hp only") << "40" << "" << true;
    QTest::newRow("kW only") << "" << "55" << true;
    QTest::newRow("both") << "40" << "29,4118" << false;
    QTest::newRow("neither") << "" << "" << false;
    QTest::newRow("a blank is text") << " " << "" << true;
}

void PowerAndAgeTest::equalsButton()
{
    QFETCH(QString, horsepower);
    QFETCH(QString, kilowatts);
    QFETCH(bool, enabled);
    QCOMPARE(osago::equalsButtonEnabled(utf8(horsepower), utf8(kilowatts)), enabled);
}

void PowerAndAgeTest::ageFlag_data()
{
    QTest::addColumn<QString>("birth");
    QTest::addColumn<QString>("issue");
    QTest::addColumn<QString>("flag");
    const QString yes = QStringLiteral("Да");
    const QString no = QStringLiteral("Нет");
    QTest::newRow("22nd birthday") << "15.03.1990" << "15.03.2012" << yes;
    QTest::newRow("day before") << "15.03.1990" << "14.03.2012" << no;
    QTest::newRow("day after") << "15.03.1990" << "16.03.2012" << yes;
    QTest::newRow("earlier month") << "15.03.1990" << "01.04.2012" << yes;
    QTest::newRow("later month") << "15.03.1990" << "30.02.2012" << no;
    QTest::newRow("23 years by year") << "31.12.1989" << "01.01.2012" << yes;
    QTest::newRow("21 years by year") << "01.01.1991" << "31.12.2012" << no;
    QTest::newRow("born after issue") << "01.01.2020" << "01.01.2012" << no;
    QTest::newRow("blank-led parts") << " 5. 3.1990" << "05.03.2012" << yes;
    // Month and day are read only when the years differ by exactly 22.
    QTest::newRow("bad month unread") << "15.xx.1980" << "15.03.2012" << yes;
    QTest::newRow("issue date with trailing text") << "15.03.1990" << "15.03.2012 г." << yes;
}

void PowerAndAgeTest::ageFlag()
{
    QFETCH(QString, birth);
    QFETCH(QString, issue);
    QFETCH(QString, flag);
    const auto result = osago::ageFlag(utf8(birth), utf8(issue));
    QVERIFY2(result.ok(), qPrintable(result.ok() ? QString() : qs(result.error())));
    QCOMPARE(qs(*result), flag);
}

void PowerAndAgeTest::ageFlagFails_data()
{
    QTest::addColumn<QString>("birth");
    QTest::addColumn<QString>("issue");
    QTest::addColumn<QString>("error");
    QTest::newRow("untouched birth date") << "  .  .    " << "15.03.2012" << "'    ' is not a valid integer value";
    QTest::newRow("empty birth date") << "" << "15.03.2012" << "'' is not a valid integer value";
    QTest::newRow("issue year checked first") << "  .  .    " << "15.03.20x2" << "'20x2' is not a valid integer value";
    QTest::newRow("issue date in another form") << "15.03.1990" << "2012-03-15"
                                                << "'3-15' is not a valid integer value";
    QTest::newRow("bad birth month") << "15.x3.1990" << "15.03.2012" << "'x3' is not a valid integer value";
    QTest::newRow("bad issue month") << "15.03.1990" << "15.o3.2012" << "'o3' is not a valid integer value";
    QTest::newRow("bad birth day") << "1x.03.1990" << "15.03.2012" << "'1x' is not a valid integer value";
    QTest::newRow("Cyrillic letters sliced by character") << QStringLiteral("ДД.ММ.ГГГГ") << "15.03.2012"
                                                          << QStringLiteral("'ГГГГ' is not a valid integer value");
}

void PowerAndAgeTest::ageFlagFails()
{
    QFETCH(QString, birth);
    QFETCH(QString, issue);
    QFETCH(QString, error);
    const auto result = osago::ageFlag(utf8(birth), utf8(issue));
    QVERIFY(!result.ok());
    QCOMPARE(qs(result.error()), error);
}

void PowerAndAgeTest::characterSlice_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("slice");
    QTest::newRow("year of a date") << "15.03.2012" << 7 << 4 << "2012";
    QTest::newRow("past the end") << "15.03" << 7 << 4 << "";
    QTest::newRow("partly past the end") << "15.03.20" << 7 << 4 << "20";
    QTest::newRow("Cyrillic") << QStringLiteral("ВАЗ21099ЖЁ1234567") << 11 << 7 << "1234567";
    QTest::newRow("Cyrillic inside") << QStringLiteral("12345678901234ЖЁЮ") << 15 << 3 << QStringLiteral("ЖЁЮ");
    QTest::newRow("four-byte character") << QString::fromUtf8("a\xF0\x9F\x9A\x97" "b") << 2 << 1
                                         << QString::fromUtf8("\xF0\x9F\x9A\x97");
}

void PowerAndAgeTest::characterSlice()
{
    QFETCH(QString, text);
    QFETCH(int, first);
    QFETCH(int, count);
    QFETCH(QString, slice);
    QCOMPARE(qs(osago::characterSlice(utf8(text), std::size_t(first), std::size_t(count))), slice);
}

QTEST_APPLESS_MAIN(PowerAndAgeTest)
#include "PowerAndAgeTest.moc"
