#pragma once

#include <QString>
#include <QStringView>

namespace osago {

// The texts of the policyholder's and the owner's type in the register; any other stored text reads as a person.
inline constexpr QStringView kNaturalPerson = u"Физ. лицо";
inline constexpr QStringView kLegalEntity = u"Юр. лицо";

inline QString personType(bool legalEntity) { return (legalEntity ? kLegalEntity : kNaturalPerson).toString(); }
inline bool isLegalEntity(QStringView text) { return text == kLegalEntity; }

} // namespace osago
