#include "editor/EditorRecord.h"

#include "widgets/Controls.h"
#include "editor/EditorBinding.h"
#include "editor/EditorLists.h"
#include "editor/EditorDrivers.h"
#include "editor/FieldPlacement.h"
#include "editor/PolicyEditor.h"
#include "editor/Localities.h"
#include "editor/PartyPage.h"
#include "editor/TariffText.h"
#include "storage/PersonType.h"
#include "storage/YesNo.h"
#include "tariff/TariffTables.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>


namespace osago {

namespace {

using enum ColumnCoding;

const QString kDriversPage = QStringLiteral("TabSheetVodit");

bool isTicked(const QWidget& editor, const QString& checkBox)
{
    return control<QCheckBox>(editor, checkBox)->isChecked();
}

// The drop-down the period column is read from and written to: the months of use of a vehicle registered in the
// country, else the term abroad.
const QString& periodControl(const ColumnBinding& binding, bool registered)
{
    return registered ? binding.control : binding.secondControl;
}

QComboBox* driverList(const QWidget& editor, const ColumnBinding& binding)
{
    return control<QComboBox>(*control<QWidget>(editor, kDriversPage), binding.control);
}

QString columnText(const PolicyEditor& editor, const ColumnBinding& binding, const QString& agentName)
{
    switch (binding.coding) {
    case Text:
        return controlText(editor, binding.control);
    case YesNo:
        return yesNo(isTicked(editor, binding.control));
    case PersonType:
        return personType(control<QRadioButton>(editor, binding.secondControl)->isChecked());
    case PeriodOrTerm:
        return controlText(editor, periodControl(binding, isTicked(editor, columnBinding(u"РегРФ").control)));
    case DriverAttribute: {
        const QComboBox* list = driverList(editor, binding);
        const int item = binding.driver - 1;
        return item < list->count() ? list->itemText(item) : QString();
    }
    case AgentName:
        return agentName;
    case RowCode:
        return {};
    }
    Q_UNREACHABLE();
}

// Loading writes the columns in their order, but for a few whose writes run rules over other fields: the
// registration first (its rule empties the periods and resets both period drop-downs), the VIN before the chassis
// and body numbers (a full VIN fills them), the drivers after the issue date (their age flags are derived against
// it), and the admission of all drivers with its class and violations mark last (ticking it empties the list).
enum class LoadStep { Registration, Vin, Fields, Drivers, Admission };
constexpr LoadStep kLoadSteps[] = {LoadStep::Registration, LoadStep::Vin, LoadStep::Fields, LoadStep::Drivers,
                                   LoadStep::Admission};

LoadStep loadStep(int column)
{
    if (columnBindings()[std::size_t(column)].coding == DriverAttribute)
        return LoadStep::Drivers;
    const QString& name = policyColumnNames().at(column);
    if (name == u"РегРФ")
        return LoadStep::Registration;
    if (name == u"VIN")
        return LoadStep::Vin;
    if (name == u"Допущены_без_ограничений" || name == u"Класс_ТС" || name == u"Грубые_наруш")
        return LoadStep::Admission;
    return LoadStep::Fields;
}

// A program write of a drop-down runs none of its rules, so what a rule would have shown for the loaded text is
// set here, without the rule's writes to other fields.

// The localities of the region already written: the home region's, or none to choose from.
void offerLocalities(const PolicyEditor& editor, const QString& localityControl)
{
    for (const PartyControlNames* party : {&PartyControlNames::policyholder(), &PartyControlNames::owner()}) {
        if (party->fields[std::size_t(PartyField::Locality)] == localityControl) {
            fillLocalities(control<QComboBox>(editor, localityControl),
                           controlText(editor, party->fields[std::size_t(PartyField::Region)]));
        }
    }
}

// A truck shows its two masses, a bus its seats.
void showLoadFields(const PolicyEditor& editor, const QString& vehicleType)
{
    const bool truck = vehicleType == toQString(vehicle_type::truck);
    const bool bus = vehicleType == toQString(vehicle_type::bus);
    setFieldShown(control<QWidget>(editor, columnBinding(u"Разрешенная_макс_масса_кг").control), truck);
    setFieldShown(control<QWidget>(editor, columnBinding(u"Масса_без_нагрузки_кг").control), truck);
    setFieldShown(control<QWidget>(editor, columnBinding(u"Количество_мест_сидения").control), bus);
}

// The period of use is the agent's to enter only for fewer months than a full year of a registered vehicle.
void openPeriodOfUse(const PolicyEditor& editor, bool registered, const QString& months)
{
    const bool entered = registered && months != kFullYearOfUse;
    for (QStringView column : {u"Использ_с", u"Использ_по"})
        control<QWidget>(editor, columnBinding(column).control)->setEnabled(entered);
}

void writeText(const PolicyEditor& editor, int column, const QString& text)
{
    const QString& textControl = columnBindings()[std::size_t(column)].control;
    offerLocalities(editor, textControl);
    setControlText(editor, textControl, text);
    if (policyColumnNames().at(column) == u"Тип_ТС")
        showLoadFields(editor, text);
}

void writeColumn(const PolicyEditor& editor, const PolicyRow& row, int column)
{
    const ColumnBinding& binding = columnBindings()[std::size_t(column)];
    const QString& text = row.value(column);
    switch (binding.coding) {
    case Text:
        writeText(editor, column, text);
        return;
    case YesNo:
        control<QCheckBox>(editor, binding.control)->setChecked(isYes(text));
        return;
    case PersonType:
        control<QRadioButton>(editor, isLegalEntity(text) ? binding.secondControl : binding.control)->setChecked(true);
        return;
    case PeriodOrTerm: {
        const bool registered = isYes(row.value(u"РегРФ"));
        setControlText(editor, periodControl(binding, registered), text);
        openPeriodOfUse(editor, registered, text);
        return;
    }
    case DriverAttribute: // listed together by listStoredDrivers()
    case AgentName:       // the agent saving the record is the one of the settings
    case RowCode:
        return;
    }
}

bool listStoredDrivers(PolicyEditor& editor, const PolicyRow& row)
{
    QList<DriverListTexts> drivers(row.driverCount());
    for (int column = 0; column < kPolicyColumnCount; ++column) {
        const ColumnBinding& binding = columnBindings()[std::size_t(column)];
        if (binding.coding == DriverAttribute && binding.driver <= drivers.size())
            drivers[binding.driver - 1].insert(binding.control, row.value(column));
    }
    return listDrivers(editor, drivers);
}

} // namespace

PolicyRow rowFromEditor(const PolicyEditor& editor, const QString& agentName)
{
    PolicyRow row;
    for (int column = 0; column < kPolicyColumnCount; ++column)
        row.setValue(column, columnText(editor, columnBindings()[std::size_t(column)], agentName));
    return row;
}

bool loadRowIntoEditor(PolicyEditor& editor, const PolicyRow& row)
{
    for (const LoadStep step : kLoadSteps) {
        if (step == LoadStep::Drivers) {
            if (!listStoredDrivers(editor, row))
                return false;
            continue;
        }
        for (int column = 0; column < kPolicyColumnCount; ++column) {
            if (loadStep(column) == step)
                writeColumn(editor, row, column);
        }
    }
    return true;
}

} // namespace osago
