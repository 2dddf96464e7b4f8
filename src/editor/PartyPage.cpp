#include "editor/PartyPage.h"

#include "widgets/Controls.h"
#include "editor/EditorFields.h"
#include "editor/EditorLists.h"
#include "editor/Localities.h"
#include "widgets/MaskedEdit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace osago {

namespace {

enum class Kind { Edit, Date, DropDown };
enum class Block { Person, Address };

// One field of a side: what it is, where it stands and what it holds. Fields share a row in
// pairs: column 0 or 1 of a two-pair grid, `wide` fields take the whole row.
struct FieldLayout
{
    Kind kind;
    const char* label;
    int typingLimit;
    const QStringList* items;
    QString initial;
    QString afterReset;
    Block block;
    int row;
    int column;
    bool wide;
};

const std::array<FieldLayout, kPartyFieldCount>& fieldLayouts()
{
    static const QStringList none;
    static const std::array<FieldLayout, kPartyFieldCount> layouts{{
        {Kind::Edit, "Фамилия (название фирмы):", 20, nullptr, {}, {}, Block::Person, 0, 0, true},
        {Kind::Edit, "Имя:", 15, nullptr, {}, {}, Block::Person, 1, 0, false},
        {Kind::Edit, "Отчество:", 15, nullptr, {}, {}, Block::Person, 1, 1, false},
        {Kind::Date, "Дата рождения:", 0, nullptr, {}, {}, Block::Person, 2, 0, false},
        {Kind::Edit, "Телефон:", 15, nullptr, {}, {}, Block::Person, 2, 1, false},
        {Kind::DropDown, "Документ:", 40, &identityDocuments(), kDefaultDocument, kDefaultDocument, Block::Person, 3, 0,
         true},
        {Kind::Edit, "Серия, номер:", 12, nullptr, {}, {}, Block::Person, 4, 0, false},
        {Kind::Edit, "Индекс:", 6, nullptr, kDefaultPostcode, kDefaultPostcode, Block::Address, 0, 0, false},
        {Kind::DropDown, "Страна:", 12, &countries(), kDefaultCountry, kDefaultCountry, Block::Address, 0, 1, false},
        {Kind::DropDown, "Регион:", 35, &regions(), kHomeRegion, kHomeRegion, Block::Address, 1, 0, true},
        {Kind::Edit, "Район:", 15, nullptr, {}, {}, Block::Address, 2, 0, false},
        {Kind::DropDown, "Насел. пункт:", 20, &none, {}, kHomeLocality, Block::Address, 2, 1, false},
        {Kind::Edit, "Улица, дом, корпус, квартира (офис):", 40, nullptr, {}, {}, Block::Address, 3, 0, true},
    }};
    return layouts;
}

// The order in which the copy takes the policyholder's texts over.
constexpr std::array kCopyOrder{
    PartyField::Locality, PartyField::Document, PartyField::District,  PartyField::Region,  PartyField::Country,
    PartyField::Street,   PartyField::Postcode, PartyField::BirthDate, PartyField::Phone,   PartyField::Surname,
    PartyField::FirstName, PartyField::Patronymic, PartyField::Series,
};
static_assert(kCopyOrder.size() == kPartyFieldCount);

QWidget* newField(const FieldLayout& layout, const QString& name, const QString& initial, Messages& messages)
{
    switch (layout.kind) {
    case Kind::Edit:
        return newEdit(name, layout.typingLimit, initial);
    case Kind::Date:
        return newMaskedEdit(name, kDateMask, messages);
    case Kind::DropDown:
        return newDropDown(name, *layout.items, initial, layout.typingLimit);
    }
    Q_UNREACHABLE();
}

} // namespace

const PartyControlNames& PartyControlNames::policyholder()
{
    static const PartyControlNames names{
        QStringLiteral("TabSheetStrahov"),
        {},
        QStringLiteral("LabelDRS"),
        kHomeRegion,
        {QStringLiteral("LabeledEditFamil"), QStringLiteral("LabeledEditImia"), QStringLiteral("LabeledEditOtch"),
         QStringLiteral("LabeledEditDR"), QStringLiteral("LabeledEditTel"), QStringLiteral("ComboBoxDoc"),
         QStringLiteral("LabeledEditSerNo"), QStringLiteral("LabeledEditIndex"), QStringLiteral("ComboBoxStrana"),
         QStringLiteral("ComboBoxRegion"), QStringLiteral("EditRayon"), QStringLiteral("ComboBoxNasel"),
         QStringLiteral("EditUlitsa")},
    };
    return names;
}

// The owner's region stays blank until a record is opened.
const PartyControlNames& PartyControlNames::owner()
{
    static const PartyControlNames names{
        QStringLiteral("TabSheetVlad"),
        QStringLiteral("ButtonCopy"),
        QStringLiteral("LabelDRV"),
        {},
        {QStringLiteral("LabeledEditF"), QStringLiteral("LabeledEditI"), QStringLiteral("LabeledEditO"),
         QStringLiteral("LabeledEditDeR"), QStringLiteral("LabeledEditTelV"), QStringLiteral("ComboBoxPas"),
         QStringLiteral("LabeledEditSeriya"), QStringLiteral("LabeledEditIndeks"), QStringLiteral("ComboBoxStran"),
         QStringLiteral("ComboBoxReg"), QStringLiteral("EditRay"), QStringLiteral("ComboBoxPunkt"),
         QStringLiteral("EditUlica")},
    };
    return names;
}

PartyPage::PartyPage(const PartyControlNames& names, Messages& messages, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(names.page);
    auto* page = new QVBoxLayout(this);
    if (!names.copyButton.isEmpty()) {
        m_copyButton = new QPushButton(QStringLiteral("Скопировать данные о страхователе"));
        m_copyButton->setObjectName(names.copyButton);
        page->addWidget(m_copyButton, 0, Qt::AlignLeft);
    }
    auto* person = new QGridLayout;
    page->addLayout(person);
    QGroupBox* address = newGroup(QStringLiteral("Адрес"));
    page->addWidget(address);
    page->addStretch();

    for (int i = 0; i < kPartyFieldCount; ++i) {
        const FieldLayout& layout = fieldLayouts()[i];
        const QString initial = static_cast<PartyField>(i) == PartyField::Region ? names.initialRegion
                                                                                 : layout.initial;
        m_fields[i] = newField(layout, names.fields[i], initial, messages);
        const QString labelName = static_cast<PartyField>(i) == PartyField::BirthDate ? names.birthDateLabel
                                                                                      : QString();
        m_labels[i] = newLabel(QString::fromUtf8(layout.label), m_fields[i], labelName);
        QGridLayout* grid = layout.block == Block::Person ? person : gridOf(address);
        grid->addWidget(m_labels[i], layout.row, 2 * layout.column);
        grid->addWidget(m_fields[i], layout.row, 2 * layout.column + 1, 1, layout.wide ? 3 : 1);
    }
}

QComboBox* PartyPage::regionBox() const
{
    return static_cast<QComboBox*>(field(PartyField::Region));
}

void PartyPage::showType(bool person)
{
    m_labels[static_cast<int>(PartyField::Surname)]->setText(person ? QStringLiteral("Фамилия")
                                                                    : QStringLiteral("Название фирмы"));
    for (PartyField given : {PartyField::FirstName, PartyField::Patronymic}) {
        field(given)->setVisible(person);
        m_labels[static_cast<int>(given)]->setVisible(person);
        if (!person)
            setControlText(field(given), {});
    }
    m_labels[static_cast<int>(PartyField::BirthDate)]->setText(person ? QStringLiteral("Дата рождения")
                                                                      : QStringLiteral("ИНН"));
}

void PartyPage::reloadLocalities()
{
    auto* locality = static_cast<QComboBox*>(field(PartyField::Locality));
    const QString region = regionBox()->currentText();
    fillLocalities(locality, region);
    locality->clearEditText();
    if (region == kHomeRegion)
        setControlText(locality, kHomeLocality);
}

void PartyPage::copyFrom(const PartyPage& other)
{
    for (PartyField copied : kCopyOrder)
        setControlText(field(copied), controlText(other.field(copied)));
}

void PartyPage::clearGivenNames()
{
    setControlText(field(PartyField::FirstName), {});
    setControlText(field(PartyField::Patronymic), {});
}

void PartyPage::reset()
{
    for (int i = 0; i < kPartyFieldCount; ++i)
        setControlText(m_fields[i], fieldLayouts()[i].afterReset);
}

} // namespace osago
