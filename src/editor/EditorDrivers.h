#pragma once

#include <QHash>
#include <QList>
#include <QString>

namespace osago {

class PolicyEditor;

// One listed driver as the texts of the drivers page's hidden lists, keyed by the list's name
// (ComboBox1 ... ComboBox9); a list not named holds an empty text.
using DriverListTexts = QHash<QString, QString>;

// Lists `drivers` (at most six) on the editor's drivers page in place of any listed, each age flag derived again
// against the issue date the editor holds. False, after the agent has seen why, when a flag cannot be derived.
bool listDrivers(PolicyEditor& editor, const QList<DriverListTexts>& drivers);

} // namespace osago
