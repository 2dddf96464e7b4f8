#include "drivers/DriversPage.h"

#include "widgets/Controls.h"
#include "drivers/DriverDialog.h"
#include "widgets/Messages.h"
#include "tariff/DriverAge.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <iterator>

namespace osago {

namespace {

QPushButton* namedButton(const QString& name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

DriversPage::DriversPage(QWidget& editor, Messages& messages, QWidget* parent)
    : QWidget(parent)
    , m_editor(editor)
    , m_messages(messages)
{
    setObjectName(QStringLiteral("TabSheetVodit"));
    buildLayout();
    m_columns.emplace(*m_list, *this);
    connectCommands();
}

void DriversPage::buildLayout()
{
    m_unrestricted = new QCheckBox(QStringLiteral("Допущены все водители без ограничений"), this);
    m_unrestricted->setObjectName(QStringLiteral("CheckBoxDopusk"));

    m_class = new QComboBox(this);
    m_class->setObjectName(QStringLiteral("ComboBoxKlass"));
    m_class->setEditable(true);
    m_class->setInsertPolicy(QComboBox::NoInsert);
    m_class->setCompleter(nullptr);
    m_class->addItems(driverClassItems());
    m_class->setCurrentIndex(m_class->findText(kDefaultDriverClass));
    m_class->setEnabled(false);
    auto* classLabel = new QLabel(QStringLiteral("Класс ТС"), this);
    classLabel->setBuddy(m_class);

    auto* group = new QGroupBox(QStringLiteral("Водители, допущенные к управлению ТС"), this);
    group->setObjectName(QStringLiteral("GroupBoxVodit"));
    m_list = new QListWidget(group);
    m_list->setObjectName(QStringLiteral("ListBoxVodit"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_addPolicyholder = namedButton(QStringLiteral("ButtonDobS"), QStringLiteral("Добавить страховщика"), group);
    m_addOwner = namedButton(QStringLiteral("ButtonDobV"), QStringLiteral("Добавить владельца"), group);
    m_addOther = namedButton(QStringLiteral("ButtonDobD"), QStringLiteral("Добавить других"), group);
    m_change = namedButton(QStringLiteral("ButtonIzmen"), QStringLiteral("Изменить"), group);
    m_delete = namedButton(QStringLiteral("ButtonUdal"), QStringLiteral("Удалить"), group);

    m_gross = new QCheckBox(QStringLiteral("Грубые нарушения"), this);
    m_gross->setObjectName(QStringLiteral("CheckBoxGrub"));
    m_gross->setEnabled(false);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {m_addPolicyholder, m_addOwner, m_addOther, m_change, m_delete})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* groupLayout = new QHBoxLayout(group);
    groupLayout->addWidget(m_list, 1);
    groupLayout->addLayout(buttons);

    auto* top = new QHBoxLayout;
    top->addWidget(m_unrestricted);
    top->addStretch();
    top->addWidget(classLabel);
    top->addWidget(m_class);
    auto* page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addWidget(group, 1);
    page->addWidget(m_gross);

    QWidget* const tabOrder[] = {m_unrestricted, m_class, m_addPolicyholder, m_addOwner, m_addOther,
                                 m_change, m_delete, m_list, m_gross};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void DriversPage::connectCommands()
{
    connect(m_addPolicyholder, &QPushButton::clicked, this, &DriversPage::ButtonDobSClick);
    connect(m_addOwner, &QPushButton::clicked, this, &DriversPage::ButtonDobVClick);
    connect(m_addOther, &QPushButton::clicked, this, &DriversPage::ButtonDobDClick);
    connect(m_change, &QPushButton::clicked, this, &DriversPage::ButtonIzmenClick);
    connect(m_delete, &QPushButton::clicked, this, &DriversPage::ButtonUdalClick);
    connect(m_unrestricted, &QCheckBox::toggled, this, &DriversPage::CheckBoxDopuskClick);
}

void DriversPage::attachDialog(DriverDialog& dialog)
{
    m_dialog = &dialog;
}

void DriversPage::resetUnrestricted()
{
    m_unrestricted->setChecked(false);
    setControlText(m_class, kDefaultDriverClass);
    m_class->setEnabled(false);
    m_gross->setChecked(false);
    m_gross->setEnabled(false);
}

void DriversPage::clearDrivers()
{
    m_columns->clear();
    setListButtonsEnabled(true);
}

QList<DriverEntry> DriversPage::entries() const
{
    QList<DriverEntry> out;
    for (int i = 0; i < m_columns->count(); ++i)
        out << m_columns->entry(i);
    return out;
}

bool DriversPage::loadEntries(const QList<DriverEntry>& entries)
{
    Q_ASSERT(entries.size() <= kMaxDrivers);
    Q_ASSERT(entries.isEmpty() || !m_unrestricted->isChecked());
    QStringList ageFlags;
    for (const DriverEntry& entry : entries) {
        const std::optional<QString> flag = ageFlagFor(entry.birthDate);
        if (!flag)
            return false;
        ageFlags << *flag;
    }
    m_columns->clear();
    for (qsizetype i = 0; i < entries.size(); ++i)
        m_columns->append(entries[i], ageFlags[i]);
    updateAddButtons();
    return true;
}

bool DriversPage::appendEntry(const DriverEntry& entry)
{
    const std::optional<QString> flag = ageFlagFor(entry.birthDate);
    if (!flag)
        return false;
    m_columns->append(entry, *flag);
    updateAddButtons();
    return true;
}

bool DriversPage::replaceEntry(const DriverEntry& entry)
{
    const std::optional<QString> flag = ageFlagFor(entry.birthDate);
    if (!flag)
        return false;
    m_columns->replace(m_changedPosition, entry, *flag);
    return true;
}

void DriversPage::ButtonDobSClick()
{
    addPerson(controlText(m_editor, QStringLiteral("LabeledEditFamil")),
              controlText(m_editor, QStringLiteral("LabeledEditImia")),
              controlText(m_editor, QStringLiteral("LabeledEditOtch")),
              controlText(m_editor, QStringLiteral("LabeledEditDR")),
              controlText(m_editor, QStringLiteral("ComboBoxNasel")));
}

void DriversPage::ButtonDobVClick()
{
    addPerson(controlText(m_editor, QStringLiteral("LabeledEditF")),
              controlText(m_editor, QStringLiteral("LabeledEditI")),
              controlText(m_editor, QStringLiteral("LabeledEditO")),
              controlText(m_editor, QStringLiteral("LabeledEditDeR")),
              controlText(m_editor, QStringLiteral("ComboBoxPunkt")));
}

void DriversPage::ButtonDobDClick()
{
    m_dialog->showForAdding();
}

void DriversPage::addPerson(const QString& surname, const QString& firstName, const QString& patronymic,
                            const QString& birthDate, const QString& locality)
{
    m_dialog->showForAdding();
    // The blanks stay even when a part is empty: a firm's name ends in two blanks.
    m_dialog->fillPerson(surname + QLatin1Char(' ') + firstName + QLatin1Char(' ') + patronymic, birthDate,
                         locality);
}

void DriversPage::ButtonIzmenClick()
{
    const std::optional<int> position = selectedPosition();
    if (!position)
        return;
    m_changedPosition = static_cast<std::uint8_t>(*position);
    m_dialog->showForChange(m_columns->entry(*position));
}

void DriversPage::ButtonUdalClick()
{
    const std::optional<int> position = selectedPosition();
    if (!position)
        return;
    m_columns->remove(*position);
    // The next line moving up is not chosen for another deletion.
    m_list->clearSelection();
    updateAddButtons();
}

void DriversPage::CheckBoxDopuskClick(bool ticked)
{
    setListButtonsEnabled(!ticked);
    m_class->setEnabled(ticked);
    m_gross->setEnabled(ticked);
    if (ticked) {
        m_columns->clear();
        return;
    }
    setControlText(m_class, kDefaultDriverClass);
    m_gross->setChecked(false);
}

std::optional<int> DriversPage::selectedPosition() const
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return m_list->row(selected.first());
}

std::optional<QString> DriversPage::ageFlagFor(const QString& birthDate) const
{
    const QString issueDate = controlText(m_editor, QStringLiteral("LabeledEditVydan"));
    const auto flag = ageFlag(birthDate.toStdString(), issueDate.toStdString());
    if (!flag) {
        QWidget* shownOver = m_dialog && m_dialog->isVisible() ? static_cast<QWidget*>(m_dialog) : window();
        m_messages.show(shownOver, kProgramTitle, QString::fromStdString(flag.error()), Messages::Icon::Critical);
        return std::nullopt;
    }
    return QString::fromUtf8(flag->data(), static_cast<qsizetype>(flag->size()));
}

void DriversPage::setAddButtonsEnabled(bool enabled)
{
    for (QPushButton* button : {m_addPolicyholder, m_addOwner, m_addOther})
        button->setEnabled(enabled);
}

void DriversPage::setListButtonsEnabled(bool enabled)
{
    setAddButtonsEnabled(enabled);
    m_change->setEnabled(enabled);
    m_delete->setEnabled(enabled);
}

void DriversPage::updateAddButtons()
{
    setAddButtonsEnabled(m_columns->count() < kMaxDrivers);
}

} // namespace osago
