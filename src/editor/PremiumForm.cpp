#include "editor/PremiumForm.h"

#include "widgets/Controls.h"
#include "editor/TariffText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QAbstractButton>

namespace osago {

namespace {

std::string textOf(const QWidget& editor, const char* name)
{
    return toUtf8(controlText(editor, QString::fromUtf8(name)));
}

bool isChecked(const QWidget& editor, const char* name)
{
    return control<QAbstractButton>(editor, QString::fromUtf8(name))->isChecked();
}

// One driver attribute per item, in list order.
std::vector<std::string> driverColumn(const QWidget& editor, const char* name)
{
    const auto* column = control<QComboBox>(editor, QString::fromUtf8(name));
    std::vector<std::string> items;
    items.reserve(static_cast<std::size_t>(column->count()));
    for (int i = 0; i < column->count(); ++i)
        items.push_back(toUtf8(column->itemText(i)));
    return items;
}

void applyWrites(const QWidget& editor, const std::vector<FieldWrite>& writes)
{
    for (const FieldWrite& write : writes) {
        const QString name = toQString(fieldObjectName(write.field));
        if (isCheckBoxField(write.field))
            control<QCheckBox>(editor, name)->setChecked(write.checked());
        else
            setControlText(editor, name, toQString(write.text));
    }
}

} // namespace

CalcInput readCalcInput(const QWidget& editor)
{
    CalcInput input;
    input.vehicleType = textOf(editor, "ComboBoxTipTS");
    input.ownerIsPerson = isChecked(editor, "RadioButtonF");
    input.maxMass = textOf(editor, "LabeledEditMassa");
    input.seats = textOf(editor, "LabeledEditMesta");
    input.taxi = isChecked(editor, "CheckBoxTaxi");
    input.ownerRegion = textOf(editor, "ComboBoxReg");
    input.ownerLocality = textOf(editor, "ComboBoxPunkt");
    input.ownerCountry = textOf(editor, "ComboBoxStran");
    input.registeredInCountry = isChecked(editor, "CheckBoxReg");
    // The selector's own visibility: the general page need not be on screen.
    input.periodSelectorShown = !control<QWidget>(editor, QStringLiteral("ComboBoxSrok"))->isHidden();
    // The drivers page's own class and violations fields; the driver dialog's namesakes are
    // another window and never under the editor.
    input.unlimitedDrivers = isChecked(editor, "CheckBoxDopusk");
    input.unlimitedClass = textOf(editor, "ComboBoxKlass");
    input.unlimitedGross = isChecked(editor, "CheckBoxGrub");
    input.classes = driverColumn(editor, "ComboBox7");
    input.experienceFlags = driverColumn(editor, "ComboBox8");
    input.grossFlags = driverColumn(editor, "ComboBox9");
    input.ageFlags = driverColumn(editor, "ComboBox10");
    input.powerHp = textOf(editor, "LabeledEditMoshn");
    input.period = textOf(editor, "ComboBoxSrok");
    input.term = textOf(editor, "ComboBoxTranzit");
    input.currentKT = textOf(editor, "LabeledEditKT");
    return input;
}

std::optional<QString> calculatePremium(const QWidget& editor)
{
    const CalcResult result = calculate(readCalcInput(editor));
    applyWrites(editor, result.writes);
    if (result.error)
        return toQString(*result.error);
    return std::nullopt;
}

} // namespace osago
