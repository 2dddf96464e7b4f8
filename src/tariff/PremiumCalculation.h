#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace osago {

// Everything the premium calculation reads from the editor, as the controls hold it. Texts are
// UTF-8 and are compared exactly; numbers in them are converted where a rule needs them.
struct CalcInput {
    std::string vehicleType;          // ComboBoxTipTS
    bool ownerIsPerson = true;        // RadioButtonF ("Физ. лицо"); false means RadioButtonU
    std::string maxMass;              // LabeledEditMassa, kilograms
    std::string seats;                // LabeledEditMesta
    bool taxi = false;                // CheckBoxTaxi
    std::string ownerRegion;          // ComboBoxReg
    std::string ownerLocality;        // ComboBoxPunkt
    std::string ownerCountry;         // ComboBoxStran
    bool registeredInCountry = true;  // CheckBoxReg
    bool periodSelectorShown = true;  // ComboBoxSrok visible (the term selector shows otherwise)
    bool unlimitedDrivers = false;    // CheckBoxDopusk
    std::string unlimitedClass;       // the editor's ComboBoxKlass
    bool unlimitedGross = false;      // the editor's CheckBoxGrub
    // The stored drivers, one item per driver in list order.
    std::vector<std::string> classes;          // ComboBox7
    std::vector<std::string> experienceFlags;  // ComboBox8, "Да": more than two years
    std::vector<std::string> grossFlags;       // ComboBox9, "Да": gross violations
    std::vector<std::string> ageFlags;         // ComboBox10, "Да": aged 22 or more
    std::string powerHp;              // LabeledEditMoshn
    std::string period;               // ComboBoxSrok, months of use
    std::string term;                 // ComboBoxTranzit, insurance term
    std::string currentKT;            // LabeledEditKT before the calculation (kept outside the home region)
};

// The controls the calculation writes.
enum class Field {
    TB,
    KT,
    KBM,
    KVS,
    KO,
    KM,
    KS,
    KP,
    KN,
    Suma,
    Moshn,
    RaschetGruz,
    Edit1,
    CheckBox2,
    CheckBox22,
    CheckBoxGrubOK,
};

inline constexpr int fieldCount = 16;

// The objectName of the control that holds the field ("LabeledEditTB", "EditRaschetGruz", ...).
std::string_view fieldObjectName(Field field);

bool isCheckBoxField(Field field);

// One write into a control. A check box field carries checkedText or uncheckedText.
struct FieldWrite {
    Field field;
    std::string text;

    bool checked() const { return text == "1"; }
};

inline constexpr std::string_view checkedText = "1";
inline constexpr std::string_view uncheckedText = "0";

// The writes a window applies to its controls in order. Each section contributes the final text
// of every field it wrote; the "0" written into an empty power field comes before the power
// coefficient, so the power field's change handler sees it. When a conversion stops the
// calculation, `error` holds the message to show, the failing section contributes what it wrote
// before the stop, and later sections and the premium are absent: their fields keep their texts.
struct CalcResult {
    std::vector<FieldWrite> writes;
    std::optional<std::string> error;
};

// The premium calculation: ТБ, КТ, КБМ, КВС, КО, КМ, КС, КП, КН, then the premium, the product of
// the nine factors in four-decimal fixed point, rounded half to even after every factor.
CalcResult calculate(const CalcInput& input);

} // namespace osago
