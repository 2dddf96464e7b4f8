#include "print/RecordFactors.h"
#include "PrintSamples.h"

#include <QTest>

using namespace osago;
using namespace osago::test;

namespace {

QString joined(const std::vector<std::string>& texts)
{
    QStringList out;
    for (const std::string& text : texts)
        out << QString::fromStdString(text);
    return out.join(u'|');
}

// Every input of the calculation as "name=value", so a comparison shows which one differs.
QStringList describe(const CalcInput& in)
{
    auto text = [](const std::string& s) { return QString::fromStdString(s); };
    auto flag = [](bool b) { return b ? QStringLiteral("yes") : QStringLiteral("no"); };
    return {
        "vehicleType=" + text(in.vehicleType), "ownerIsPerson=" + flag(in.ownerIsPerson),
        "maxMass=" + text(in.maxMass), "seats=" + text(in.seats), "taxi=" + flag(in.taxi),
        "ownerRegion=" + text(in.ownerRegion), "ownerLocality=" + text(in.ownerLocality),
        "ownerCountry=" + text(in.ownerCountry), "registered=" + flag(in.registeredInCountry),
        "periodShown=" + flag(in.periodSelectorShown), "unlimited=" + flag(in.unlimitedDrivers),
        "unlimitedClass=" + text(in.unlimitedClass), "unlimitedGross=" + flag(in.unlimitedGross),
        "classes=" + joined(in.classes), "experience=" + joined(in.experienceFlags),
        "gross=" + joined(in.grossFlags), "age=" + joined(in.ageFlags), "powerHp=" + text(in.powerHp),
        "period=" + text(in.period), "term=" + text(in.term), "currentKT=" + text(in.currentKT),
    };
}

// The car of carRow() as the editor would hold it, drivers aside.
CalcInput carInput()
{
    CalcInput in;
    in.vehicleType = "Легковой автомобиль";
    in.ownerIsPerson = true;
    in.maxMass = "0";
    in.seats = "0";
    in.taxi = false;
    in.ownerRegion = "Тальградская область";
    in.ownerLocality = "Тальград";
    in.ownerCountry = "РФ";
    in.registeredInCountry = true;
    in.periodSelectorShown = true;
    in.unlimitedDrivers = false;
    in.unlimitedClass = "3";
    in.unlimitedGross = false;
    in.powerHp = "87";
    in.period = "12";
    in.term = "15 дней";
    in.currentKT = "?";
    return in;
}

CalcInput sixDriverInput()
{
    CalcInput in = carInput();
    in.classes = {"3", "4", "5", "6", "3", "3"};
    in.experienceFlags = {"Да", "Да", "Да", "Да", "Да", "Нет"};
    in.grossFlags = {"Нет", "Нет", "Нет", "Нет", "Нет", "Нет"};
    // The sixth driver, born 10.10.2005, was 18 on 31.01.2024.
    in.ageFlags = {"Да", "Да", "Да", "Да", "Да", "Нет"};
    return in;
}

PolicyRow abroadRow()
{
    PolicyRow row = sixDriverRow();
    fill(row, {{u"РегРФ", u"Нет"}, {u"Тип_владельца", u"Юр. лицо"}, {u"Срок_использ_месяцы", u"3"},
               {u"Цель_исп_такси", u"Да"}});
    return row;
}

CalcInput abroadInput()
{
    CalcInput in = sixDriverInput();
    in.registeredInCountry = false;
    in.periodSelectorShown = false;
    in.ownerIsPerson = false;
    in.taxi = true;
    in.period = "12";
    in.term = "3";
    return in;
}

CalcInput unrestrictedInput()
{
    CalcInput in = carInput();
    in.unlimitedDrivers = true;
    in.unlimitedClass = "7";
    in.unlimitedGross = true;
    return in;
}

QString finalText(const CalcResult& result, Field field)
{
    QString text;
    for (const FieldWrite& write : result.writes) {
        if (write.field == field)
            text = QString::fromStdString(write.text);
    }
    return text;
}

} // namespace

class RecordFactorsTest : public QObject
{
    Q_OBJECT

private slots:
    void inputFromRow_data()
    {
        QTest::addColumn<PolicyRow>("row");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("six drivers, one young") << sixDriverRow() << describe(sixDriverInput());
        QTest::newRow("any driver") << unrestrictedRow() << describe(unrestrictedInput());
        QTest::newRow("abroad, firm, term, taxi") << abroadRow() << describe(abroadInput());
    }

    void inputFromRow()
    {
        QFETCH(PolicyRow, row);
        QFETCH(QStringList, expected);
        const std::optional<CalcInput> input = calcInputFromRow(row);
        QVERIFY(input);
        QCOMPARE(describe(*input), expected);
    }

    void noInputWhenAnAgeCannotBeDerived()
    {
        PolicyRow row = sixDriverRow();
        row.setValue(u"Дата_выдачи", QStringLiteral("  .  .    "));
        QVERIFY(!calcInputFromRow(row));
        QVERIFY(!factorsAgreeingWithPremium(row));
    }

    void factorsWhenThePremiumAgrees()
    {
        const CalcResult expected = calculate(sixDriverInput());
        QVERIFY(!expected.error);
        PolicyRow row = sixDriverRow();
        row.setValue(u"Сумма_страхования", finalText(expected, Field::Suma));

        const std::optional<TariffFactors> factors = factorsAgreeingWithPremium(row);
        QVERIFY(factors);
        for (int i = 0; i < kFactorCount; ++i)
            QCOMPARE(factors->texts[std::size_t(i)], finalText(expected, factorField(i)));
        // A passenger car of a person, owner in Тальград.
        QCOMPARE(factors->texts[0], QStringLiteral("1980"));
        QCOMPARE(factors->texts[1], QStringLiteral("1,3"));
    }

    void noFactorsWhenThePremiumDiffers()
    {
        PolicyRow row = sixDriverRow();
        row.setValue(u"Сумма_страхования", finalText(calculate(sixDriverInput()), Field::Suma) + u'1');
        QVERIFY(!factorsAgreeingWithPremium(row));
        row.setValue(u"Сумма_страхования", QString());
        QVERIFY(!factorsAgreeingWithPremium(row));
    }
};

QTEST_GUILESS_MAIN(RecordFactorsTest)
#include "RecordFactorsTest.moc"
