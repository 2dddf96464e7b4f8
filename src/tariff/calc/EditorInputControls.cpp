#include "tariff/calc/EditorInputControls.h"

#include "tariff/TariffTables.h"

#include <array>
#include <utility>

namespace osago {

namespace {

constexpr std::string_view emptyPolicyNumberText = "   №          ";
constexpr std::string_view emptyReceiptText = "      ";
constexpr std::string_view homeCapital = "Тальград";
constexpr std::string_view defaultDocument = "Паспорт РФ";
constexpr std::string_view defaultPostcode = "394000";

constexpr std::array<std::pair<std::string_view, std::string_view>, 2> radioPairs = {{
    {"RadioButtonFiz", "RadioButtonUr"},
    {"RadioButtonF", "RadioButtonU"},
}};

class TableBuilder {
public:
    void edit(std::string_view name, std::string_view text = {}) { add(name, ControlKind::Edit, text, {}); }
    void dateEdit(std::string_view name, std::string_view text = emptyDateText)
    {
        add(name, ControlKind::MaskedEdit, text, emptyDateText);
    }
    void maskedEdit(std::string_view name, std::string_view emptyText)
    {
        add(name, ControlKind::MaskedEdit, emptyText, emptyText);
    }
    void dropDown(std::string_view name, std::string_view text = {}) { add(name, ControlKind::DropDown, text, {}); }
    void checkBox(std::string_view name, bool checked = false) { addState(name, ControlKind::CheckBox, checked); }
    void radioButton(std::string_view name, bool checked) { addState(name, ControlKind::RadioButton, checked); }

    std::vector<InputControl> take() { return std::move(m_controls); }

private:
    void add(std::string_view name, ControlKind kind, std::string_view text, std::string_view emptyText)
    {
        m_controls.push_back({name, kind, std::string(text), false, emptyText});
    }
    void addState(std::string_view name, ControlKind kind, bool checked)
    {
        m_controls.push_back({name, kind, {}, checked, {}});
    }

    std::vector<InputControl> m_controls;
};

// The policyholder's and the owner's pages share one layout under different names.
struct PersonPageNames {
    std::string_view surname, firstName, patronymic, birthDate, telephone, document, documentNumber, postcode,
        country, region, district, locality, street;
};

constexpr PersonPageNames policyholderPage = {
    "LabeledEditFamil", "LabeledEditImia", "LabeledEditOtch", "LabeledEditDR",  "LabeledEditTel",
    "ComboBoxDoc",      "LabeledEditSerNo", "LabeledEditIndex", "ComboBoxStrana", "ComboBoxRegion",
    "EditRayon",        "ComboBoxNasel",   "EditUlitsa",
};

constexpr PersonPageNames ownerPage = {
    "LabeledEditF", "LabeledEditI",      "LabeledEditO",      "LabeledEditDeR", "LabeledEditTelV",
    "ComboBoxPas",  "LabeledEditSeriya", "LabeledEditIndeks", "ComboBoxStran",  "ComboBoxReg",
    "EditRay",      "ComboBoxPunkt",     "EditUlica",
};

void addPersonPage(TableBuilder& table, const PersonPageNames& page)
{
    table.edit(page.surname);
    table.edit(page.firstName);
    table.edit(page.patronymic);
    table.dateEdit(page.birthDate);
    table.edit(page.telephone);
    table.dropDown(page.document, defaultDocument);
    table.edit(page.documentNumber);
    table.edit(page.postcode, defaultPostcode);
    table.dropDown(page.country, homeCountry);
    table.dropDown(page.region, homeRegion);
    table.edit(page.district);
    table.dropDown(page.locality, homeCapital);
    table.edit(page.street);
}

void addGeneralPage(TableBuilder& table, std::string_view today, std::string_view timeOfDay)
{
    table.radioButton("RadioButtonFiz", true);
    table.radioButton("RadioButtonUr", false);
    table.radioButton("RadioButtonF", true);
    table.radioButton("RadioButtonU", false);
    table.checkBox("CheckBoxReg", true);
    table.edit("LabeledEditVrem", timeOfDay);
    table.edit("LabeledEditData", today);
    table.dropDown("ComboBoxSrok", "12");
    table.dropDown("ComboBoxTranzit", "15 дней");
    table.edit("LabeledEditVydan", today);
    table.dateEdit("EditS", today);
    table.dateEdit("EditPo");
    table.dateEdit("EditIS", today); // follows EditS while the period of use is twelve months
    table.dateEdit("EditIPo");
    table.maskedEdit("LabeledEditPolis", emptyPolicyNumberText);
    table.maskedEdit("LabeledEditZnak", emptyPolicyNumberText);
    table.maskedEdit("LabeledEditKvit", emptyReceiptText);
    table.edit("LabeledEditOtmet");
}

void addVehiclePage(TableBuilder& table)
{
    table.dropDown("ComboBoxTipTS", vehicle_type::passengerCar);
    for (const std::string_view name : {"EditMarka", "LabeledEditVin", "LabeledEditMoshn", "LabeledEditKVt",
                                        "LabeledEditNomShassi", "LabeledEditKuzov", "LabeledEditGod",
                                        "LabeledEditReg", "LabeledEditPTS"})
        table.edit(name);
    table.dateEdit("LabeledEditVidacha");
    table.checkBox("CheckBoxLich", true);
    for (const std::string_view name : {"CheckBoxUcheb", "CheckBoxInkas", "CheckBoxSkora", "CheckBoxTaxi",
                                        "CheckBoxSpec", "CheckBoxProk", "CheckBoxProch"})
        table.checkBox(name);
    table.edit("LabeledEditMassa", "0");
    table.edit("LabeledEditNagruz", "0");
    table.edit("LabeledEditMesta", "0");
    table.edit("EditRaschetGruz");
}

void addDriversPage(TableBuilder& table)
{
    table.checkBox("CheckBoxDopusk");
    table.dropDown("ComboBoxKlass", "3");
    table.checkBox("CheckBoxGrub");
    for (const std::string_view name : {"ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4", "ComboBox5", "ComboBox6",
                                        "ComboBox7", "ComboBox8", "ComboBox9", "ComboBox10"})
        table.dropDown(name);
}

void addResultsPage(TableBuilder& table)
{
    table.edit("LabeledEditFormul", "Тб * Кт * Квс * Ко * Км * Кс * Кбм * Кн");
    for (const std::string_view name : {"LabeledEditTB", "LabeledEditKT", "LabeledEditKBM", "LabeledEditKVS",
                                        "LabeledEditKO", "LabeledEditKM", "LabeledEditKS", "LabeledEditKP",
                                        "LabeledEditKN"})
        table.edit(name, unknownFactor);
    table.edit("LabeledEditSuma");
    table.edit("Edit1");
    table.checkBox("CheckBox2");
    table.checkBox("CheckBox22");
    table.checkBox("CheckBoxGrubOK");
}

} // namespace

bool holdsText(ControlKind kind)
{
    return kind == ControlKind::Edit || kind == ControlKind::MaskedEdit || kind == ControlKind::DropDown;
}

std::vector<InputControl> editorInputControls(std::string_view today, std::string_view timeOfDay)
{
    TableBuilder table;
    addGeneralPage(table, today, timeOfDay);
    addPersonPage(table, policyholderPage);
    addPersonPage(table, ownerPage);
    addVehiclePage(table);
    addDriversPage(table);
    addResultsPage(table);
    return table.take();
}

std::string_view radioPartner(std::string_view radioButton)
{
    for (const auto& [first, second] : radioPairs) {
        if (radioButton == first)
            return second;
        if (radioButton == second)
            return first;
    }
    return {};
}

} // namespace osago
