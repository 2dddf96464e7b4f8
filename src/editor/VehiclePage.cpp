#include "editor/VehiclePage.h"

#include "widgets/Controls.h"
#include "editor/EditorFields.h"
#include "editor/FieldPlacement.h"
#include "widgets/MaskedEdit.h"
#include "widgets/Messages.h"
#include "editor/TariffText.h"
#include "tariff/PowerConversion.h"
#include "tariff/TariffTables.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace osago {

namespace {

const QString kNoLoad = QStringLiteral("0");
const QString kBusSeats = QStringLiteral("5");
const QString kPersonalUse = QStringLiteral("CheckBoxLich");

struct Purpose
{
    const char* name;
    const char* caption;
};

// Two columns of four, top down.
constexpr Purpose kPurposes[] = {
    {"CheckBoxLich", "Личная"},        {"CheckBoxUcheb", "Учебная езда"},
    {"CheckBoxInkas", "Инкассация"},   {"CheckBoxSkora", "Скорая помощь"},
    {"CheckBoxTaxi", "Такси"},         {"CheckBoxSpec", "Дорожное или спец. ТС"},
    {"CheckBoxProk", "Прокат или аренда"}, {"CheckBoxProch", "Прочие"},
};
constexpr int kPurposesPerColumn = 4;

// Emptied by the reset, in this order.
const char* const kVehicleFields[] = {
    "EditMarka",  "LabeledEditVin", "LabeledEditMoshn", "LabeledEditKVt", "LabeledEditNomShassi",
    "LabeledEditKuzov", "LabeledEditGod", "LabeledEditReg", "LabeledEditPTS", "LabeledEditVidacha",
};

} // namespace

VehiclePage::VehiclePage(QWidget& editor, Messages& messages, QWidget* parent)
    : QWidget(parent)
    , m_editor(editor)
    , m_messages(messages)
{
    setObjectName(QStringLiteral("TabSheetTS"));
    buildIdentification();
    buildPassport();
    buildPurposes();
    buildLoadFields();
}

void VehiclePage::buildIdentification()
{
    QStringList types;
    for (std::string_view type : vehicleTypes)
        types << toQString(type);
    m_type = newDropDown(QStringLiteral("ComboBoxTipTS"), types, toQString(vehicle_type::passengerCar), 60);
    placeField(m_type, this, 8, 24, 401);
    addCaption(m_type, QStringLiteral("Тип ТС:"));
    connectAgentChange(m_type, this, &VehiclePage::ComboBoxTipTSChange);

    addCaptionedEdit(this, QStringLiteral("EditMarka"), QStringLiteral("Марка, модель:"), 8, 64, 137, 25);
    m_vin = addCaptionedEdit(this, QStringLiteral("LabeledEditVin"), QStringLiteral("VIN:"), 152, 64, 257, 17);
    connect(m_vin, &QLineEdit::textChanged, this, &VehiclePage::LabeledEditVinChange);

    m_horsepower = addCaptionedEdit(this, QStringLiteral("LabeledEditMoshn"), QStringLiteral("Мощность (л.с.):"),
                                    152, 104, 121, 4);
    m_equals = new QPushButton(QStringLiteral("="), this);
    m_equals->setObjectName(QStringLiteral("ButtonRavno"));
    m_equals->setGeometry(272, 104, 17, 19);
    m_equals->setEnabled(false);
    m_kilowatts = addCaptionedEdit(this, QStringLiteral("LabeledEditKVt"), QStringLiteral("Мощность (кВт):"), 288,
                                   104, 121, 4);
    connect(m_horsepower, &QLineEdit::textChanged, this, &VehiclePage::LabeledEditPowerChange);
    connect(m_kilowatts, &QLineEdit::textChanged, this, &VehiclePage::LabeledEditPowerChange);
    connect(m_equals, &QPushButton::clicked, this, &VehiclePage::ButtonRavnoClick);

    m_chassis = addCaptionedEdit(this, QStringLiteral("LabeledEditNomShassi"), QStringLiteral("№ шасси:"), 8, 144,
                                 193, 17);
    m_body = addCaptionedEdit(this, QStringLiteral("LabeledEditKuzov"), QStringLiteral("Кузов:"), 216, 144, 193, 17);
    addCaptionedEdit(this, QStringLiteral("LabeledEditGod"), QStringLiteral("Год выпуска:"), 8, 104, 137, 4);
    addCaptionedEdit(this, QStringLiteral("LabeledEditReg"), QStringLiteral("Регистрационный знак:"), 8, 184, 193, 9);
}

void VehiclePage::buildPassport()
{
    auto* passport = new QGroupBox(QStringLiteral("Паспорт ТС"), this);
    passport->setGeometry(424, 8, 209, 113);
    addCaptionedEdit(passport, QStringLiteral("LabeledEditPTS"), QStringLiteral("Серия, № ПТС:"), 8, 40, 193, 10);

    MaskedEdit* issued = newMaskedEdit(QStringLiteral("LabeledEditVidacha"), kDateMask, m_messages);
    placeField(issued, passport, 8, 84, 97);
    addCaption(issued, QStringLiteral("Дата выдачи:"))->setObjectName(QStringLiteral("LabelVidacha"));
}

void VehiclePage::buildPurposes()
{
    auto* purposes = new QGroupBox(QStringLiteral("Цель использования"), this);
    purposes->setGeometry(8, 224, 401, 129);
    int position = 0;
    for (const Purpose& purpose : kPurposes) {
        auto* box = new QCheckBox(QString::fromUtf8(purpose.caption), purposes);
        box->setObjectName(QString::fromUtf8(purpose.name));
        const int column = position / kPurposesPerColumn;
        const int row = position % kPurposesPerColumn;
        box->setGeometry(12 + column * 192, 24 + row * 24, 185, 17);
        box->setChecked(box->objectName() == kPersonalUse);
        ++position;
    }
}

void VehiclePage::buildLoadFields()
{
    m_maxMass = addCaptionedEdit(this, QStringLiteral("LabeledEditMassa"),
                                 QStringLiteral("Разрешённая максимальная масса (кг):"), 424, 168, 209, 5);
    m_unladenMass = addCaptionedEdit(this, QStringLiteral("LabeledEditNagruz"),
                                     QStringLiteral("Масса без нагрузки (кг):"), 424, 208, 209, 5);
    m_seats = addCaptionedEdit(this, QStringLiteral("LabeledEditMesta"),
                               QStringLiteral("Кол-во мест сидения, вкл. водителя:"), 424, 264, 209, 3);
    hideLoadFields();

    QLineEdit* heavyTruckFlag = newEdit(QStringLiteral("EditRaschetGruz"), 0);
    placeField(heavyTruckFlag, this, 520, 384, 121);
    heavyTruckFlag->hide();
}

void VehiclePage::hideLoadFields()
{
    for (QLineEdit* field : {m_maxMass, m_unladenMass, m_seats}) {
        field->setText(kNoLoad);
        setFieldShown(field, false);
    }
}

void VehiclePage::ComboBoxTipTSChange()
{
    const std::string type = toUtf8(m_type->currentText());

    const bool truck = hasLoadMass(type);
    for (QLineEdit* mass : {m_maxMass, m_unladenMass}) {
        if (!truck)
            mass->setText(kNoLoad);
        setFieldShown(mass, truck);
    }

    const bool bus = hasSeatCount(type);
    m_seats->setText(bus ? kBusSeats : kNoLoad);
    setFieldShown(m_seats, bus);
}

void VehiclePage::LabeledEditVinChange()
{
    constexpr int kFullVin = 17;
    constexpr int kSerialLength = 7;
    const QString vin = m_vin->text();
    if (vin.size() != kFullVin)
        return;
    const QString serial = vin.right(kSerialLength);
    m_chassis->setText(serial);
    m_body->setText(serial);
}

void VehiclePage::LabeledEditPowerChange()
{
    m_equals->setEnabled(equalsButtonEnabled(toUtf8(m_horsepower->text()), toUtf8(m_kilowatts->text())));
}

void VehiclePage::ButtonRavnoClick()
{
    const PowerConversion conversion = convertPower(toUtf8(m_horsepower->text()), toUtf8(m_kilowatts->text()));
    if (conversion.error) {
        m_messages.show(&m_editor, kProgramTitle, toQString(*conversion.error), Messages::Icon::Critical);
        return;
    }
    if (conversion.target)
        (*conversion.target == PowerField::Kilowatts ? m_kilowatts : m_horsepower)->setText(toQString(conversion.text));
}

void VehiclePage::resetVehicle()
{
    setControlText(m_type, toQString(vehicle_type::passengerCar));
    for (const char* name : kVehicleFields)
        setControlText(*this, QString::fromUtf8(name), QString());
    hideLoadFields();
}

void VehiclePage::resetPurposes()
{
    for (const Purpose& purpose : kPurposes) {
        const QString name = QString::fromUtf8(purpose.name);
        control<QCheckBox>(*this, name)->setChecked(name == kPersonalUse);
    }
    control<QLineEdit>(*this, QStringLiteral("EditRaschetGruz"))->clear();
    m_equals->setEnabled(false);
}

} // namespace osago
