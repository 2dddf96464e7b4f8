#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace osago {

class Messages;

// The editor's page "Транспортное средство": vehicle type, identification, engine power,
// vehicle passport and purposes of use, and the hidden heavy-truck flag of the premium.
class VehiclePage : public QWidget
{
    Q_OBJECT

public:
    VehiclePage(QWidget& editor, Messages& messages, QWidget* parent = nullptr);

    // The vehicle step of the editor's closing reset: passenger car, every vehicle field empty
    // (their change rules run), mass and seat fields "0" and hidden.
    void resetVehicle();
    // The purposes step of the reset: only "Личная" ticked, no heavy-truck flag, "=" disabled.
    void resetPurposes();

private:
    void buildIdentification();
    void buildPassport();
    void buildPurposes();
    void buildLoadFields();
    // The mass and seat fields as a passenger car has them: "0" and hidden.
    void hideLoadFields();

    // The agent picked or typed a vehicle type: shows the mass fields for a truck and the seat
    // field for a bus, and resets the ones it hides.
    void ComboBoxTipTSChange();
    // A complete VIN gives its last seven characters to the chassis and body numbers.
    void LabeledEditVinChange();
    // Change handler of both power fields: "=" is usable while exactly one of them holds text.
    void LabeledEditPowerChange();
    // Fills the empty power field from the other one.
    void ButtonRavnoClick();

    QWidget& m_editor;
    Messages& m_messages;
    QComboBox* m_type = nullptr;
    QLineEdit* m_vin = nullptr;
    QLineEdit* m_chassis = nullptr;
    QLineEdit* m_body = nullptr;
    QLineEdit* m_horsepower = nullptr;
    QLineEdit* m_kilowatts = nullptr;
    QPushButton* m_equals = nullptr;
    QLineEdit* m_maxMass = nullptr;
    QLineEdit* m_unladenMass = nullptr;
    QLineEdit* m_seats = nullptr;
};

} // namespace osago
