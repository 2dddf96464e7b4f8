#include "editor/EditorBinding.h"

#include "storage/PolicyColumns.h"

#include <QtGlobal>

#include <iterator>
#include <optional>
#include <utility>

namespace osago {

namespace {

// A binding keyed by the register's name of its column.
struct NamedBinding
{
    QStringView column;
    ColumnCoding coding;
    QStringView control;
    QStringView secondControl = {};
};

using enum ColumnCoding;

// Every column but the drivers' blocks and the row's code, in column order: the policy, the two persons, the
// vehicle, the terms, the purposes of use, the premium and the agent.
constexpr NamedBinding kNamedBindings[] = {
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

    {u"Сумма_страхования", Text, u"LabeledEditSuma"},
    {u"ФИО_агента", AgentName, u"EditAg"},
};

// The drivers page's hidden list behind each column of a driver's block: the block stores the experience flag
// before the class, the page keeps the class (ComboBox7) before the experience flag (ComboBox8).
constexpr int kDriverListOfColumn[] = {1, 2, 3, 4, 5, 6, 8, 7, 9};

static_assert(std::size(kDriverListOfColumn) == kDriverAttributeCount);

void bind(std::vector<std::optional<ColumnBinding>>& bindings, int column, ColumnBinding binding)
{
    if (bindings[std::size_t(column)])
        qFatal("register column %s is bound twice", qPrintable(policyColumnNames().at(column)));
    bindings[std::size_t(column)] = std::move(binding);
}

void bindNamed(std::vector<std::optional<ColumnBinding>>& bindings, const NamedBinding& entry)
{
    const int column = policyColumnIndex(entry.column);
    if (column < 0)
        qFatal("the editor binds %s, which is no register column", qPrintable(entry.column.toString()));
    bind(bindings, column, {entry.coding, entry.control.toString(), entry.secondControl.toString()});
}

std::vector<ColumnBinding> buildBindings()
{
    std::vector<std::optional<ColumnBinding>> bindings(kPolicyColumnCount);
    for (const NamedBinding& entry : kNamedBindings)
        bindNamed(bindings, entry);
    for (int driver = 1; driver <= kDriverCount; ++driver) {
        for (int attribute = 1; attribute <= kDriverAttributeCount; ++attribute) {
            bind(bindings, driverColumnIndex(driver, attribute),
                 {DriverAttribute, QStringLiteral("ComboBox%1").arg(kDriverListOfColumn[attribute - 1]), {}, driver,
                  attribute});
        }
    }
    bind(bindings, rowCodeColumnIndex(), {RowCode, {}, {}});

    std::vector<ColumnBinding> complete;
    complete.reserve(bindings.size());
    for (int column = 0; column < kPolicyColumnCount; ++column) {
        if (!bindings[std::size_t(column)])
            qFatal("register column %s has no binding in the editor", qPrintable(policyColumnNames().at(column)));
        complete.push_back(std::move(*bindings[std::size_t(column)]));
    }
    return complete;
}

} // namespace

const std::vector<ColumnBinding>& columnBindings()
{
    static const std::vector<ColumnBinding> bindings = buildBindings();
    return bindings;
}

const ColumnBinding& columnBinding(QStringView name)
{
    const int column = policyColumnIndex(name);
    Q_ASSERT(column >= 0);
    return columnBindings()[std::size_t(column)];
}

} // namespace osago
