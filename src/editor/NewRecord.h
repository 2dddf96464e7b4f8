#pragma once

class QDateTime;

namespace osago {

class PolicyEditor;

// Opens the editor for a new record made at `moment`: shows it, then writes the moment's date into the
// start, issue and period fields, its time of day into the start time, the caption "Создание записи", and
// the home region with its localities into the policyholder's and the owner's addresses.
void prepareNewRecord(PolicyEditor& editor, const QDateTime& moment);

} // namespace osago
