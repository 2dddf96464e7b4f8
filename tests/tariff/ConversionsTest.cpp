#include "TariffTestSupport.h"

#include "tariff/Conversions.h"
#include "tariff/Fixed4.h"

#include <QTest>

#include <limits>

using osago::Fixed4;

class ConversionsTest : public QObject {
    Q_OBJECT

private slots:
    void integerAccepted_data();
    void integerAccepted();
    void integerRejected_data();
    void integerRejected();
    void decimalAccepted_data();
    void decimalAccepted();
    void decimalRejected_data();
    void decimalRejected();
    void longTexts();
    void multiplyRoundsHalfToEven_data();
    void multiplyRoundsHalfToEven();
    void divideRoundsHalfToEven_data();
    void divideRoundsHalfToEven();
    void overflowIsReported();
    void format_data();
    void format();
    void exactDecimal_data();
    void exactDecimal();
    void exactDecimalRejected_data();
    void exactDecimalRejected();
};

void ConversionsTest::integerAccepted_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("plain") << "16000" << 16000;
    QTest::newRow("leading zeros") << "016000" << 16000;
    QTest::newRow("leading blanks") << "   7" << 7;
    QTest::newRow("plus") << "+20" << 20;
    QTest::newRow("minus") << "-21" << -21;
    QTest::newRow("blanks then sign") << "  -0" << 0;
    QTest::newRow("largest") << "2147483647" << std::numeric_limits<int>::max();
    QTest::newRow("smallest") << "-2147483648" << std::numeric_limits<int>::min();
    QTest::newRow("many zeros") << QString(300, u'0') + QStringLiteral("42") << 42;
}

void ConversionsTest::integerAccepted()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    const auto result = osago::parseInteger(utf8(text));
    QVERIFY2(result.ok(), qPrintable(result.ok() ? QString() : qs(result.error())));
    QCOMPARE(*result, expected);
}

void ConversionsTest::integerRejected_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("blanks only") << "   ";
    QTest::newRow("sign only") << "-";
    QTest::newRow("trailing blank") << "12 ";
    QTest::newRow("blank after sign") << "- 1";
    QTest::newRow("two signs") << "+-1";
    QTest::newRow("decimal") << "1,5";
    QTest::newRow("letter") << "12a";
    QTest::newRow("class M") << "M";
    QTest::newRow("tab") << "\t1";
    QTest::newRow("non-breaking space") << QStringLiteral("\u00A01");
    QTest::newRow("Arabic-Indic digit") << QStringLiteral("\u0661");
    QTest::newRow("one past largest") << "2147483648";
    QTest::newRow("one past smallest") << "-2147483649";
    QTest::newRow("empty date year") << "    ";
}

void ConversionsTest::integerRejected()
{
    QFETCH(QString, text);
    const auto result = osago::parseInteger(utf8(text));
    QVERIFY(!result.ok());
    QCOMPARE(qs(result.error()), QStringLiteral("'") + text + QStringLiteral("' is not a valid integer value"));
}

void ConversionsTest::decimalAccepted_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("tenThousandths");
    QTest::newRow("whole") << "5" << qint64(50000);
    QTest::newRow("comma last") << "5," << qint64(50000);
    QTest::newRow("comma first") << ",5" << qint64(5000);
    QTest::newRow("negative") << "-0,25" << qint64(-2500);
    QTest::newRow("plus") << "+1,3" << qint64(13000);
    QTest::newRow("blanks around") << "  2,45  " << qint64(24500);
    QTest::newRow("four places") << "50,0001" << qint64(500001);
    QTest::newRow("below half") << "0,00004" << qint64(0);
    QTest::newRow("half to even down") << "0,00005" << qint64(0);
    QTest::newRow("half to even up") << "0,00015" << qint64(2);
    QTest::newRow("above half by a far digit") << "0,000050000001" << qint64(1);
    QTest::newRow("above half") << "0,00006" << qint64(1);
    QTest::newRow("negative half to even") << "-0,00015" << qint64(-2);
    QTest::newRow("negative below half") << "-0,00004" << qint64(0);
    QTest::newRow("carry into whole") << "9,99995" << qint64(100000);
    QTest::newRow("leading zeros") << "00040" << qint64(400000);
    QTest::newRow("largest") << "922337203685477,5807" << std::numeric_limits<qint64>::max();
    QTest::newRow("smallest") << "-922337203685477,5808" << std::numeric_limits<qint64>::min();
    QTest::newRow("largest by rounding down") << "922337203685477,58074999" << std::numeric_limits<qint64>::max();
}

void ConversionsTest::decimalAccepted()
{
    QFETCH(QString, text);
    QFETCH(qint64, tenThousandths);
    const auto result = osago::parseDecimal(utf8(text));
    QVERIFY2(result.ok(), qPrintable(result.ok() ? QString() : qs(result.error())));
    QCOMPARE(result->tenThousandths(), tenThousandths);
}

void ConversionsTest::decimalRejected_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("blank") << " ";
    QTest::newRow("comma only") << ",";
    QTest::newRow("sign only") << "-";
    QTest::newRow("sign and comma") << "+,";
    QTest::newRow("point") << "1.5";
    QTest::newRow("two commas") << "1,2,3";
    QTest::newRow("exponent") << "1e3";
    QTest::newRow("grouping blank") << "1 000";
    QTest::newRow("blank after sign") << "- 1";
    QTest::newRow("question mark") << "?";
    QTest::newRow("dash") << "-";
    QTest::newRow("tab") << "1\t";
    QTest::newRow("letter") << "40hp";
    QTest::newRow("one past largest") << "922337203685477,5808";
    QTest::newRow("one past smallest") << "-922337203685477,5809";
    QTest::newRow("past largest by rounding up") << "922337203685477,58075";
    QTest::newRow("far too large") << "99999999999999999999";
}

void ConversionsTest::decimalRejected()
{
    QFETCH(QString, text);
    const auto result = osago::parseDecimal(utf8(text));
    QVERIFY(!result.ok());
    QCOMPARE(qs(result.error()), QStringLiteral("'") + text + QStringLiteral("' is not a valid floating point value"));
}

void ConversionsTest::longTexts()
{
    const std::string thousandDigits(1000, '7');
    QVERIFY(!osago::parseInteger(thousandDigits).ok());
    QVERIFY(!osago::parseDecimal(thousandDigits).ok());
    QCOMPARE(qs(osago::parseDecimal(thousandDigits).error()),
             qs("'" + thousandDigits + "' is not a valid floating point value"));

    const std::string longFraction = "1," + std::string(1000, '9');
    QCOMPARE(osago::parseDecimal(longFraction)->tenThousandths(), qint64(20000));
    const std::string longZeros = std::string(1000, '0') + "1,5";
    QCOMPARE(osago::parseDecimal(longZeros)->tenThousandths(), qint64(15000));
}

void ConversionsTest::multiplyRoundsHalfToEven_data()
{
    QTest::addColumn<qint64>("left");
    QTest::addColumn<qint64>("right");
    QTest::addColumn<qint64>("product");
    // Counts of ten-thousandths.
    QTest::newRow("exact") << qint64(19800000) << qint64(5000) << qint64(9900000);
    QTest::newRow("worked example half goes down to even") << qint64(15765750) << qint64(9500) << qint64(14977462);
    QTest::newRow("half goes up to even") << qint64(15) << qint64(5000) << qint64(8);
    QTest::newRow("half goes down to even") << qint64(5) << qint64(5000) << qint64(2);
    QTest::newRow("below half") << qint64(1) << qint64(4999) << qint64(0);
    QTest::newRow("above half") << qint64(1) << qint64(5001) << qint64(1);
    QTest::newRow("negative half to even") << qint64(-15) << qint64(5000) << qint64(-8);
    QTest::newRow("negative times negative") << qint64(-5) << qint64(-5000) << qint64(2);
    QTest::newRow("largest times one") << std::numeric_limits<qint64>::max() << qint64(10000)
                                       << std::numeric_limits<qint64>::max();
}

void ConversionsTest::multiplyRoundsHalfToEven()
{
    QFETCH(qint64, left);
    QFETCH(qint64, right);
    QFETCH(qint64, product);
    const auto result = Fixed4::fromTenThousandths(left).multipliedBy(Fixed4::fromTenThousandths(right));
    QVERIFY(result.has_value());
    QCOMPARE(result->tenThousandths(), product);
}

void ConversionsTest::divideRoundsHalfToEven_data()
{
    QTest::addColumn<qint64>("dividend");
    QTest::addColumn<qint64>("divisor");
    QTest::addColumn<qint64>("quotient");
    QTest::newRow("40 by 1,36") << qint64(400000) << qint64(13600) << qint64(294118);
    QTest::newRow("half to even down") << qint64(1) << qint64(20000) << qint64(0);
    QTest::newRow("half to even up") << qint64(3) << qint64(20000) << qint64(2);
    QTest::newRow("negative divisor") << qint64(3) << qint64(-20000) << qint64(-2);
    QTest::newRow("negative dividend") << qint64(-400000) << qint64(13600) << qint64(-294118);
}

void ConversionsTest::divideRoundsHalfToEven()
{
    QFETCH(qint64, dividend);
    QFETCH(qint64, divisor);
    QFETCH(qint64, quotient);
    const auto result = Fixed4::fromTenThousandths(dividend).dividedBy(Fixed4::fromTenThousandths(divisor));
    QVERIFY(result.has_value());
    QCOMPARE(result->tenThousandths(), quotient);
}

void ConversionsTest::overflowIsReported()
{
    const Fixed4 largest = Fixed4::fromTenThousandths(std::numeric_limits<qint64>::max());
    const Fixed4 smallest = Fixed4::fromTenThousandths(std::numeric_limits<qint64>::min());
    QVERIFY(!largest.multipliedBy(Fixed4::fromWhole(2)).has_value());
    QVERIFY(!smallest.multipliedBy(Fixed4::fromWhole(-1)).has_value());
    QVERIFY(!largest.dividedBy(Fixed4::fromTenThousandths(1)).has_value());
    QVERIFY(!Fixed4::fromWhole(1).dividedBy(Fixed4()).has_value());
    // Just inside the range stays a number.
    QCOMPARE(smallest.multipliedBy(Fixed4::fromWhole(1))->tenThousandths(), std::numeric_limits<qint64>::min());
}

void ConversionsTest::format_data()
{
    QTest::addColumn<qint64>("tenThousandths");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << qint64(25740000) << "2574";
    QTest::newRow("one place") << qint64(19305000) << "1930,5";
    QTest::newRow("four places") << qint64(14977462) << "1497,7462";
    QTest::newRow("zero") << qint64(0) << "0";
    QTest::newRow("inner zero kept") << qint64(10010) << "1,001";
    QTest::newRow("smallest fraction") << qint64(1) << "0,0001";
    QTest::newRow("negative fraction") << qint64(-2500) << "-0,25";
    QTest::newRow("negative whole") << qint64(-9900000) << "-990";
    QTest::newRow("largest") << std::numeric_limits<qint64>::max() << "922337203685477,5807";
    QTest::newRow("smallest") << std::numeric_limits<qint64>::min() << "-922337203685477,5808";
}

void ConversionsTest::format()
{
    QFETCH(qint64, tenThousandths);
    QFETCH(QString, text);
    QCOMPARE(qs(Fixed4::fromTenThousandths(tenThousandths).format()), text);
    // What is written reads back as the same number.
    QCOMPARE(osago::parseDecimal(utf8(text))->tenThousandths(), tenThousandths);
}

// An amount kept as written: its text, its places, and rounded a half away from zero to four and to two places.
void ConversionsTest::exactDecimal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("written");
    QTest::addColumn<int>("places");
    QTest::addColumn<QString>("fourPlaces");
    QTest::addColumn<QString>("kopecks");
    QTest::newRow("whole") << " 2574 " << "2574" << 0 << "2574" << "2574,00";
    QTest::newRow("four places") << "1497,7462" << "1497,7462" << 4 << "1497,7462" << "1497,75";
    QTest::newRow("five places") << "12,34567" << "12,34567" << 5 << "12,3457" << "12,35";
    QTest::newRow("half up, not to even") << "0,00005" << "0,00005" << 5 << "0,0001" << "0,00";
    QTest::newRow("half of 2") << "0,00025" << "0,00025" << 5 << "0,0003" << "0,00";
    QTest::newRow("below a half") << "0,0000499999" << "0,0000499999" << 10 << "0" << "0,00";
    QTest::newRow("kopeck half from the exact value") << "0,00495" << "0,00495" << 5 << "0,005" << "0,00";
    QTest::newRow("negative half away from zero") << "-0,00005" << "-0,00005" << 5 << "-0,0001" << "0,00";
    QTest::newRow("trailing zeros are no places") << "2,50000" << "2,5" << 1 << "2,5" << "2,50";
    QTest::newRow("eighteen places") << ",000000000000000001" << "0,000000000000000001" << 18 << "0" << "0,00";
    QTest::newRow("zeros past eighteen") << "1,0000000000000000010000" << "1,000000000000000001" << 18 << "1" << "1,00";
    QTest::newRow("largest whole") << "922337203685477,99995" << "922337203685477,99995" << 5 << "922337203685478"
                                   << "922337203685478,00";
}

void ConversionsTest::exactDecimal()
{
    QFETCH(QString, text);
    QFETCH(QString, written);
    QFETCH(int, places);
    QFETCH(QString, fourPlaces);
    QFETCH(QString, kopecks);
    const auto value = osago::parseExactDecimal(utf8(text));
    QVERIFY(value.ok());
    QCOMPARE(qs(value->format()), written);
    QCOMPARE(value->places(), places);
    QCOMPARE(qs(value->roundedTo(4).format()), fourPlaces);
    QCOMPARE(qs(value->roundedTo(2).formatGrouped(2, "")), kopecks);
}

void ConversionsTest::exactDecimalRejected_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("letter") << "12a";
    QTest::newRow("nineteen places") << "0,0000000000000000001";
    QTest::newRow("whole past the premium's range") << "922337203685478";
}

void ConversionsTest::exactDecimalRejected()
{
    QFETCH(QString, text);
    const auto result = osago::parseExactDecimal(utf8(text));
    QVERIFY(!result.ok());
    QCOMPARE(qs(result.error()), QStringLiteral("'") + text + QStringLiteral("' is not a valid floating point value"));
}

QTEST_APPLESS_MAIN(ConversionsTest)
#include "ConversionsTest.moc"
