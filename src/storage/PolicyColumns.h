#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace osago {

inline constexpr int kPolicyColumnCount = 123;
inline constexpr int kDriverCount = 6;
inline constexpr int kDriverAttributeCount = 9;

inline constexpr QStringView kRegisterTable = u"TableStrah";
inline constexpr QStringView kDefaultRegisterFile = u"Baza.mdb";

// The 123 column names of the register in their fixed order: the register's header row. Every value is text;
// which editor control feeds which column is the editor's business (editor/EditorBinding.h).
const QStringList& policyColumnNames();

// The position of the column named exactly `name`, or -1.
int policyColumnIndex(QStringView name);

// The column holding attribute `attribute` (1-9, block order) of the driver at list position `driver` (1-6).
int driverColumnIndex(int driver, int attribute);

// The row's code: 32 lower-case hex digits of a random 128-bit value, written once when the row is inserted and
// never changed. It finds the row again for change and deletion.
int rowCodeColumnIndex();

} // namespace osago
