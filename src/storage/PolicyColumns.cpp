#include "storage/PolicyColumns.h"

#include <QHash>

#include <algorithm>
#include <iterator>

namespace osago {

namespace {

struct ColumnEntry
{
    QStringView name;
    ColumnCoding coding;
    QStringView control;
    QStringView secondControl = {};
};

using enum ColumnCoding;

// Columns 1-66: the policy, the two persons, the vehicle, the terms and the purposes of use.
constexpr ColumnEntry kLeadingColumns[] = {
    {u"Страхователь_фамилия_фирма", Text, u"LabeledEditFamil"},
    {u"Страхователь_имя", Text, u"LabeledEditImia"},
    {u"Страхователь_отчество", Text, u"LabeledEditOtch"},
    {u"Владелец_фамилия_фирма", Text, u"LabeledEditF"},
    {u"Владелец_имя", Text, u"LabeledEditI"},
    {u"Владелец_отчество", Text, u"LabeledEditO"},
    {u"Марка_модель", Text, u"EditMarka"},
    {u"Регистрационный_знак", Text, u"LabeledEditReg"},
    {u"Номер_серия_полиса", Text, u"LabeledEditPolis"},
    {u"Квитанция", Text, u"LabeledEditKvit"},
    {u"Номер_серия_спец_знака", Text, u"LabeledEditZnak"},
    {u"РегРФ", YesNo, u"CheckBoxReg"},

    {u"Тип_страхователя", PersonType, u"RadioButtonFiz", u"RadioButtonUr"},
    {u"Страхователь_др_ИНН", Text, u"LabeledEditDR"},
    {u"Страхователь_страна", Text, u"ComboBoxStrana"},
    {u"Страхователь_регион", Text, u"ComboBoxRegion"},
    {u"Страхователь_район", Text, u"EditRayon"},
    {u"Страхователь_насел_пункт", Text, u"ComboBoxNasel"},
    {u"Страхователь_адрес", Text, u"EditUlitsa"},
    {u"Страхователь_индекс", Text, u"LabeledEditIndex"},
    {u"Страхователь_телефон", Text, u"LabeledEditTel"},
    {u"Страхователь_документ", Text, u"ComboBoxDoc"},
    {u"Страхователь_серия_номер", Text, u"LabeledEditSerNo"},

    {u"Тип_владельца", PersonType, u"RadioButtonF", u"RadioButtonU"},
    {u"Владелец_др_ИНН", Text, u"LabeledEditDeR"},
    {u"Владелец_телефон", Text, u"LabeledEditTelV"},
    {u"Владелец_страна", Text, u"ComboBoxStran"},
    {u"Владелец_регион", Text, u"ComboBoxReg"},
    {u"Владелец_район", Text, u"EditRay"},
    {u"Владелец_насел_пункт", Text, u"ComboBoxPunkt"},
    {u"Владелец_адрес", Text, u"EditUlica"},
    {u"Владелец_индекс", Text, u"LabeledEditIndeks"},
    {u"Владелец_документ", Text, u"ComboBoxPas"},
    {u"Владелец_серия_номер", Text, u"LabeledEditSeriya"},

    {u"Тип_ТС", Text, u"ComboBoxTipTS"},
    {u"Год_выпуска", Text, u"LabeledEditGod"},
    {u"Номер_шасси", Text, u"LabeledEditNomShassi"},
    {u"Кузов", Text, u"LabeledEditKuzov"},
    {u"VIN", Text, u"LabeledEditVin"},
    {u"Мощность_л_с", Text, u"LabeledEditMoshn"},
    {u"Мощность_кВт", Text, u"LabeledEditKVt"},
    {u"Серия_номер_ПТС", Text, u"LabeledEditPTS"},
    {u"Дата_выдачи_ПТС", Text, u"LabeledEditVidacha"},
    {u"Масса_без_нагрузки_кг", Text, u"LabeledEditNagruz"},
    {u"Количество_мест_сидения", Text, u"LabeledEditMesta"},
    {u"Разрешенная_макс_масса_кг", Text, u"LabeledEditMassa"},

    {u"Время_начала_срока_страхования", Text, u"LabeledEditVrem"},
    {u"Дата_начала_срока_страхования", Text, u"LabeledEditData"},
    {u"Дата_выдачи", Text, u"LabeledEditVydan"},
    {u"Особые_отметки", Text, u"LabeledEditOtmet"},
    {u"Срок_использ_месяцы", PeriodOrTerm, u"ComboBoxSrok", u"ComboBoxTranzit"},
    {u"Страх_с", Text, u"EditS"},
    {u"Страх_по", Text, u"EditPo"},
    {u"Использ_с", Text, u"EditIS"},
    {u"Использ_по", Text, u"EditIPo"},
    {u"Класс_ТС", Text, u"ComboBoxKlass"},
    {u"Допущены_без_ограничений", YesNo, u"CheckBoxDopusk"},
    {u"Грубые_наруш", YesNo, u"CheckBoxGrub"},

    {u"Цель_исп_личная", YesNo, u"CheckBoxLich"},
    {u"Цель_исп_такси", YesNo, u"CheckBoxTaxi"},
    {u"Цель_исп_прокат_аренда", YesNo, u"CheckBoxProk"},
    {u"Цель_исп_скорая_помощь", YesNo, u"CheckBoxSkora"},
    {u"Цель_исп_инкассация", YesNo, u"CheckBoxInkas"},
    {u"Цель_исп_прочие", YesNo, u"CheckBoxProch"},
    {u"Цель_исп_дор_или_спец_ТС", YesNo, u"CheckBoxSpec"},
    {u"Цель_исп_учеб_езда", YesNo, u"CheckBoxUcheb"},
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

// Columns 121-123: the premium, the agent and the row's code.
constexpr ColumnEntry kTrailingColumns[] = {
    {u"Сумма_страхования", Text, u"LabeledEditSuma"},
    {u"ФИО_агента", AgentName, u"EditAg"},
    {u"Мантисса_кода", RowCode, {}},
};

// The drivers page's hidden list behind each column of the block: the block stores the experience flag
// before the class, the page keeps the class (ComboBox7) before the experience flag (ComboBox8).
constexpr int kDriverListOfColumn[] = {1, 2, 3, 4, 5, 6, 8, 7, 9};

static_assert(std::size(kDriverColumnStems) == kDriverAttributeCount);
static_assert(std::size(kDriverListOfColumn) == kDriverAttributeCount);
static_assert(std::size(kLeadingColumns) + kDriverCount * kDriverAttributeCount + std::size(kTrailingColumns)
              == kPolicyColumnCount);

constexpr int kFirstDriverColumn = int(std::size(kLeadingColumns));

PolicyColumn fromEntry(const ColumnEntry& entry)
{
    return {entry.name.toString(), entry.coding, entry.control.toString(), entry.secondControl.toString()};
}

std::vector<PolicyColumn> buildColumns()
{
    std::vector<PolicyColumn> columns;
    columns.reserve(kPolicyColumnCount);
    for (const ColumnEntry& entry : kLeadingColumns)
        columns.push_back(fromEntry(entry));
    for (int driver = 1; driver <= kDriverCount; ++driver) {
        for (int attribute = 1; attribute <= kDriverAttributeCount; ++attribute) {
            columns.push_back({kDriverColumnStems[attribute - 1].toString() + u'_' + QString::number(driver),
                               DriverAttribute, QStringLiteral("ComboBox%1").arg(kDriverListOfColumn[attribute - 1]), {}, driver,
                               attribute});
        }
    }
    for (const ColumnEntry& entry : kTrailingColumns)
        columns.push_back(fromEntry(entry));
    return columns;
}

} // namespace

const std::vector<PolicyColumn>& policyColumns()
{
    static const std::vector<PolicyColumn> columns = buildColumns();
    return columns;
}

QStringList policyColumnNames()
{
    QStringList names;
    for (const PolicyColumn& column : policyColumns())
        names << column.name;
    return names;
}

int policyColumnIndex(QStringView name)
{
    static const QHash<QString, int> byName = [] {
        QHash<QString, int> index;
        for (int i = 0; i < kPolicyColumnCount; ++i)
            index.insert(policyColumns()[std::size_t(i)].name, i);
        return index;
    }();
    return byName.value(name.toString(), -1);
}

int policyColumnOfControl(QStringView control)
{
    static const QHash<QString, int> byControl = [] {
        QHash<QString, int> index;
        for (int i = 0; i < kPolicyColumnCount; ++i) {
            const PolicyColumn& column = policyColumns()[std::size_t(i)];
            if (column.coding != DriverAttribute && !column.control.isEmpty())
                index.insert(column.control, i);
        }
        return index;
    }();
    return byControl.value(control.toString(), -1);
}

int driverColumnIndex(int driver, int attribute)
{
    Q_ASSERT(driver >= 1 && driver <= kDriverCount);
    Q_ASSERT(attribute >= 1 && attribute <= kDriverAttributeCount);
    return kFirstDriverColumn + (driver - 1) * kDriverAttributeCount + (attribute - 1);
}

int rowCodeColumnIndex()
{
    static const int index = int(std::find_if(policyColumns().begin(), policyColumns().end(),
                                              [](const PolicyColumn& c) { return c.coding == RowCode; })
                                 - policyColumns().begin());
    return index;
}

} // namespace osago
