#pragma once

#include <QString>
#include <QStringView>

namespace osago {

// The texts of every yes/no value: check boxes in the register, the drivers' flags.
inline constexpr QStringView kYes = u"Да";
inline constexpr QStringView kNo = u"Нет";

inline QString yesNo(bool yes) { return (yes ? kYes : kNo).toString(); }
inline bool isYes(QStringView text) { return text == kYes; }

} // namespace osago
