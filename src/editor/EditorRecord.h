#pragma once

#include "storage/PolicyRow.h"

namespace osago {

class PolicyEditor;

// The editor's controls and a register row, column by column through the editor's binding (EditorBinding.h).

// The record the editor holds: each column from its control, ФИО_агента from `agentName`, no code (the register
// gives one when it adds the row).
PolicyRow rowFromEditor(const PolicyEditor& editor, const QString& agentName);

// Writes a stored row into the editor, which its last close has reset, so that no rule run by a write overwrites
// a loaded value; the drivers' age flags are derived again against the row's issue date. False, after the agent
// has seen why, when a flag cannot be derived: the drivers are not listed then.
bool loadRowIntoEditor(PolicyEditor& editor, const PolicyRow& row);

} // namespace osago
