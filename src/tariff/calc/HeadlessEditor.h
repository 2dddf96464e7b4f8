#pragma once

#include "tariff/calc/EditorInputControls.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace osago {

inline constexpr std::size_t driverAttributeCount = 10; // ComboBox1 ... ComboBox10
inline constexpr std::size_t maxDrivers = 6;

// One driver as given to the store operation: attribute i goes into column ComboBox(i+1);
// an absent age flag (attribute 10) is derived from the birth date (attribute 2).
using DriverAttributes = std::array<std::optional<std::string>, driverAttributeCount>;

// The policy editor's input controls without a window, for the command line: texts and checked
// states of a freshly prepared record, the driver columns, and the rules that run when the
// program writes a control, as in the editor (an edit's change rule runs, a drop-down's does
// not, a check box's click rule runs on every change of state).
class HeadlessEditor {
public:
    HeadlessEditor(std::string_view today, std::string_view timeOfDay);

    bool hasControl(std::string_view name) const;
    // Only for names hasControl() accepts.
    ControlKind kind(std::string_view name) const;
    const std::string& text(std::string_view name) const;
    bool checked(std::string_view name) const;

    // A check box or radio button; a radio button set selects it within its pair, cleared
    // selects its partner.
    void setChecked(std::string_view name, bool state);
    // Writing "" into a masked edit leaves its blank form.
    void setText(std::string_view name, std::string_view newText);

    bool periodSelectorShown() const { return m_periodSelectorShown; }

    // Stores one driver as the driver dialog's "Добавить" does; the whole-number message when
    // the age flag cannot be derived, and nothing is stored then.
    std::optional<std::string> addDriver(const DriverAttributes& attributes);
    const std::vector<std::string>& driverColumn(std::size_t attribute) const { return m_driverColumns[attribute]; }

    // "Расчитать": runs the premium calculation and applies its writes; the message of a stop.
    std::optional<std::string> calculate();

private:
    InputControl& control(std::string_view name);
    const InputControl& control(std::string_view name) const;
    void setState(std::string_view name, bool state);

    void registrationClicked();
    void unlimitedDriversClicked();
    void textChanged(std::string_view name);

    std::vector<InputControl> m_controls;
    std::unordered_map<std::string_view, std::size_t> m_indexByName;
    std::array<std::vector<std::string>, driverAttributeCount> m_driverColumns;
    bool m_periodSelectorShown = true;
};

} // namespace osago
