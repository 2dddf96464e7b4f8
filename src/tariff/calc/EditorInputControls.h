#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace osago {

enum class ControlKind { Edit, MaskedEdit, DropDown, CheckBox, RadioButton };

// One input control of the policy editor: every edit, masked edit, drop-down, check box and
// radio button, hidden ones included.
struct InputControl {
    std::string_view name;   // objectName
    ControlKind kind;
    std::string text;        // text kinds: the text of a freshly prepared new record
    bool checked = false;    // check boxes and radio buttons: the state of a fresh record
    std::string_view emptyText; // what the control reads when emptied: "" or the mask's blank form
};

bool holdsText(ControlKind kind);

inline constexpr std::string_view emptyDateText = "  .  .    ";

// The editor's input controls in page and tab order, with the values "Создать..." leaves in them:
// the layout defaults, then `today` (dd.MM.yyyy) in the start, issue and insurance-from dates and,
// through the period-of-use rule, in the period-of-use start; `timeOfDay` (hh:mm:ss) in the start
// time; the home region and "Тальград" on the policyholder's and the owner's side.
std::vector<InputControl> editorInputControls(std::string_view today, std::string_view timeOfDay);

// The other button of a radio pair ("RadioButtonF" <-> "RadioButtonU"); empty for any other name.
std::string_view radioPartner(std::string_view radioButton);

} // namespace osago
