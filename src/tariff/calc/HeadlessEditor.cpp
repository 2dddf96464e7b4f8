#include "tariff/calc/HeadlessEditor.h"

#include "tariff/DriverAge.h"
#include "tariff/PremiumCalculation.h"
#include "tariff/Utf8Text.h"

#include <cassert>

namespace osago {

namespace {

constexpr std::size_t birthDateAttribute = 1;
constexpr std::size_t ageFlagAttribute = 9;
constexpr std::size_t classAttribute = 6;
constexpr std::size_t experienceAttribute = 7;
constexpr std::size_t violationsAttribute = 8;

constexpr std::size_t vinLength = 17;
constexpr std::size_t vinSerialFirst = 11;
constexpr std::size_t vinSerialLength = 7;

} // namespace

HeadlessEditor::HeadlessEditor(std::string_view today, std::string_view timeOfDay)
    : m_controls(editorInputControls(today, timeOfDay))
{
    for (std::size_t i = 0; i < m_controls.size(); ++i)
        m_indexByName.emplace(m_controls[i].name, i);
}

bool HeadlessEditor::hasControl(std::string_view name) const
{
    return m_indexByName.find(name) != m_indexByName.end();
}

InputControl& HeadlessEditor::control(std::string_view name)
{
    return m_controls[m_indexByName.at(name)];
}

const InputControl& HeadlessEditor::control(std::string_view name) const
{
    return m_controls[m_indexByName.at(name)];
}

ControlKind HeadlessEditor::kind(std::string_view name) const
{
    return control(name).kind;
}

const std::string& HeadlessEditor::text(std::string_view name) const
{
    return control(name).text;
}

bool HeadlessEditor::checked(std::string_view name) const
{
    return control(name).checked;
}

void HeadlessEditor::setChecked(std::string_view name, bool state)
{
    setState(name, state);
    const std::string_view partner = radioPartner(name);
    if (!partner.empty())
        setState(partner, !state);
}

void HeadlessEditor::setState(std::string_view name, bool state)
{
    InputControl& box = control(name);
    assert(!holdsText(box.kind));
    if (box.checked == state)
        return;
    box.checked = state;
    if (name == "CheckBoxReg")
        registrationClicked();
    else if (name == "CheckBoxDopusk")
        unlimitedDriversClicked();
}

void HeadlessEditor::setText(std::string_view name, std::string_view newText)
{
    InputControl& field = control(name);
    assert(holdsText(field.kind));
    if (newText.empty())
        newText = field.emptyText;
    if (field.text == newText)
        return;
    field.text = newText;
    if (field.kind != ControlKind::DropDown)
        textChanged(name);
}

// The months-of-use list gives way to the term list for a vehicle registered abroad, and both
// periods start again from the insurance start date.
void HeadlessEditor::registrationClicked()
{
    m_periodSelectorShown = checked("CheckBoxReg");
    setText("EditPo", {});
    setText("EditIS", text("EditS"));
    setText("EditIPo", {});
    setText("ComboBoxTranzit", "15 дней");
    setText("ComboBoxSrok", "12");
}

void HeadlessEditor::unlimitedDriversClicked()
{
    if (checked("CheckBoxDopusk")) {
        for (auto& column : m_driverColumns)
            column.clear();
        return;
    }
    setText("ComboBoxKlass", "3");
    setChecked("CheckBoxGrub", false);
}

// Change rules of edits that touch other fields. The power fields' rule only enables "=",
// which has no counterpart here.
void HeadlessEditor::textChanged(std::string_view name)
{
    const bool periodOfUseFollows = !m_periodSelectorShown || text("ComboBoxSrok") == "12";
    if (name == "EditS" && periodOfUseFollows)
        setText("EditIS", text("EditS"));
    else if (name == "EditPo" && periodOfUseFollows)
        setText("EditIPo", text("EditPo"));
    else if (name == "LabeledEditVin" && characterCount(text(name)) == vinLength) {
        const std::string serial(characterSlice(text(name), vinSerialFirst, vinSerialLength));
        setText("LabeledEditNomShassi", serial);
        setText("LabeledEditKuzov", serial);
    }
}

std::optional<std::string> HeadlessEditor::addDriver(const DriverAttributes& attributes)
{
    std::string ageFlag;
    if (attributes[ageFlagAttribute]) {
        ageFlag = *attributes[ageFlagAttribute];
    } else {
        const auto derived = osago::ageFlag(attributes[birthDateAttribute].value_or(std::string()),
                                            text("LabeledEditVydan"));
        if (!derived)
            return derived.error();
        ageFlag = *derived;
    }
    for (std::size_t i = 0; i < driverAttributeCount; ++i)
        m_driverColumns[i].push_back(i == ageFlagAttribute ? ageFlag : attributes[i].value_or(std::string()));
    return std::nullopt;
}

std::optional<std::string> HeadlessEditor::calculate()
{
    CalcInput input;
    input.vehicleType = text("ComboBoxTipTS");
    input.ownerIsPerson = checked("RadioButtonF");
    input.maxMass = text("LabeledEditMassa");
    input.seats = text("LabeledEditMesta");
    input.taxi = checked("CheckBoxTaxi");
    input.ownerRegion = text("ComboBoxReg");
    input.ownerLocality = text("ComboBoxPunkt");
    input.ownerCountry = text("ComboBoxStran");
    input.registeredInCountry = checked("CheckBoxReg");
    input.periodSelectorShown = m_periodSelectorShown;
    input.unlimitedDrivers = checked("CheckBoxDopusk");
    input.unlimitedClass = text("ComboBoxKlass");
    input.unlimitedGross = checked("CheckBoxGrub");
    input.classes = m_driverColumns[classAttribute];
    input.experienceFlags = m_driverColumns[experienceAttribute];
    input.grossFlags = m_driverColumns[violationsAttribute];
    input.ageFlags = m_driverColumns[ageFlagAttribute];
    input.powerHp = text("LabeledEditMoshn");
    input.period = text("ComboBoxSrok");
    input.term = text("ComboBoxTranzit");
    input.currentKT = text("LabeledEditKT");

    CalcResult result = osago::calculate(input);
    for (const FieldWrite& write : result.writes) {
        if (isCheckBoxField(write.field))
            setChecked(fieldObjectName(write.field), write.checked());
        else
            setText(fieldObjectName(write.field), write.text);
    }
    return std::move(result.error);
}

} // namespace osago
