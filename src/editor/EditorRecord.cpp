#include "editor/EditorRecord.h"

#include "widgets/Controls.h"
#include "editor/EditorLists.h"
#include "editor/EditorDrivers.h"
#include "editor/FieldPlacement.h"
#include "editor/Form2.h"
#include "editor/Localities.h"
#include "editor/PartyPage.h"
#include "editor/TariffText.h"
#include "tariff/TariffTables.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>


namespace osago {

namespace {

using enum ColumnCoding;

const QString kDriversPage = QStringLiteral("TabSheetVodit");

const PolicyColumn& columnNamed(QStringView name)
{
    const int index = policyColumnIndex(name);
    Q_ASSERT(index >= 0);
    return policyColumns()[std::size_t(index)];
}

bool isTicked(const QWidget& editor, const QString& checkBox)
{
    return control<QCheckBox>(editor, checkBox)->isChecked();
}

// The drop-down the period column is read from and written to: the months of use of a vehicle registered in the
// country, else the term abroad.
const QString& periodControl(const PolicyColumn& column, bool registered)
{
    return registered ? column.control : column.secondControl;
}

QComboBox* driverList(const QWidget& editor, const PolicyColumn& column)
{
    return control<QComboBox>(*control<QWidget>(editor, kDriversPage), column.control);
}

QString columnText(const Form2& editor, const PolicyColumn& column, const QString& agentName)
{
    switch (column.coding) {
    case Text:
        return controlText(editor, column.control);
    case YesNo:
        return yesNo(isTicked(editor, column.control));
    case PersonType:
        return personType(control<QRadioButton>(editor, column.secondControl)->isChecked());
    case PeriodOrTerm:
        return controlText(editor, periodControl(column, isTicked(editor, columnNamed(u"РегРФ").control)));
    case DriverAttribute: {
        const QComboBox* list = driverList(editor, column);
        const int item = column.driver - 1;
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

LoadStep loadStep(const PolicyColumn& column)
{
    if (column.coding == DriverAttribute)
        return LoadStep::Drivers;
    if (column.name == u"РегРФ")
        return LoadStep::Registration;
    if (column.name == u"VIN")
        return LoadStep::Vin;
    if (column.name == u"Допущены_без_ограничений" || column.name == u"Класс_ТС" || column.name == u"Грубые_наруш")
        return LoadStep::Admission;
    return LoadStep::Fields;
}

// A program write of a drop-down runs none of its rules, so what a rule would have shown for the loaded text is
// set here, without the rule's writes to other fields.

// The localities of the region already written: the home region's, or none to choose from.
void offerLocalities(const Form2& editor, const QString& localityControl)
{
    for (const PartyControlNames* party : {&PartyControlNames::policyholder(), &PartyControlNames::owner()}) {
        if (party->fields[std::size_t(PartyField::Locality)] == localityControl) {
            fillLocalities(control<QComboBox>(editor, localityControl),
                           controlText(editor, party->fields[std::size_t(PartyField::Region)]));
        }
    }
}

// A truck shows its two masses, a bus its seats.
void showLoadFields(const Form2& editor, const QString& vehicleType)
{
    const bool truck = vehicleType == toQString(vehicle_type::truck);
    const bool bus = vehicleType == toQString(vehicle_type::bus);
    setFieldShown(control<QWidget>(editor, columnNamed(u"Разрешенная_макс_масса_кг").control), truck);
    setFieldShown(control<QWidget>(editor, columnNamed(u"Масса_без_нагрузки_кг").control), truck);
    setFieldShown(control<QWidget>(editor, columnNamed(u"Количество_мест_сидения").control), bus);
}

// The period of use is the agent's to enter only for fewer months than a full year of a registered vehicle.
void openPeriodOfUse(const Form2& editor, bool registered, const QString& months)
{
    const bool entered = registered && months != kFullYearOfUse;
    for (QStringView column : {u"Использ_с", u"Использ_по"})
        control<QWidget>(editor, columnNamed(column).control)->setEnabled(entered);
}

void writeText(const Form2& editor, const PolicyColumn& column, const QString& text)
{
    offerLocalities(editor, column.control);
    setControlText(editor, column.control, text);
    if (column.name == u"Тип_ТС")
        showLoadFields(editor, text);
}

void writeColumn(const Form2& editor, const PolicyColumn& column, const PolicyRow& row, int index)
{
    const QString& text = row.value(index);
    switch (column.coding) {
    case Text:
        writeText(editor, column, text);
        return;
    case YesNo:
        control<QCheckBox>(editor, column.control)->setChecked(isYes(text));
        return;
    case PersonType:
        control<QRadioButton>(editor, isLegalEntity(text) ? column.secondControl : column.control)->setChecked(true);
        return;
    case PeriodOrTerm: {
        const bool registered = isYes(row.value(u"РегРФ"));
        setControlText(editor, periodControl(column, registered), text);
        openPeriodOfUse(editor, registered, text);
        return;
    }
    case DriverAttribute: // listed together by listStoredDrivers()
    case AgentName:       // the agent saving the record is the one of the settings
    case RowCode:
        return;
    }
}

bool listStoredDrivers(Form2& editor, const PolicyRow& row)
{
    QList<DriverListTexts> drivers(row.driverCount());
    for (int i = 0; i < kPolicyColumnCount; ++i) {
        const PolicyColumn& column = policyColumns()[std::size_t(i)];
        if (column.coding == DriverAttribute && column.driver <= drivers.size())
            drivers[column.driver - 1].insert(column.control, row.value(i));
    }
    return listDrivers(editor, drivers);
}

} // namespace

PolicyRow rowFromEditor(const Form2& editor, const QString& agentName)
{
    PolicyRow row;
    for (int i = 0; i < kPolicyColumnCount; ++i)
        row.setValue(i, columnText(editor, policyColumns()[std::size_t(i)], agentName));
    return row;
}

bool loadRowIntoEditor(Form2& editor, const PolicyRow& row)
{
    for (const LoadStep step : kLoadSteps) {
        if (step == LoadStep::Drivers) {
            if (!listStoredDrivers(editor, row))
                return false;
            continue;
        }
        for (int i = 0; i < kPolicyColumnCount; ++i) {
            const PolicyColumn& column = policyColumns()[std::size_t(i)];
            if (loadStep(column) == step)
                writeColumn(editor, column, row, i);
        }
    }
    return true;
}

} // namespace osago
