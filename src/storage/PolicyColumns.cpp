#include "storage/PolicyColumns.h"

#include <QHash>

#include <iterator>

namespace osago {

namespace {

// Columns 1-66: the policy, the two persons, the vehicle, the terms and the purposes of use.
constexpr QStringView kLeadingColumns[] = {
    u"Страхователь_фамилия_фирма",
    u"Страхователь_имя",
    u"Страхователь_отчество",
    u"Владелец_фамилия_фирма",
    u"Владелец_имя",
    u"Владелец_отчество",
    u"Марка_модель",
    u"Регистрационный_знак",
    u"Номер_серия_полиса",
    u"Квитанция",
    u"Номер_серия_спец_знака",
    u"РегРФ",

    u"Тип_страхователя",
    u"Страхователь_др_ИНН",
    u"Страхователь_страна",
    u"Страхователь_регион",
    u"Страхователь_район",
    u"Страхователь_насел_пункт",
    u"Страхователь_адрес",
    u"Страхователь_индекс",
    u"Страхователь_телефон",
    u"Страхователь_документ",
    u"Страхователь_серия_номер",

    u"Тип_владельца",
    u"Владелец_др_ИНН",
    u"Владелец_телефон",
    u"Владелец_страна",
    u"Владелец_регион",
    u"Владелец_район",
    u"Владелец_насел_пункт",
    u"Владелец_адрес",
    u"Владелец_индекс",
    u"Владелец_документ",
    u"Владелец_серия_номер",

    u"Тип_ТС",
    u"Год_выпуска",
    u"Номер_шасси",
    u"Кузов",
    u"VIN",
    u"Мощность_л_с",
    u"Мощность_кВт",
    u"Серия_номер_ПТС",
    u"Дата_выдачи_ПТС",
    u"Масса_без_нагрузки_кг",
    u"Количество_мест_сидения",
    u"Разрешенная_макс_масса_кг",

    u"Время_начала_срока_страхования",
    u"Дата_начала_срока_страхования",
    u"Дата_выдачи",
    u"Особые_отметки",
    u"Срок_использ_месяцы",
    u"Страх_с",
    u"Страх_по",
    u"Использ_с",
    u"Использ_по",
    u"Класс_ТС",
    u"Допущены_без_ограничений",
    u"Грубые_наруш",

    u"Цель_исп_личная",
    u"Цель_исп_такси",
    u"Цель_исп_прокат_аренда",
    u"Цель_исп_скорая_помощь",
    u"Цель_исп_инкассация",
    u"Цель_исп_прочие",
    u"Цель_исп_дор_или_спец_ТС",
    u"Цель_исп_учеб_езда",
};

// The nine columns of one driver, in block order; the driver's position is appended as "_n". The letter after
// "Доп_" in the experience flag is the Latin c.
constexpr QStringView kDriverColumnStems[] = {
    u"Допущен_ФИО",
    u"Допущен_дата_рождения",
    u"Допущен_пол",
    u"Допущен_адрес",
    u"Допущен_ВУ",
    u"Допущен_стаж",
    u"Доп_cтаж_более_2",
    u"Допущен_класс",
    u"Доп_груб",
};

constexpr QStringView kRowCodeColumn = u"Мантисса_кода";

// Columns 121-123: the premium, the agent and the row's code.
constexpr QStringView kTrailingColumns[] = {
    u"Сумма_страхования",
    u"ФИО_агента",
    kRowCodeColumn,
};

static_assert(std::size(kDriverColumnStems) == kDriverAttributeCount);
static_assert(std::size(kLeadingColumns) + kDriverCount * kDriverAttributeCount + std::size(kTrailingColumns)
              == kPolicyColumnCount);

constexpr int kFirstDriverColumn = int(std::size(kLeadingColumns));

QStringList buildNames()
{
    QStringList names;
    names.reserve(kPolicyColumnCount);
    for (QStringView name : kLeadingColumns)
        names << name.toString();
    for (int driver = 1; driver <= kDriverCount; ++driver) {
        for (QStringView stem : kDriverColumnStems)
            names << stem.toString() + u'_' + QString::number(driver);
    }
    for (QStringView name : kTrailingColumns)
        names << name.toString();
    return names;
}

} // namespace

const QStringList& policyColumnNames()
{
    static const QStringList names = buildNames();
    return names;
}

int policyColumnIndex(QStringView name)
{
    static const QHash<QString, int> byName = [] {
        QHash<QString, int> index;
        for (int i = 0; i < kPolicyColumnCount; ++i)
            index.insert(policyColumnNames().at(i), i);
        return index;
    }();
    return byName.value(name.toString(), -1);
}

int driverColumnIndex(int driver, int attribute)
{
    Q_ASSERT(driver >= 1 && driver <= kDriverCount);
    Q_ASSERT(attribute >= 1 && attribute <= kDriverAttributeCount);
    return kFirstDriverColumn + (driver - 1) * kDriverAttributeCount + (attribute - 1);
}

int rowCodeColumnIndex()
{
    static const int index = policyColumnIndex(kRowCodeColumn);
    return index;
}

} // namespace osago
