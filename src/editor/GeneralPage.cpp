#include "editor/GeneralPage.h"

#include "widgets/Controls.h"
#include "editor/EditorFields.h"
#include "editor/EditorLists.h"
#include "widgets/MaskedEdit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>

namespace osago {

namespace {

QRadioButton* newRadioButton(const QString& name, const QString& text)
{
    auto* button = new QRadioButton(text);
    button->setObjectName(name);
    return button;
}

// A group of the two person types; the first, "Физ. лицо", is checked.
QGroupBox* newTypeGroup(const QString& title, const QString& personName, const QString& companyName,
                        QRadioButton** person)
{
    QGroupBox* group = newGroup(title);
    *person = newRadioButton(personName, QStringLiteral("Физ. лицо"));
    (*person)->setChecked(true);
    gridOf(group)->addWidget(*person, 0, 0);
    gridOf(group)->addWidget(newRadioButton(companyName, QStringLiteral("Юр. лицо")), 1, 0);
    return group;
}

// A group holding a "С" ... "по" pair of dates on one row.
QGroupBox* newPeriodGroup(const QString& title, MaskedEdit* from, MaskedEdit* to)
{
    QGroupBox* group = newGroup(title);
    QGridLayout* grid = gridOf(group);
    grid->addWidget(newLabel(QStringLiteral("С"), from), 0, 0);
    grid->addWidget(from, 0, 1);
    grid->addWidget(newLabel(QStringLiteral("по"), to), 0, 2);
    grid->addWidget(to, 0, 3);
    return group;
}

} // namespace

GeneralPage::GeneralPage(Messages& messages, QWidget* parent)
    : QWidget(parent)
    , m_messages(messages)
{
    setObjectName(QStringLiteral("TabSheetObsch"));
    auto* grid = new QGridLayout(this);
    buildTypes(grid);
    buildTerms(grid);
    buildPeriods(grid);
    buildNumbers(grid);
    grid->setRowStretch(4, 1);

    connect(m_registered, &QCheckBox::toggled, this, &GeneralPage::CheckBoxRegClick);
    connectAgentChange(m_monthsOfUse, this, &GeneralPage::ComboBoxSrokChange);
    connect(m_insuranceFrom, &MaskedEdit::maskedTextChanged, this, &GeneralPage::EditSChange);
    connect(m_insuranceTo, &MaskedEdit::maskedTextChanged, this, &GeneralPage::EditPoChange);
}

void GeneralPage::buildTypes(QGridLayout* grid)
{
    grid->addWidget(newTypeGroup(QStringLiteral("Тип Страхователя"), QStringLiteral("RadioButtonFiz"),
                                 QStringLiteral("RadioButtonUr"), &m_policyholderPerson),
                    0, 0);
    grid->addWidget(newTypeGroup(QStringLiteral("Тип владельца"), QStringLiteral("RadioButtonF"),
                                 QStringLiteral("RadioButtonU"), &m_ownerPerson),
                    0, 1);
    m_registered = new QCheckBox(QStringLiteral("Регистрация ТС в РФ"));
    m_registered->setObjectName(QStringLiteral("CheckBoxReg"));
    m_registered->setChecked(true);
    grid->addWidget(m_registered, 1, 0, 1, 2);
}

void GeneralPage::buildTerms(QGridLayout* grid)
{

    QGroupBox* start = newGroup(QStringLiteral("Начало срока страхования"));
    addLabeledRow(gridOf(start), 0, QStringLiteral("Время"), newEdit(QStringLiteral("LabeledEditVrem"), 8));
    addLabeledRow(gridOf(start), 1, QStringLiteral("Дата"), newEdit(QStringLiteral("LabeledEditData"), 10));
    grid->addWidget(start, 2, 0);

    // The term abroad stands in the place of the months of use, under the same label.
    QGroupBox* conditions = newGroup(QStringLiteral("Условия страхования"));
    m_monthsOfUse = newDropDown(QStringLiteral("ComboBoxSrok"), monthsOfUse(), kFullYearOfUse);
    m_transitTerm = newDropDown(QStringLiteral("ComboBoxTranzit"), transitTerms(), kDefaultTransitTerm);
    addLabeledRow(gridOf(conditions), 0, QStringLiteral("Период использования (мес.)"), m_monthsOfUse);
    gridOf(conditions)->addWidget(m_transitTerm, 0, 1);
    m_transitTerm->hide();
    addLabeledRow(gridOf(conditions), 1, QStringLiteral("Дата выдачи"),
                  newEdit(QStringLiteral("LabeledEditVydan"), 10));
    grid->addWidget(conditions, 2, 1);
}

void GeneralPage::buildPeriods(QGridLayout* grid)
{
    m_insuranceFrom = newMaskedEdit(QStringLiteral("EditS"), kDateMask, m_messages);
    m_insuranceTo = newMaskedEdit(QStringLiteral("EditPo"), kDateMask, m_messages);
    grid->addWidget(newPeriodGroup(QStringLiteral("Период страхования ТС"), m_insuranceFrom, m_insuranceTo), 3, 0);

    m_useFrom = newMaskedEdit(QStringLiteral("EditIS"), kDateMask, m_messages);
    m_useTo = newMaskedEdit(QStringLiteral("EditIPo"), kDateMask, m_messages);
    m_useFrom->setEnabled(false);
    m_useTo->setEnabled(false);
    grid->addWidget(newPeriodGroup(QStringLiteral("Период использования ТС"), m_useFrom, m_useTo), 3, 1);
}

void GeneralPage::buildNumbers(QGridLayout* grid)
{
    auto* numbers = new QGridLayout;
    grid->addLayout(numbers, 4, 0, 1, 2, Qt::AlignTop);
    m_numbers = {
        newMaskedEdit(QStringLiteral("LabeledEditPolis"), kPolicyNumberMask, m_messages),
        newMaskedEdit(QStringLiteral("LabeledEditZnak"), kPolicyNumberMask, m_messages),
        newMaskedEdit(QStringLiteral("LabeledEditKvit"), kReceiptMask, m_messages),
        newEdit(QStringLiteral("LabeledEditOtmet"), 70),
    };
    addLabeledRow(numbers, 0, QStringLiteral("Номер, серия полиса:"), m_numbers[0], QStringLiteral("LabelPolis"));
    addLabeledRow(numbers, 1, QStringLiteral("Номер, серия спец. знака:"), m_numbers[1], QStringLiteral("LabelZnak"));
    addLabeledRow(numbers, 2, QStringLiteral("Квитанция:"), m_numbers[2], QStringLiteral("LabelKvit"));
    addLabeledRow(numbers, 3, QStringLiteral("Особые отметки:"), m_numbers[3]);
}

bool GeneralPage::policyholderIsPerson() const
{
    return m_policyholderPerson->isChecked();
}

bool GeneralPage::ownerIsPerson() const
{
    return m_ownerPerson->isChecked();
}

void GeneralPage::CheckBoxRegClick()
{
    const bool registered = m_registered->isChecked();
    m_monthsOfUse->setVisible(registered);
    m_transitTerm->setVisible(!registered);
    m_useFrom->setEnabled(false);
    m_useTo->setEnabled(false);
    setControlText(m_insuranceTo, {});
    setControlText(m_useFrom, controlText(m_insuranceFrom));
    setControlText(m_useTo, {});
    setControlText(m_transitTerm, kDefaultTransitTerm);
    setControlText(m_monthsOfUse, kFullYearOfUse);
}

void GeneralPage::ComboBoxSrokChange()
{
    setControlText(m_useFrom, {});
    setControlText(m_useTo, {});
    const bool fullYear = m_monthsOfUse->currentText() == kFullYearOfUse;
    m_useFrom->setEnabled(!fullYear);
    m_useTo->setEnabled(!fullYear);
    if (fullYear) {
        setControlText(m_useFrom, controlText(m_insuranceFrom));
        setControlText(m_useTo, controlText(m_insuranceTo));
    }
}

// The term abroad counts while it is set to be shown, whichever page is on screen.
bool GeneralPage::useFollowsInsurance() const
{
    return !m_transitTerm->isHidden() || m_monthsOfUse->currentText() == kFullYearOfUse;
}

void GeneralPage::EditSChange()
{
    if (useFollowsInsurance())
        setControlText(m_useFrom, controlText(m_insuranceFrom));
}

void GeneralPage::EditPoChange()
{
    if (useFollowsInsurance())
        setControlText(m_useTo, controlText(m_insuranceTo));
}

void GeneralPage::reset()
{
    m_policyholderPerson->setChecked(true);
    m_ownerPerson->setChecked(true);
    m_registered->setChecked(true);

    setControlText(m_monthsOfUse, kFullYearOfUse);
    for (MaskedEdit* date : {m_insuranceFrom, m_insuranceTo, m_useFrom, m_useTo})
        setControlText(date, {});
    m_useFrom->setEnabled(false);
    m_useTo->setEnabled(false);

    for (QLineEdit* number : m_numbers)
        setControlText(number, {});
    m_transitTerm->hide();
    m_monthsOfUse->show();
}

} // namespace osago
