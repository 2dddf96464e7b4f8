#pragma once

#include <QString>
#include <QWidget>

#include <array>

class QComboBox;
class QLabel;
class QPushButton;

namespace osago {

class Messages;

// The fields of a policyholder or owner, in the order of the page (and of the Tab key).
enum class PartyField {
    Surname,
    FirstName,
    Patronymic,
    BirthDate, // a date; for a legal person it holds the taxpayer number
    Phone,
    Document,
    Series,
    Postcode,
    Country,
    Region,
    District,
    Locality,
    Street,
};
inline constexpr int kPartyFieldCount = 13;

// The control names of one side; both sides share everything else.
struct PartyControlNames
{
    QString page;
    QString copyButton; // empty: the page has no copy button
    QString birthDateLabel;
    QString initialRegion; // the region text of the layout
    std::array<QString, kPartyFieldCount> fields;

    static const PartyControlNames& policyholder();
    static const PartyControlNames& owner();
};

// The editor's page "Страхователь" or "Владелец": a person or a firm with its address.
class PartyPage : public QWidget
{
    Q_OBJECT

public:
    PartyPage(const PartyControlNames& names, Messages& messages, QWidget* parent = nullptr);

    QWidget* field(PartyField field) const { return m_fields[static_cast<int>(field)]; }
    QComboBox* regionBox() const;
    // "Скопировать данные о страхователе"; null on the policyholder's page.
    QPushButton* copyButton() const { return m_copyButton; }

    // Labels and shows the name fields for a natural person or for a firm, which has neither a first
    // name nor a patronymic (they are emptied) and whose birth-date field holds its taxpayer number.
    void showType(bool person);

    // The locality list follows the region: the home region's localities, or nothing to choose from.
    void reloadLocalities();

    // Takes over every text of `other`, the region without reloading the localities.
    void copyFrom(const PartyPage& other);
    void clearGivenNames();

    // Every field back to its default, in the order of the page.
    void reset();

private:
    std::array<QWidget*, kPartyFieldCount> m_fields{};
    std::array<QLabel*, kPartyFieldCount> m_labels{};
    QPushButton* m_copyButton = nullptr;
};

} // namespace osago
