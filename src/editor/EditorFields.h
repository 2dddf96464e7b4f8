#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QObject>
#include <QString>
#include <QStringList>

class QGridLayout;
class QGroupBox;
class QLabel;

namespace osago {

class MaskedEdit;
class Messages;

// Edit masks of the editor's masked fields.
inline const QString kPolicyNumberMask = QStringLiteral("!>LLL№9999999999;1;?");
inline const QString kReceiptMask = QStringLiteral("!999999;1;?");

// Builders for the editor's input controls, each named as the rest of the program finds it.
// A typing limit of 0 leaves typing unlimited.
QLineEdit* newEdit(const QString& name, int typingLimit, const QString& text = {});
MaskedEdit* newMaskedEdit(const QString& name, const QString& mask, Messages& messages);

// An editable drop-down that never adds what the agent types to its items, and completes nothing
// on its own, so that its change rule sees exactly the text the agent typed.
QComboBox* newDropDown(const QString& name, const QStringList& items, const QString& text, int typingLimit = 0);

// A label for `field` (its buddy); `name` only where the label itself is looked up by name.
QLabel* newLabel(const QString& text, QWidget* field, const QString& name = {});

// A titled group with a grid layout, reached through gridOf().
QGroupBox* newGroup(const QString& title);
QGridLayout* gridOf(QGroupBox* group);

// Puts `field` into `row` of a two-column grid with its label on the left.
QLabel* addLabeledRow(QGridLayout* grid, int row, const QString& labelText, QWidget* field,
                      const QString& labelName = {});

// Runs `handler` when the agent changes the drop-down's text: picking an item or typing into it.
// The program writing its text runs nothing.
template <typename Receiver>
void connectAgentChange(QComboBox* dropDown, Receiver* receiver, void (Receiver::*handler)())
{
    QObject::connect(dropDown, &QComboBox::textActivated, receiver, handler);
    QObject::connect(dropDown->lineEdit(), &QLineEdit::textEdited, receiver, handler);
}

} // namespace osago
