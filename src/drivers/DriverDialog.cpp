#include "drivers/DriverDialog.h"

#include "widgets/Controls.h"
#include "drivers/DriversPage.h"
#include "widgets/MaskedEdit.h"
#include "widgets/TypingLimit.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <iterator>

namespace osago {

namespace {

const QString kDefaultSex = QStringLiteral("М");

// Series and number, then the issue date, whose day and month keep their blanks in front like every date's.
const QString kPermitMask = QStringLiteral("!>AAAAAAAAAA  99.99.9999;1;?");

constexpr int kNameTypingLimit = 45;
constexpr int kAddressTypingLimit = 25;

template <typename T>
T* named(T* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

QLabel* labelFor(QWidget* field, const QString& text)
{
    auto* label = new QLabel(text, field->parentWidget());
    label->setBuddy(field);
    return label;
}

QComboBox* editableDropDown(const QString& name, const QStringList& items, const QString& text, QWidget* parent)
{
    auto* box = named(new QComboBox(parent), name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    // Stored as typed: no completion to an item ("ж" stays "ж").
    box->setCompleter(nullptr);
    box->addItems(items);
    box->setCurrentIndex(box->findText(text));
    return box;
}

} // namespace

DriverDialog::DriverDialog(QWidget& editor, DriversPage& page, Messages& messages)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_editor(editor)
    , m_page(page)
{
    setObjectName(QStringLiteral("FormPlus"));
    setWindowTitle(QStringLiteral("Сведения о водителе"));

    m_name = named(new QLineEdit(this), QStringLiteral("LabeledEditFIO"));
    setTypingLimit(m_name, kNameTypingLimit);
    m_birthDate = named(new MaskedEdit(kDateMask, messages, this), QStringLiteral("LabeledEditDR"));
    m_sex = editableDropDown(QStringLiteral("ComboBoxPol"), {kDefaultSex, QStringLiteral("Ж")}, kDefaultSex, this);
    setTypingLimit(m_sex, 1);
    m_address = named(new QLineEdit(this), QStringLiteral("LabeledEditAdres"));
    setTypingLimit(m_address, kAddressTypingLimit);
    m_permit = named(new MaskedEdit(kPermitMask, messages, this), QStringLiteral("LabeledEditVU"));
    m_experience = named(new QLineEdit(this), QStringLiteral("LabeledEditStazh"));
    m_longExperience = named(new QCheckBox(QStringLiteral("Более 2-х лет"), this), QStringLiteral("CheckBox2g"));
    m_class = editableDropDown(QStringLiteral("ComboBoxKlass"), driverClassItems(), kDefaultDriverClass, this);
    m_gross = named(new QCheckBox(QStringLiteral("Грубые нарушения"), this), QStringLiteral("CheckBoxGrub"));
    m_add = named(new QPushButton(QStringLiteral("Добавить"), this), QStringLiteral("ButtonOk"));
    m_save = named(new QPushButton(QStringLiteral("Сохранить"), this), QStringLiteral("ButtonSoxran"));
    m_save->hide();
    m_cancel = named(new QPushButton(QStringLiteral("Отмена"), this), QStringLiteral("ButtonCancel"));
    buildLayout();

    connect(m_add, &QPushButton::clicked, this, &DriverDialog::ButtonOkClick);
    connect(m_save, &QPushButton::clicked, this, &DriverDialog::ButtonSoxranClick);
    connect(m_cancel, &QPushButton::clicked, this, &DriverDialog::ButtonCancelClick);

    setFixedSize(387, 296);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void DriverDialog::buildLayout()
{
    auto* grid = new QGridLayout(this);
    grid->addWidget(labelFor(m_name, QStringLiteral("ФИО")), 0, 0, 1, 2);
    grid->addWidget(m_name, 1, 0, 1, 2);
    grid->addWidget(labelFor(m_birthDate, QStringLiteral("Дата рождения:")), 2, 0);
    grid->addWidget(labelFor(m_sex, QStringLiteral("Пол")), 2, 1);
    grid->addWidget(m_birthDate, 3, 0);
    grid->addWidget(m_sex, 3, 1);
    grid->addWidget(labelFor(m_address, QStringLiteral("Адрес")), 4, 0, 1, 2);
    grid->addWidget(m_address, 5, 0, 1, 2);
    grid->addWidget(labelFor(m_permit, QStringLiteral("Серия, номер В/У, дата выдачи")), 6, 0, 1, 2);
    grid->addWidget(m_permit, 7, 0, 1, 2);
    grid->addWidget(labelFor(m_experience, QStringLiteral("Стаж с:")), 8, 0);
    grid->addWidget(m_experience, 9, 0);
    grid->addWidget(m_longExperience, 9, 1);
    grid->addWidget(labelFor(m_class, QStringLiteral("Класс")), 10, 0);
    grid->addWidget(m_class, 11, 0);
    grid->addWidget(m_gross, 11, 1);

    // "Добавить" and "Сохранить" share one place: only one of them is ever shown.
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_save);
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, 12, 1);

    QWidget* const tabOrder[] = {m_name, m_birthDate, m_sex, m_address, m_permit, m_experience,
                                 m_longExperience, m_class, m_gross, m_add, m_save, m_cancel};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void DriverDialog::showForAdding()
{
    m_save->hide();
    m_add->show();
    showWindow();
}

void DriverDialog::fillPerson(const QString& fullName, const QString& birthDate, const QString& address)
{
    setControlText(m_name, fullName);
    setControlText(m_birthDate, birthDate);
    setControlText(m_address, address);
    rememberOpeningTexts();
}

void DriverDialog::showForChange(const DriverEntry& entry)
{
    m_add->hide();
    m_save->show();
    showWindow();
    setControlText(m_name, entry.fullName);
    setControlText(m_birthDate, entry.birthDate);
    setControlText(m_sex, entry.sex);
    setControlText(m_address, entry.address);
    setControlText(m_permit, entry.permit);
    setControlText(m_experience, entry.experience);
    setControlText(m_class, entry.driverClass);
    // Any text but "Да" leaves the box as the last clearing left it.
    if (entry.experienceFlag == kYes)
        m_longExperience->setChecked(true);
    if (entry.grossFlag == kYes)
        m_gross->setChecked(true);
    rememberOpeningTexts();
}

void DriverDialog::showWindow()
{
    show();
    activateWindow();
    rememberOpeningTexts();
}

bool DriverDialog::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QWidget::event(event);
}

// Every close, "Отмена" or the window system's (Alt+F4, its window menu), is the same way out.
void DriverDialog::closeEvent(QCloseEvent* event)
{
    clearFields();
    FormClose();
    QWidget::closeEvent(event);
}

void DriverDialog::FormActivate()
{
    m_editor.setEnabled(false);
}

void DriverDialog::FormClose()
{
    m_name->setFocus();
    m_add->show();
    m_save->hide();
    m_editor.setEnabled(true);
}

void DriverDialog::ButtonOkClick()
{
    if (hasIncompleteChange() || !m_page.appendEntry(currentEntry()))
        return;
    ButtonCancelClick();
}

void DriverDialog::ButtonSoxranClick()
{
    if (hasIncompleteChange() || !m_page.replaceEntry(currentEntry()))
        return;
    ButtonCancelClick();
}

// The close clears the fields.
void DriverDialog::ButtonCancelClick()
{
    close();
}

DriverEntry DriverDialog::currentEntry() const
{
    return {controlText(m_name),     controlText(m_birthDate),  controlText(m_sex),
            controlText(m_address),  controlText(m_permit),     controlText(m_experience),
            controlText(m_class),    yesNo(m_longExperience->isChecked()), yesNo(m_gross->isChecked())};
}

void DriverDialog::clearFields()
{
    setControlText(m_name, QString());
    setControlText(m_birthDate, QString());
    setControlText(m_address, QString());
    setControlText(m_permit, QString());
    setControlText(m_experience, QString());
    setControlText(m_sex, kDefaultSex);
    setControlText(m_class, kDefaultDriverClass);
    m_longExperience->setChecked(false);
    m_gross->setChecked(false);
}

bool DriverDialog::hasIncompleteChange() const
{
    const auto incompleteChange = [](const MaskedEdit* field, const QString& onOpening) {
        return field->maskedText() != onOpening && !field->isComplete();
    };
    return incompleteChange(m_birthDate, m_birthDateOnOpening) || incompleteChange(m_permit, m_permitOnOpening);
}

void DriverDialog::rememberOpeningTexts()
{
    m_birthDateOnOpening = m_birthDate->maskedText();
    m_permitOnOpening = m_permit->maskedText();
}

} // namespace osago
