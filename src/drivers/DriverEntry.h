#pragma once

#include "storage/YesNo.h"

#include <QString>
#include <QStringList>

namespace osago {

// One permitted driver as the agent entered it in "Сведения о водителе". Every attribute is the
// text of the dialog's control exactly as it gives it: the birth date and the permit in their full
// masked form (blanks in unfilled positions), the two flags "Да" or "Нет". The age flag is not
// part of an entry: the drivers page derives it whenever an entry is stored.
struct DriverEntry
{
    QString fullName;
    QString birthDate;      // DD.MM.YYYY, 10 characters, "  .  .    " when empty
    QString sex;            // "М" or "Ж", or what was typed
    QString address;
    QString permit;         // series and number, two blanks, issue date: 22 characters
    QString experience;     // driving since, free text
    QString driverClass;    // "M", "0" ... "13", or what was typed
    QString experienceFlag; // "Да": more than two years of driving
    QString grossFlag;      // "Да": gross violations

    // The nine attributes in the order of the driver columns ComboBox1 ... ComboBox9.
    QStringList attributes() const;
    // The reverse of attributes(); `attributes` holds at least nine texts.
    static DriverEntry fromAttributes(const QStringList& attributes);

    friend bool operator==(const DriverEntry&, const DriverEntry&) = default;
};

// The classes a driver's class field offers, "M" (the Latin capital letter) and "0" ... "13".
QStringList driverClassItems();
inline const QString kDefaultDriverClass = QStringLiteral("3");

} // namespace osago
