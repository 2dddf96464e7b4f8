#pragma once

#include "drivers/DriverColumns.h"
#include "drivers/DriverEntry.h"

#include <QList>
#include <QWidget>

#include <cstdint>
#include <optional>

class QCheckBox;
class QComboBox;
class QListWidget;
class QPushButton;

namespace osago {

class DriverDialog;
class Messages;

// The editor's page "Водители": up to six permitted drivers, each entered through the dialog
// "Сведения о водителе", or all drivers without restriction with one class and one violations
// mark for the whole policy.
//
// The stored drivers are the list `ListBoxVodit` plus the hidden drop-downs `ComboBox1` ...
// `ComboBox10`, whose item lists are the driver columns (see DriverColumns); the premium
// calculation reads `ComboBox7` ... `ComboBox10`, `CheckBoxDopusk`, `ComboBoxKlass` and
// `CheckBoxGrub` of this page by name.
class DriversPage : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kMaxDrivers = 6;

    // `editor` is the policy editor, whose policyholder, owner and issue-date fields the page reads.
    DriversPage(QWidget& editor, Messages& messages, QWidget* parent = nullptr);

    void attachDialog(DriverDialog& dialog);

    // The two steps of the editor's closing reset that concern this page: clears
    // "Допущены все водители без ограничений" (running its click rule when it was ticked) and
    // returns the page's class to "3" and its violations mark to unticked, both disabled ...
    void resetUnrestricted();
    // ... and empties the list and every column and enables the five list buttons.
    void clearDrivers();

    // The listed drivers in list order (attributes 1-9; the age flag is derived, not stored).
    QList<DriverEntry> entries() const;

    // Replaces the listed drivers by `entries` (at most six), as when a stored policy is loaded,
    // deriving each age flag again against the issue date now in the editor. When a flag cannot
    // be derived the conversion message is shown, nothing changes and the result is false.
    bool loadEntries(const QList<DriverEntry>& entries);

    // The store operations of the dialog's confirming buttons. Each derives the age flag of
    // `entry` first; when it cannot, the conversion message is shown, nothing is stored and the
    // result is false (the dialog then stays open with its input).
    bool appendEntry(const DriverEntry& entry);
    // Writes `entry` over the driver chosen by "Изменить".
    bool replaceEntry(const DriverEntry& entry);

private:
    void buildLayout();
    void connectCommands();

    // Commands of the page.
    void ButtonDobSClick();
    void ButtonDobVClick();
    void ButtonDobDClick();
    void ButtonIzmenClick();
    void ButtonUdalClick();
    void CheckBoxDopuskClick(bool ticked);

    // Opens the dialog in add mode filled with a person from the editor's policyholder or owner page.
    void addPerson(const QString& surname, const QString& firstName, const QString& patronymic,
                   const QString& birthDate, const QString& locality);
    // The row of the selected line, or nothing when no line is selected.
    std::optional<int> selectedPosition() const;
    // "Да"/"Нет" for a driver born on `birthDate`, against the editor's issue date; nothing (after
    // showing the conversion message) when one of the two dates does not convert.
    std::optional<QString> ageFlagFor(const QString& birthDate) const;
    void setAddButtonsEnabled(bool enabled);
    void setListButtonsEnabled(bool enabled);
    // The add buttons follow the number of drivers: disabled while six are listed.
    void updateAddButtons();

    QWidget& m_editor;
    Messages& m_messages;
    DriverDialog* m_dialog = nullptr;

    QCheckBox* m_unrestricted = nullptr;
    QComboBox* m_class = nullptr;
    QListWidget* m_list = nullptr;
    QPushButton* m_addPolicyholder = nullptr;
    QPushButton* m_addOwner = nullptr;
    QPushButton* m_addOther = nullptr;
    QPushButton* m_change = nullptr;
    QPushButton* m_delete = nullptr;
    QCheckBox* m_gross = nullptr;
    std::optional<DriverColumns> m_columns;

    // The driver being changed in the dialog, set by "Изменить", used by "Сохранить".
    std::uint8_t m_changedPosition = 0;
};

} // namespace osago
