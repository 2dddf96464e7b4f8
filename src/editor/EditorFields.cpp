#include "editor/EditorFields.h"

#include "widgets/MaskedEdit.h"
#include "widgets/TypingLimit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

namespace osago {

QLineEdit* newEdit(const QString& name, int typingLimit, const QString& text)
{
    auto* edit = new QLineEdit(text);
    edit->setObjectName(name);
    if (typingLimit > 0)
        setTypingLimit(edit, typingLimit);
    return edit;
}

MaskedEdit* newMaskedEdit(const QString& name, const QString& mask, Messages& messages)
{
    auto* edit = new MaskedEdit(mask, messages);
    edit->setObjectName(name);
    return edit;
}

QComboBox* newDropDown(const QString& name, const QStringList& items, const QString& text, int typingLimit)
{
    auto* dropDown = new QComboBox;
    dropDown->setObjectName(name);
    dropDown->setEditable(true);
    dropDown->setInsertPolicy(QComboBox::NoInsert);
    dropDown->setCompleter(nullptr);
    dropDown->setMaxVisibleItems(16);
    dropDown->addItems(items);
    dropDown->setCurrentIndex(items.indexOf(text));
    dropDown->setEditText(text);
    if (typingLimit > 0)
        setTypingLimit(dropDown, typingLimit);
    return dropDown;
}

QLabel* newLabel(const QString& text, QWidget* field, const QString& name)
{
    auto* label = new QLabel(text);
    label->setBuddy(field);
    if (!name.isEmpty())
        label->setObjectName(name);
    return label;
}

QGroupBox* newGroup(const QString& title)
{
    auto* group = new QGroupBox(title);
    new QGridLayout(group);
    return group;
}

QGridLayout* gridOf(QGroupBox* group)
{
    return static_cast<QGridLayout*>(group->layout());
}

QLabel* addLabeledRow(QGridLayout* grid, int row, const QString& labelText, QWidget* field, const QString& labelName)
{
    QLabel* label = newLabel(labelText, field, labelName);
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
    return label;
}

} // namespace osago
