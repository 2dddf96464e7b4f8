#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QRadioButton;

namespace osago {

class MaskedEdit;
class Messages;

// The editor's page "Общие сведения": the types of policyholder and owner, registration,
// the start, term and periods of the insurance, the policy numbers. It also holds the rules
// that tie the term drop-downs and the two periods together.
class GeneralPage : public QWidget
{
    Q_OBJECT

public:
    GeneralPage(Messages& messages, QWidget* parent = nullptr);

    bool policyholderIsPerson() const;
    bool ownerIsPerson() const;

    // The page's part of the editor's closing reset, in its order.
    void reset();

private:
    void buildTypes(QGridLayout* grid);
    void buildTerms(QGridLayout* grid);
    void buildPeriods(QGridLayout* grid);
    void buildNumbers(QGridLayout* grid);

    // A vehicle registered abroad gets a term instead of months of use; either way the
    // insurance end is entered again and the period of use follows the insurance period.
    void CheckBoxRegClick();
    // Any period of use shorter than a year is entered by the agent; a full year follows the
    // insurance period.
    void ComboBoxSrokChange();
    void EditSChange();
    void EditPoChange();
    bool useFollowsInsurance() const;

    Messages& m_messages;
    QRadioButton* m_policyholderPerson = nullptr;
    QRadioButton* m_ownerPerson = nullptr;
    QCheckBox* m_registered = nullptr;
    QComboBox* m_monthsOfUse = nullptr;
    QComboBox* m_transitTerm = nullptr;
    MaskedEdit* m_insuranceFrom = nullptr;
    MaskedEdit* m_insuranceTo = nullptr;
    MaskedEdit* m_useFrom = nullptr;
    MaskedEdit* m_useTo = nullptr;
    QList<QLineEdit*> m_numbers;
};

} // namespace osago
