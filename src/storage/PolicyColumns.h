#pragma once

#include "storage/YesNo.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace osago {

// How the value of one register column is taken from the editor and given back to it. Every value is text.
enum class ColumnCoding {
    // The control's text exactly as the program reads it (a masked edit's full masked text).
    Text,
    // A check box: "Да" when ticked, "Нет" when clear; any other stored text loads as clear.
    YesNo,
    // A radio pair: "Физ. лицо" when `control` is checked, "Юр. лицо" when `secondControl` is;
    // any other stored text loads as "Физ. лицо".
    PersonType,
    // The period of use `control` (ComboBoxSrok) while the vehicle is registered in the country (column РегРФ
    // holds "Да"); otherwise the term `secondControl` (ComboBoxTranzit), e.g. "15 дней". Loading reads РегРФ
    // first to know which drop-down takes the text; the other one keeps its default ("12" or "15 дней").
    PeriodOrTerm,
    // Column `attribute` (1-9, block order) of the driver at list position `driver` (1-6): item driver-1 of the
    // drivers page's hidden list `control` (one of ComboBox1 ... ComboBox9); empty when fewer drivers are listed.
    DriverAttribute,
    // The agent's name from the agent settings (`control` is the settings window's edit).
    AgentName,
    // A code written once when the row is inserted and never changed: 32 lower-case hex digits of a random
    // 128-bit value. It finds the row again for change and deletion. No control.
    RowCode,
};

struct PolicyColumn
{
    QString name;
    ColumnCoding coding = ColumnCoding::Text;
    QString control;
    QString secondControl;
    int driver = 0;
    int attribute = 0;
};

inline constexpr int kPolicyColumnCount = 123;
inline constexpr int kDriverCount = 6;
inline constexpr int kDriverAttributeCount = 9;

inline constexpr QStringView kNaturalPerson = u"Физ. лицо";
inline constexpr QStringView kLegalEntity = u"Юр. лицо";

inline constexpr QStringView kRegisterTable = u"TableStrah";
inline constexpr QStringView kDefaultRegisterFile = u"Baza.mdb";

// The 123 columns of the register in their fixed order.
const std::vector<PolicyColumn>& policyColumns();

// The 123 column names in column order: the register's header row.
QStringList policyColumnNames();

// The position of the column named exactly `name`, or -1.
int policyColumnIndex(QStringView name);

// The column whose value the editor control `control` holds (its first control for a radio pair or the period),
// or -1; the driver columns are found by driverColumnIndex().
int policyColumnOfControl(QStringView control);

// The column holding attribute `attribute` (1-9) of driver `driver` (1-6).
int driverColumnIndex(int driver, int attribute);

// The one column coded as RowCode.
int rowCodeColumnIndex();

inline QString personType(bool legalEntity) { return (legalEntity ? kLegalEntity : kNaturalPerson).toString(); }
inline bool isLegalEntity(QStringView text) { return text == kLegalEntity; }

} // namespace osago
