#pragma once

#include "drivers/DriverEntry.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace osago {

class DriversPage;
class MaskedEdit;
class Messages;

// "Сведения о водителе": the particulars of one permitted driver. The drivers page opens it in
// add mode ("Добавить" appends an entry) or change mode ("Сохранить" overwrites the entry chosen
// with "Изменить"). While it is the active window the editor is disabled; every way out clears
// it to its defaults and returns it to add mode.
class DriverDialog : public QWidget
{
    Q_OBJECT

public:
    DriverDialog(QWidget& editor, DriversPage& page, Messages& messages);

    // Shows the dialog in add mode with whatever its fields hold (their defaults, since every
    // way out clears them).
    void showForAdding();
    // Writes a person taken from the editor's policyholder or owner page into the open dialog.
    // The name is kept whole even past the 45 characters the agent can type.
    void fillPerson(const QString& fullName, const QString& birthDate, const QString& address);
    // Shows the dialog in change mode filled from `entry`.
    void showForChange(const DriverEntry& entry);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void showWindow();

    void FormActivate();
    void FormClose();
    void ButtonOkClick();
    void ButtonSoxranClick();
    void ButtonCancelClick();

    // The dialog's texts as they are: no trimming, no check that a name is present.
    DriverEntry currentEntry() const;
    void clearFields();
    // A click reaches the confirming buttons even while a masked field refuses to be left, so
    // they check it too: true when a masked field differs from what the dialog opened with and
    // still has a required position empty (the field itself reports that).
    bool hasIncompleteChange() const;
    void rememberOpeningTexts();

    QWidget& m_editor;
    DriversPage& m_page;

    QLineEdit* m_name = nullptr;
    MaskedEdit* m_birthDate = nullptr;
    QComboBox* m_sex = nullptr;
    QLineEdit* m_address = nullptr;
    MaskedEdit* m_permit = nullptr;
    QLineEdit* m_experience = nullptr;
    QCheckBox* m_longExperience = nullptr;
    QComboBox* m_class = nullptr;
    QCheckBox* m_gross = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_cancel = nullptr;

    QString m_birthDateOnOpening;
    QString m_permitOnOpening;
};

} // namespace osago
