#include "storage/PersonType.h"
#include "storage/PolicyColumns.h"
#include "storage/SqlNames.h"
#include "storage/PolicyRow.h"
#include "storage/sqlite/SqliteSql.h"
#include "storage/YesNo.h"

#include <QTest>

using namespace osago;

namespace {

// The register's columns as the agent's register has always had them, written out independently of the
// program's table.
const QStringList kLeading = {
    "Страхователь_фамилия_фирма", "Страхователь_имя", "Страхователь_отчество", "Владелец_фамилия_фирма",
    "Владелец_имя", "Владелец_отчество", "Марка_модель", "Регистрационный_знак", "Номер_серия_полиса", "Квитанция",
    "Номер_серия_спец_знака", "РегРФ", "Тип_страхователя", "Страхователь_др_ИНН", "Страхователь_страна",
    "Страхователь_регион", "Страхователь_район", "Страхователь_насел_пункт", "Страхователь_адрес",
    "Страхователь_индекс", "Страхователь_телефон", "Страхователь_документ", "Страхователь_серия_номер",
    "Тип_владельца", "Владелец_др_ИНН", "Владелец_телефон", "Владелец_страна", "Владелец_регион", "Владелец_район",
    "Владелец_насел_пункт", "Владелец_адрес", "Владелец_индекс", "Владелец_документ", "Владелец_серия_номер",
    "Тип_ТС", "Год_выпуска", "Номер_шасси", "Кузов", "VIN", "Мощность_л_с", "Мощность_кВт", "Серия_номер_ПТС",
    "Дата_выдачи_ПТС", "Масса_без_нагрузки_кг", "Количество_мест_сидения", "Разрешенная_макс_масса_кг",
    "Время_начала_срока_страхования", "Дата_начала_срока_страхования", "Дата_выдачи", "Особые_отметки",
    "Срок_использ_месяцы", "Страх_с", "Страх_по", "Использ_с", "Использ_по", "Класс_ТС", "Допущены_без_ограничений",
    "Грубые_наруш", "Цель_исп_личная", "Цель_исп_такси", "Цель_исп_прокат_аренда", "Цель_исп_скорая_помощь",
    "Цель_исп_инкассация", "Цель_исп_прочие", "Цель_исп_дор_или_спец_ТС", "Цель_исп_учеб_езда",
};
// "Доп_" + Latin c + Cyrillic "таж_более_2".
const QString kExperienceStem = QStringLiteral("Доп_") + QChar(0x0063) + QStringLiteral("таж_более_2");
const QStringList kDriverStems = {
    "Допущен_ФИО", "Допущен_дата_рождения", "Допущен_пол", "Допущен_адрес", "Допущен_ВУ", "Допущен_стаж",
    kExperienceStem, "Допущен_класс", "Доп_груб",
};
const QStringList kTrailing = {"Сумма_страхования", "ФИО_агента", "Мантисса_кода"};

QStringList expectedNames()
{
    QStringList names = kLeading;
    for (int driver = 1; driver <= 6; ++driver) {
        for (const QString& stem : kDriverStems)
            names << stem + u'_' + QString::number(driver);
    }
    return names + kTrailing;
}

} // namespace

class PolicyColumnsTest : public QObject
{
    Q_OBJECT

private slots:
    void namesAreTheRegistersInOrder()
    {
        const QStringList expected = expectedNames();
        QCOMPARE(expected.size(), 123);
        QCOMPARE(policyColumnNames(), expected);
    }

    void experienceFlagsHaveTheLatinCAndOtherwiseCyrillic()
    {
        for (int driver = 1; driver <= 6; ++driver) {
            const QString& name = policyColumnNames().at(driverColumnIndex(driver, 7));
            QCOMPARE(name.at(4), QChar(u'c'));
            for (qsizetype i = 0; i < name.size(); ++i) {
                const QChar ch = name.at(i);
                if (i != 4 && ch.isLetter())
                    QVERIFY2(ch.script() == QChar::Script_Cyrillic, qPrintable(name));
            }
        }
    }

    void driverColumnsNameTheirPosition()
    {
        for (int driver = 1; driver <= 6; ++driver) {
            for (int attribute = 1; attribute <= 9; ++attribute) {
                const int index = driverColumnIndex(driver, attribute);
                QCOMPARE(index, 66 + 9 * (driver - 1) + attribute - 1);
                QCOMPARE(policyColumnNames().at(index), kDriverStems[attribute - 1] + u'_' + QString::number(driver));
            }
        }
    }

    void rowCodeIsTheLastColumn()
    {
        QCOMPARE(rowCodeColumnIndex(), 122);
        QCOMPARE(policyColumnNames().at(rowCodeColumnIndex()), QStringLiteral("Мантисса_кода"));
    }

    void unknownNamesAreNotFound()
    {
        QCOMPARE(policyColumnIndex(u"Страхователь_фамилия"), -1);
        QCOMPARE(policyColumnIndex(u"vin"), -1);
        QCOMPARE(policyColumnIndex(u"Доп_стаж_более_2_1"), -1); // Cyrillic с
    }

    void codingTexts()
    {
        QCOMPARE(yesNo(true), QStringLiteral("Да"));
        QCOMPARE(yesNo(false), QStringLiteral("Нет"));
        QCOMPARE(personType(false), QStringLiteral("Физ. лицо"));
        QCOMPARE(personType(true), QStringLiteral("Юр. лицо"));
        QVERIFY(isYes(u"Да"));
        QVERIFY(!isYes(u"да"));
        QVERIFY(!isYes(u""));
        QVERIFY(isLegalEntity(u"Юр. лицо"));
        QVERIFY(!isLegalEntity(u"Физ. лицо"));
    }

    void rowDriverCountIsTheLastFilledPosition_data()
    {
        QTest::addColumn<QList<int>>("filledDrivers");
        QTest::addColumn<int>("count");
        QTest::newRow("none") << QList<int>{} << 0;
        QTest::newRow("first") << QList<int>{1} << 1;
        QTest::newRow("six") << QList<int>{1, 2, 3, 4, 5, 6} << 6;
        QTest::newRow("gap") << QList<int>{1, 4} << 4;
    }
    void rowDriverCountIsTheLastFilledPosition()
    {
        QFETCH(QList<int>, filledDrivers);
        QFETCH(int, count);
        PolicyRow row;
        for (int driver : filledDrivers)
            row.setValue(driverColumnIndex(driver, 9), QStringLiteral("Нет"));
        row.setValue(u"ФИО_агента", QStringLiteral("Агент"));
        QCOMPARE(row.driverCount(), count);
    }

    void rowFromValuesNeedsEveryColumn()
    {
        QVERIFY(!PolicyRow::fromValues(QStringList(122)).has_value());
        QVERIFY(!PolicyRow::fromValues(QStringList(124)).has_value());
        const auto row = PolicyRow::fromValues(expectedNames());
        QVERIFY(row.has_value());
        QCOMPARE(row->value(u"VIN"), QStringLiteral("VIN"));
        QCOMPARE(row->code(), QStringLiteral("Мантисса_кода"));
    }

    void sqlNamesEveryColumnOnce()
    {
        const QString list = sqlNames::columnList();
        for (const QString& name : expectedNames())
            QCOMPARE(list.count(sqlNames::quoted(name)), 1);
        QCOMPARE(sqliteSql::insert().count(u'?'), 123);
        QCOMPARE(sqliteSql::updateById().count(u'?'), 123);
        QVERIFY(!sqliteSql::updateById().contains(u"\"Мантисса_кода\" ="));
    }
};

QTEST_GUILESS_MAIN(PolicyColumnsTest)
#include "PolicyColumnsTest.moc"
