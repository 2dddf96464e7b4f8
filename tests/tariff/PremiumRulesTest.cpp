#include "TariffTestSupport.h"

#include "tariff/PremiumCalculation.h"

#include <QTest>

using osago::CalcInput;
using osago::CalcResult;
using osago::Field;

namespace {

const QString passengerCar = QStringLiteral("Легковой автомобиль");
const QString carTrailer = QStringLiteral("Прицеп  к легковому автомобилю");
const QString taxiType = QStringLiteral("Такси (в т.ч. маршрутное)");
const QString truck = QStringLiteral("Грузовой автомобиль");
const QString truckTrailer = QStringLiteral("Прицеп к грузовому автомобилю");
const QString bus = QStringLiteral("Автобус");
const QString tractor = QStringLiteral("Тракторы, самоходные дорожно-строительные и иные машины");
const QString tractorTrailer = QStringLiteral("Прицепы к тракторам, самоход. дорожно-строит. и иным машинам");
const QString motorcycle = QStringLiteral("Мотоциклы и мотороллеры");
const QString homeRegion = QStringLiteral("Тальградская область");
const QString yes = QStringLiteral("Да");
const QString no = QStringLiteral("Нет");

// A registered passenger car of a physical person in "Анна" of the home region, 40 horsepower,
// twelve months of use, no drivers listed: the quiet starting point each test changes.
CalcInput baseline()
{
    CalcInput input;
    input.vehicleType = utf8(passengerCar);
    input.maxMass = "0";
    input.seats = "0";
    input.ownerRegion = utf8(homeRegion);
    input.ownerLocality = "Анна";
    input.ownerCountry = "РФ";
    input.unlimitedClass = "3";
    input.powerHp = "40";
    input.period = "12";
    input.term = "15 дней";
    input.currentKT = "?";
    return input;
}

// The vehicle registered abroad: the editor then shows the term selector instead of the months.
void registerAbroad(CalcInput& input)
{
    input.registeredInCountry = false;
    input.periodSelectorShown = false;
}

std::vector<std::string> strings(const QStringList& texts)
{
    std::vector<std::string> result;
    for (const QString& text : texts)
        result.push_back(utf8(text));
    return result;
}

// The last text written into `field`, or a null string when the calculation did not write it.
QString written(const CalcResult& result, Field field)
{
    QString text;
    for (const auto& write : result.writes) {
        if (write.field == field)
            text = qs(write.text);
    }
    return text;
}

QStringList writtenNames(const CalcResult& result)
{
    QStringList names;
    for (const auto& write : result.writes)
        names.append(qs(osago::fieldObjectName(write.field)));
    return names;
}

QString errorOf(const CalcResult& result)
{
    return result.error ? qs(*result.error) : QString();
}

} // namespace

class PremiumRulesTest : public QObject {
    Q_OBJECT

private slots:
    void baseTariff_data();
    void baseTariff();
    void territory_data();
    void territory();
    void bonusMalusTable_data();
    void bonusMalusTable();
    void bonusMalus_data();
    void bonusMalus();
    void ageAndExperience_data();
    void ageAndExperience();
    void driversAdmitted_data();
    void driversAdmitted();
    void enginePower_data();
    void enginePower();
    void periodAndTerm_data();
    void periodAndTerm();
    void violations_data();
    void violations();
    void premium_data();
    void premium();
    void stopKeepsLaterFields_data();
    void stopKeepsLaterFields();
    void everyFieldWrittenOnceInSectionOrder();
    void emptyPowerFieldGetsZeroBeforeCoefficient();
    void objectNames();
};

void PremiumRulesTest::baseTariff_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("person");
    QTest::addColumn<QString>("mass");
    QTest::addColumn<QString>("seats");
    QTest::addColumn<bool>("taxi");
    QTest::addColumn<QString>("tariff");
    QTest::addColumn<QString>("heavyFlag");

    QTest::newRow("car, person") << passengerCar << true << "0" << "0" << false << "1980" << "0";
    QTest::newRow("car, legal person") << passengerCar << false << "0" << "0" << false << "2375" << "0";
    QTest::newRow("car with Такси ticked") << passengerCar << true << "0" << "0" << true << "1980" << "0";
    QTest::newRow("legal car with Такси") << passengerCar << false << "0" << "0" << true << "2375" << "0";
    QTest::newRow("car trailer") << carTrailer << true << "0" << "0" << false << "395" << "0";
    QTest::newRow("taxi") << taxiType << false << "0" << "0" << false << "2965" << "0";
    QTest::newRow("truck 16000 kg") << truck << true << "16000" << "0" << false << "2025" << "0";
    QTest::newRow("truck 16001 kg") << truck << true << "16001" << "0" << false << "3240" << "1";
    QTest::newRow("truck leading zero") << truck << true << "016000" << "0" << false << "2025" << "0";
    QTest::newRow("truck leading blanks") << truck << true << "  16001" << "0" << false << "3240" << "1";
    QTest::newRow("truck trailer") << truckTrailer << true << "0" << "0" << false << "810" << "0";
    QTest::newRow("bus 20 seats") << bus << true << "0" << "20" << false << "1620" << "0";
    QTest::newRow("bus 21 seats") << bus << true << "0" << "21" << false << "2025" << "0";
    QTest::newRow("bus Такси 5 seats") << bus << true << "0" << "5" << true << "2965" << "0";
    QTest::newRow("bus Такси 40 seats") << bus << true << "0" << "40" << true << "2965" << "0";
    QTest::newRow("trolleybus") << QStringLiteral("Троллейбус") << true << "0" << "0" << false << "1620" << "0";
    QTest::newRow("tram") << QStringLiteral("Трамвай") << true << "0" << "0" << false << "1010" << "0";
    QTest::newRow("tractor") << tractor << true << "0" << "0" << false << "1215" << "0";
    QTest::newRow("tractor trailer") << tractorTrailer << true << "0" << "0" << false << "305" << "0";
    QTest::newRow("motorcycle") << motorcycle << true << "0" << "0" << false << "1215" << "0";
    QTest::newRow("type typed by hand") << QStringLiteral("легковой автомобиль") << true << "0" << "0" << false << "?"
                                        << "0";
    QTest::newRow("car trailer with one blank") << QStringLiteral("Прицеп к легковому автомобилю") << true << "0"
                                                << "0" << false << "?" << "0";
    QTest::newRow("heavy flag for any type") << passengerCar << true << "20000" << "0" << false << "1980" << "1";
}

void PremiumRulesTest::baseTariff()
{
    QFETCH(QString, type);
    QFETCH(bool, person);
    QFETCH(QString, mass);
    QFETCH(QString, seats);
    QFETCH(bool, taxi);
    QFETCH(QString, tariff);
    QFETCH(QString, heavyFlag);
    CalcInput input = baseline();
    input.vehicleType = utf8(type);
    input.ownerIsPerson = person;
    input.maxMass = utf8(mass);
    input.seats = utf8(seats);
    input.taxi = taxi;
    const CalcResult result = osago::calculate(input);
    QCOMPARE(errorOf(result), QString());
    QCOMPARE(written(result, Field::TB), tariff);
    QCOMPARE(written(result, Field::RaschetGruz), heavyFlag);
}

void PremiumRulesTest::territory_data()
{
    QTest::addColumn<QString>("region");
    QTest::addColumn<QString>("locality");
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("registered");
    QTest::addColumn<QString>("country");
    QTest::addColumn<QString>("territory"); // null: КТ not written

    QTest::newRow("capital") << homeRegion << "Тальград" << passengerCar << true << "РФ" << "1,3";
    QTest::newRow("Борисоглебск") << homeRegion << "Борисоглебск" << passengerCar << true << "РФ" << "1";
    QTest::newRow("Лиски") << homeRegion << "Лиски" << passengerCar << true << "РФ" << "1";
    QTest::newRow("Россошь") << homeRegion << "Россошь" << passengerCar << true << "РФ" << "1";
    QTest::newRow("Новотальград") << homeRegion << "Новотальград" << passengerCar << true << "РФ" << "0,5";
    QTest::newRow("locality emptied") << homeRegion << "" << passengerCar << true << "РФ" << "0,5";
    QTest::newRow("tractor in capital") << homeRegion << "Тальград" << tractor << true << "РФ" << "0,8";
    QTest::newRow("tractor trailer in Лиски") << homeRegion << "Лиски" << tractorTrailer << true << "РФ" << "0,8";
    QTest::newRow("tractor in Анна") << homeRegion << "Анна" << tractor << true << "РФ" << "0,5";
    QTest::newRow("tractor not registered") << homeRegion << "Тальград" << tractor << false << "РФ" << "2";
    QTest::newRow("foreign owner country") << homeRegion << "Лиски" << passengerCar << true << "Украина" << "2";
    QTest::newRow("country typed lower case") << homeRegion << "Анна" << passengerCar << true << "рф" << "2";
    QTest::newRow("other region") << QStringLiteral("Московская обл.") << "Тальград" << passengerCar << true << "РФ"
                                  << QString();
    QTest::newRow("other region not registered") << QStringLiteral("Московская обл.") << "" << passengerCar << false
                                                 << "РФ" << QString();
}

void PremiumRulesTest::territory()
{
    QFETCH(QString, region);
    QFETCH(QString, locality);
    QFETCH(QString, type);
    QFETCH(bool, registered);
    QFETCH(QString, country);
    QFETCH(QString, territory);
    CalcInput input = baseline();
    input.ownerRegion = utf8(region);
    input.ownerLocality = utf8(locality);
    input.vehicleType = utf8(type);
    input.registeredInCountry = registered;
    input.periodSelectorShown = registered;
    input.ownerCountry = utf8(country);
    input.currentKT = "1,8";
    const CalcResult result = osago::calculate(input);
    QCOMPARE(errorOf(result), QString());
    QCOMPARE(written(result, Field::KT), territory);
}

void PremiumRulesTest::bonusMalusTable_data()
{
    QTest::addColumn<QString>("driverClass");
    QTest::addColumn<QString>("factor");
    const QStringList classes = {"M", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13"};
    const QStringList factors = {"2,45", "2,3", "1,55", "1,4",  "1",   "0,95", "0,9", "0,85",
                                 "0,8",  "0,75", "0,7", "0,65", "0,6", "0,55", "0,5"};
    for (qsizetype i = 0; i < classes.size(); ++i)
        QTest::addRow("class %s", qPrintable(classes[i])) << classes[i] << factors[i];
    QTest::newRow("Cyrillic М") << QStringLiteral("М") << "?";
    QTest::newRow("14") << "14" << "?";
    QTest::newRow("05") << "05" << "?";
}

// With unlimited drivers the page's class is looked up as it stands.
void PremiumRulesTest::bonusMalusTable()
{
    QFETCH(QString, driverClass);
    QFETCH(QString, factor);
    CalcInput input = baseline();
    input.unlimitedDrivers = true;
    input.unlimitedClass = utf8(driverClass);
    const CalcResult result = osago::calculate(input);
    QCOMPARE(written(result, Field::KBM), factor);
    QCOMPARE(written(result, Field::Edit1), QString());
}

void PremiumRulesTest::bonusMalus_data()
{
    QTest::addColumn<QStringList>("classes");
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("registered");
    QTest::addColumn<bool>("periodShown");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QString>("worstClass");

    QTest::newRow("5 3 9") << QStringList{"5", "3", "9"} << passengerCar << true << true << "1" << "3";
    QTest::newRow("5 M") << QStringList{"5", "M"} << passengerCar << true << true << "2,45" << "M";
    QTest::newRow("M 5") << QStringList{"M", "5"} << passengerCar << true << true << "2,45" << "M";
    QTest::newRow("M before a bad class") << QStringList{"x", "M"} << passengerCar << true << true << "2,45" << "M";
    QTest::newRow("no driver") << QStringList{} << passengerCar << true << true << "0,5" << "13";
    QTest::newRow("lone 14") << QStringList{"14"} << passengerCar << true << true << "0,5" << "13";
    QTest::newRow("14 then 12") << QStringList{"14", "12"} << passengerCar << true << true << "0,55" << "12";
    QTest::newRow("0 is the worst number") << QStringList{"7", "0", "1"} << passengerCar << true << true << "2,3"
                                           << "0";
    QTest::newRow("equal classes keep the first") << QStringList{"05", "5"} << passengerCar << true << true << "?"
                                                  << "05";
    QTest::newRow("class with a blank") << QStringList{" 4"} << passengerCar << true << true << "?" << " 4";
    QTest::newRow("seventh class counts") << QStringList{"9", "9", "9", "9", "9", "9", "2"} << passengerCar << true
                                          << true << "1,4" << "2";
    QTest::newRow("car trailer") << QStringList{"3"} << carTrailer << true << true << "-" << "3";
    QTest::newRow("tractor trailer") << QStringList{"3"} << tractorTrailer << true << true << "-" << "3";
    QTest::newRow("not registered") << QStringList{"3"} << passengerCar << false << false << "-" << "3";
    QTest::newRow("period selector hidden") << QStringList{"3"} << passengerCar << true << false << "-" << "3";
}

void PremiumRulesTest::bonusMalus()
{
    QFETCH(QStringList, classes);
    QFETCH(QString, type);
    QFETCH(bool, registered);
    QFETCH(bool, periodShown);
    QFETCH(QString, factor);
    QFETCH(QString, worstClass);
    CalcInput input = baseline();
    input.classes = strings(classes);
    input.vehicleType = utf8(type);
    input.registeredInCountry = registered;
    input.periodSelectorShown = periodShown;
    const CalcResult result = osago::calculate(input);
    QCOMPARE(errorOf(result), QString());
    QCOMPARE(written(result, Field::KBM), factor);
    QCOMPARE(written(result, Field::Edit1), worstClass);
}

void PremiumRulesTest::ageAndExperience_data()
{
    QTest::addColumn<QStringList>("experience");
    QTest::addColumn<QStringList>("age");
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("person");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<bool>("shortExperience");
    QTest::addColumn<bool>("under22");

    QTest::newRow("no driver") << QStringList{} << QStringList{} << passengerCar << true << "1" << false << false;
    QTest::newRow("21 with 5 years, 40 with 1 year") << QStringList{yes, no} << QStringList{no, yes} << passengerCar
                                                    << true << "1,3" << true << true;
    QTest::newRow("21 with long experience") << QStringList{yes} << QStringList{no} << passengerCar << true << "1,2"
                                             << false << true;
    QTest::newRow("30 with 1 year") << QStringList{no} << QStringList{yes} << passengerCar << true << "1,15" << true
                                    << false;
    QTest::newRow("experienced adults") << QStringList{yes, yes} << QStringList{yes, yes} << passengerCar << true
                                        << "1" << false << false;
    QTest::newRow("seventh position ignored") << QStringList{yes, yes, yes, yes, yes, yes, no}
                                              << QStringList{yes, yes, yes, yes, yes, yes, no} << passengerCar << true
                                              << "1" << false << false;
    QTest::newRow("sixth position counts") << QStringList{yes, yes, yes, yes, yes, no}
                                           << QStringList{yes, yes, yes, yes, yes, yes} << passengerCar << true
                                           << "1,15" << true << false;
    QTest::newRow("exact texts only") << QStringList{QStringLiteral("нет")} << QStringList{QStringLiteral("Нет ")}
                                      << passengerCar << true << "1" << false << false;
    QTest::newRow("legal person") << QStringList{no} << QStringList{no} << passengerCar << false << "-" << true
                                  << true;
    QTest::newRow("truck trailer") << QStringList{no} << QStringList{yes} << truckTrailer << true << "-" << true
                                   << false;
}

void PremiumRulesTest::ageAndExperience()
{
    QFETCH(QStringList, experience);
    QFETCH(QStringList, age);
    QFETCH(QString, type);
    QFETCH(bool, person);
    QFETCH(QString, factor);
    QFETCH(bool, shortExperience);
    QFETCH(bool, under22);
    CalcInput input = baseline();
    input.experienceFlags = strings(experience);
    input.ageFlags = strings(age);
    input.vehicleType = utf8(type);
    input.ownerIsPerson = person;
    const CalcResult result = osago::calculate(input);
    QCOMPARE(written(result, Field::KVS), factor);
    QCOMPARE(written(result, Field::CheckBox2), shortExperience ? "1" : "0");
    QCOMPARE(written(result, Field::CheckBox22), under22 ? "1" : "0");
}

void PremiumRulesTest::driversAdmitted_data()
{
    QTest::addColumn<bool>("unlimited");
    QTest::addColumn<bool>("registered");
    QTest::addColumn<bool>("person");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("factor");

    QTest::newRow("unlimited, registered") << true << true << true << passengerCar << "1,5";
    QTest::newRow("unlimited, not registered") << true << false << true << passengerCar << "1";
    QTest::newRow("listed drivers") << false << true << true << passengerCar << "1";
    QTest::newRow("legal person") << true << true << false << passengerCar << "-";
    QTest::newRow("car trailer") << true << true << true << carTrailer << "-";
}

void PremiumRulesTest::driversAdmitted()
{
    QFETCH(bool, unlimited);
    QFETCH(bool, registered);
    QFETCH(bool, person);
    QFETCH(QString, type);
    QFETCH(QString, factor);
    CalcInput input = baseline();
    input.unlimitedDrivers = unlimited;
    input.registeredInCountry = registered;
    input.periodSelectorShown = registered;
    input.ownerIsPerson = person;
    input.vehicleType = utf8(type);
    QCOMPARE(written(osago::calculate(input), Field::KO), factor);
}

void PremiumRulesTest::enginePower_data()
{
    QTest::addColumn<QString>("power");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("factor");

    QTest::newRow("50") << "50" << passengerCar << "0,5";
    QTest::newRow("50,0001") << "50,0001" << passengerCar << "0,7";
    QTest::newRow("50,00004 rounds to 50") << "50,00004" << passengerCar << "0,5";
    QTest::newRow("50,5") << "50,5" << passengerCar << "0,7";
    QTest::newRow("70") << "70" << passengerCar << "0,7";
    QTest::newRow("70,0001") << "70,0001" << passengerCar << "1";
    QTest::newRow("100") << "100" << passengerCar << "1";
    QTest::newRow("101") << "101" << passengerCar << "1,3";
    QTest::newRow("120") << "120" << passengerCar << "1,3";
    QTest::newRow("121") << "121" << passengerCar << "1,5";
    QTest::newRow("150") << "150" << passengerCar << "1,5";
    QTest::newRow("150,0001") << "150,0001" << passengerCar << "1,7";
    QTest::newRow("151") << "151" << passengerCar << "1,7";
    QTest::newRow("50,32 from 37 kW") << "50,32" << passengerCar << "0,7";
    QTest::newRow("negative") << "-5" << passengerCar << "0,5";
    QTest::newRow("blanks around") << " 40 " << passengerCar << "0,5";
    QTest::newRow("empty becomes 0") << "" << passengerCar << "0,5";
    QTest::newRow("taxi") << "200" << taxiType << "1,7";
    QTest::newRow("truck") << "200" << truck << "-";
    QTest::newRow("motorcycle") << "20" << motorcycle << "-";
    QTest::newRow("empty for a bus") << "" << bus << "-";
}

void PremiumRulesTest::enginePower()
{
    QFETCH(QString, power);
    QFETCH(QString, type);
    QFETCH(QString, factor);
    CalcInput input = baseline();
    input.powerHp = utf8(power);
    input.vehicleType = utf8(type);
    input.seats = "10";
    const CalcResult result = osago::calculate(input);
    QCOMPARE(errorOf(result), QString());
    QCOMPARE(written(result, Field::KM), factor);
    QCOMPARE(written(result, Field::Moshn), power.isEmpty() ? QStringLiteral("0") : QString());
}

void PremiumRulesTest::periodAndTerm_data()
{
    QTest::addColumn<bool>("person");
    QTest::addColumn<bool>("registered");
    QTest::addColumn<QString>("period");
    QTest::addColumn<QString>("term");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("periodFactor");
    QTest::addColumn<QString>("termFactor");

    const QStringList periods = {"6", "7", "8", "9", "10", "11", "12"};
    const QStringList periodFactors = {"0,7", "0,8", "0,9", "0,95", "1", "1", "1"};
    for (qsizetype i = 0; i < periods.size(); ++i)
        QTest::addRow("period %s", qPrintable(periods[i]))
            << true << true << periods[i] << "15 дней" << passengerCar << periodFactors[i] << "-";
    QTest::newRow("period 5") << true << true << "5" << "1" << passengerCar << "?" << "-";
    QTest::newRow("legal person") << false << true << "12" << "1" << passengerCar << "-" << "-";

    const QStringList terms = {QStringLiteral("15 дней"), "1", "2", "3", "4", "5", "6",
                               "7",  "8",  "9",  "10", "11", "12"};
    const QStringList termFactors = {"0,2", "0,3", "0,4", "0,5", "0,6", "0,65", "0,7",
                                     "0,8", "0,9", "0,95", "1", "1", "1"};
    for (qsizetype i = 0; i < terms.size(); ++i)
        QTest::addRow("term %s", qPrintable(terms[i]))
            << true << false << "12" << terms[i] << passengerCar << "-" << termFactors[i];
    QTest::newRow("term 13") << true << false << "12" << "13" << passengerCar << "-" << "?";
    QTest::newRow("term legal person") << false << false << "12" << "3" << passengerCar << "-" << "0,5";
    QTest::newRow("term truck trailer") << true << false << "12" << "3" << truckTrailer << "-" << "-";
}

void PremiumRulesTest::periodAndTerm()
{
    QFETCH(bool, person);
    QFETCH(bool, registered);
    QFETCH(QString, period);
    QFETCH(QString, term);
    QFETCH(QString, type);
    QFETCH(QString, periodFactor);
    QFETCH(QString, termFactor);
    CalcInput input = baseline();
    input.ownerIsPerson = person;
    input.registeredInCountry = registered;
    input.periodSelectorShown = registered;
    input.period = utf8(period);
    input.term = utf8(term);
    input.vehicleType = utf8(type);
    const CalcResult result = osago::calculate(input);
    QCOMPARE(written(result, Field::KS), periodFactor);
    QCOMPARE(written(result, Field::KP), termFactor);
}

void PremiumRulesTest::violations_data()
{
    QTest::addColumn<bool>("unlimited");
    QTest::addColumn<bool>("pageViolations");
    QTest::addColumn<QStringList>("driverViolations");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<bool>("flagged");

    QTest::newRow("none") << false << false << QStringList{no, no} << passengerCar << "1" << false;
    QTest::newRow("unlimited with violations") << true << true << QStringList{} << passengerCar << "1,5" << false;
    QTest::newRow("one driver with violations") << false << false << QStringList{no, yes} << passengerCar << "1,5"
                                                << true;
    QTest::newRow("seventh position ignored") << false << false << QStringList{no, no, no, no, no, no, yes}
                                              << passengerCar << "1" << false;
    QTest::newRow("trailer") << false << false << QStringList{yes} << carTrailer << "-" << true;
}

void PremiumRulesTest::violations()
{
    QFETCH(bool, unlimited);
    QFETCH(bool, pageViolations);
    QFETCH(QStringList, driverViolations);
    QFETCH(QString, type);
    QFETCH(QString, factor);
    QFETCH(bool, flagged);
    CalcInput input = baseline();
    input.unlimitedDrivers = unlimited;
    input.unlimitedGross = pageViolations;
    input.grossFlags = strings(driverViolations);
    input.vehicleType = utf8(type);
    const CalcResult result = osago::calculate(input);
    QCOMPARE(written(result, Field::KN), factor);
    QCOMPARE(written(result, Field::CheckBoxGrubOK), flagged ? "1" : "0");
}

void PremiumRulesTest::premium_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("region");
    QTest::addColumn<QString>("locality");
    QTest::addColumn<QString>("currentKT");
    QTest::addColumn<bool>("registered");
    QTest::addColumn<QString>("mass");
    QTest::addColumn<QString>("power");
    QTest::addColumn<QString>("period");
    QTest::addColumn<QString>("term");
    QTest::addColumn<QString>("premium");

    // 1980 * 0,5 * 2,45 * 1,3 * 1 * 0,5 * 0,95 = 1497,74625, whose half goes to the even 1497,7462.
    QTest::newRow("worked example") << passengerCar << homeRegion << "Анна" << "?" << true << "0" << "40" << "9"
                                    << "15 дней" << "1497,7462";
    // 3240 * 1,3 * 0,5 (worst class 13); КМ "-", КС 1.
    QTest::newRow("heavy truck in the capital") << truck << homeRegion << "Тальград" << "?" << true << "16001"
                                                << "300" << "12" << "15 дней" << "2106";
    // Only ТБ is a number other than 1: КТ "?", КБМ, КС "-", the others 1.
    QTest::newRow("everything else ? - or 1") << passengerCar << "Московская обл." << "" << "?" << false << "0"
                                              << "80" << "12" << "10" << "1980";
    // Abroad: 1980 * 1,8 typed into КТ * 0,5 (КМ) * 0,2 (15 days).
    QTest::newRow("typed КТ outside home region") << passengerCar << "Московская обл." << "" << "1,8" << false << "0"
                                                  << "40" << "12" << "15 дней" << "356,4";
    QTest::newRow("КТ dash counts as 1") << passengerCar << "Московская обл." << "" << "-" << false << "0" << "80"
                                        << "12" << "15 дней" << "396";
    // Abroad in the home region: 1980 * 2 (КТ) * 0,2 (15 days).
    QTest::newRow("not registered in home region") << passengerCar << homeRegion << "Тальград" << "?" << false << "0"
                                                   << "80" << "12" << "15 дней" << "792";
}

void PremiumRulesTest::premium()
{
    QFETCH(QString, type);
    QFETCH(QString, region);
    QFETCH(QString, locality);
    QFETCH(QString, currentKT);
    QFETCH(bool, registered);
    QFETCH(QString, mass);
    QFETCH(QString, power);
    QFETCH(QString, period);
    QFETCH(QString, term);
    QFETCH(QString, premium);
    CalcInput input = baseline();
    input.vehicleType = utf8(type);
    input.ownerRegion = utf8(region);
    input.ownerLocality = utf8(locality);
    input.currentKT = utf8(currentKT);
    if (!registered)
        registerAbroad(input);
    input.maxMass = utf8(mass);
    input.powerHp = utf8(power);
    input.period = utf8(period);
    input.term = utf8(term);
    if (QTest::currentDataTag() == QByteArrayLiteral("worked example")) {
        input.classes = {"M", "5"};
        input.experienceFlags = {utf8(yes), utf8(no)};
        input.ageFlags = {utf8(yes), utf8(no)};
        input.grossFlags = {utf8(no), utf8(no)};
    }
    const CalcResult result = osago::calculate(input);
    QCOMPARE(errorOf(result), QString());
    QCOMPARE(written(result, Field::Suma), premium);
}

void PremiumRulesTest::stopKeepsLaterFields_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("mass");
    QTest::addColumn<QString>("seats");
    QTest::addColumn<QStringList>("classes");
    QTest::addColumn<QString>("power");
    QTest::addColumn<QString>("currentKT");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("writtenFields");
    QTest::addColumn<QString>("lastText"); // the text of the last write

    const QStringList throughTariff = {"LabeledEditTB"};
    const QStringList throughBonusMalus = {"EditRaschetGruz", "LabeledEditTB", "LabeledEditKT", "LabeledEditKBM",
                                           "Edit1"};
    const QStringList throughPower = throughBonusMalus
        + QStringList{"LabeledEditKVS", "CheckBox2", "CheckBox22", "LabeledEditKO", "LabeledEditKM"};
    const QStringList throughViolations = throughPower
        + QStringList{"LabeledEditKS", "LabeledEditKP", "LabeledEditKN", "CheckBoxGrubOK"};

    QTest::newRow("truck mass emptied") << truck << "" << "0" << QStringList{} << "40" << "?"
                                        << "'' is not a valid integer value" << throughTariff << "?";
    QTest::newRow("car with a bad mass keeps its tariff") << passengerCar << "1,5" << "0" << QStringList{} << "40"
                                                          << "?" << "'1,5' is not a valid integer value"
                                                          << throughTariff << "1980";
    QTest::newRow("bus seats") << bus << "0" << "5a" << QStringList{} << "40" << "?"
                               << "'5a' is not a valid integer value"
                               << QStringList{"EditRaschetGruz", "LabeledEditTB"} << "?";
    QTest::newRow("driver class") << passengerCar << "0" << "0" << QStringList{"5", "x", "2"} << "40" << "?"
                                  << "'x' is not a valid integer value" << throughBonusMalus << "5";
    QTest::newRow("driver class out of range") << passengerCar << "0" << "0" << QStringList{"99999999999"} << "40"
                                               << "?" << "'99999999999' is not a valid integer value"
                                               << throughBonusMalus << "13";
    QTest::newRow("power with a point") << passengerCar << "0" << "0" << QStringList{} << "40.5" << "?"
                                        << "'40.5' is not a valid floating point value" << throughPower << "?";
    QTest::newRow("power of a truck") << truck << "0" << "0" << QStringList{} << "x" << "?"
                                      << "'x' is not a valid floating point value" << throughPower << "?";
    QTest::newRow("typed КТ with a point") << passengerCar << "0" << "0" << QStringList{} << "40" << "1.8"
                                           << "'1.8' is not a valid floating point value" << throughViolations << "0";
    QTest::newRow("typed КТ too large") << passengerCar << "0" << "0" << QStringList{} << "40" << "922337203685477"
                                        << "'922337203685477' is not a valid floating point value"
                                        << throughViolations << "0";
}

// A stop leaves the fields of later sections and the premium out of the writes, so the window
// keeps their previous texts.
void PremiumRulesTest::stopKeepsLaterFields()
{
    QFETCH(QString, type);
    QFETCH(QString, mass);
    QFETCH(QString, seats);
    QFETCH(QStringList, classes);
    QFETCH(QString, power);
    QFETCH(QString, currentKT);
    QFETCH(QString, error);
    QFETCH(QStringList, writtenFields);
    QFETCH(QString, lastText);
    CalcInput input = baseline();
    input.vehicleType = utf8(type);
    input.maxMass = utf8(mass);
    input.seats = utf8(seats);
    input.classes = strings(classes);
    input.powerHp = utf8(power);
    input.currentKT = utf8(currentKT);
    if (currentKT != u"?")
        input.ownerRegion = "Московская обл.";
    const CalcResult result = osago::calculate(input);
    QCOMPARE(errorOf(result), error);
    QStringList expected = writtenFields;
    if (currentKT != u"?")
        expected.removeAll(QStringLiteral("LabeledEditKT"));
    QCOMPARE(writtenNames(result), expected);
    QCOMPARE(qs(result.writes.back().text), lastText);
}

void PremiumRulesTest::everyFieldWrittenOnceInSectionOrder()
{
    const CalcResult result = osago::calculate(baseline());
    QCOMPARE(errorOf(result), QString());
    QCOMPARE(writtenNames(result),
             (QStringList{"EditRaschetGruz", "LabeledEditTB", "LabeledEditKT", "LabeledEditKBM", "Edit1",
                          "LabeledEditKVS", "CheckBox2", "CheckBox22", "LabeledEditKO", "LabeledEditKM",
                          "LabeledEditKS", "LabeledEditKP", "LabeledEditKN", "CheckBoxGrubOK", "LabeledEditSuma"}));
}

void PremiumRulesTest::emptyPowerFieldGetsZeroBeforeCoefficient()
{
    CalcInput input = baseline();
    input.powerHp.clear();
    const QStringList names = writtenNames(osago::calculate(input));
    QVERIFY(names.contains(u"LabeledEditMoshn"_qs));
    QCOMPARE(names.indexOf(u"LabeledEditMoshn"_qs) + 1, names.indexOf(u"LabeledEditKM"_qs));
}

void PremiumRulesTest::objectNames()
{
    QCOMPARE(qs(osago::fieldObjectName(Field::TB)), "LabeledEditTB");
    QCOMPARE(qs(osago::fieldObjectName(Field::Suma)), "LabeledEditSuma");
    QCOMPARE(qs(osago::fieldObjectName(Field::Moshn)), "LabeledEditMoshn");
    QCOMPARE(qs(osago::fieldObjectName(Field::RaschetGruz)), "EditRaschetGruz");
    QCOMPARE(qs(osago::fieldObjectName(Field::CheckBoxGrubOK)), "CheckBoxGrubOK");
    QVERIFY(osago::isCheckBoxField(Field::CheckBox22));
    QVERIFY(!osago::isCheckBoxField(Field::Edit1));
}

QTEST_APPLESS_MAIN(PremiumRulesTest)
#include "PremiumRulesTest.moc"
