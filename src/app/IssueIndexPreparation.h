#pragma once

#include <QString>

class QWidget;

namespace osago {

class PolicyDatabase;

// A register made before the issue index gets it at the first command that reads a period: a read of the whole
// table, seconds at a million rows, under a progress window over `parent` titled `title`. Where it cannot be built
// (another program writing for longer than the busy timeout) the period is read from the table instead, slower
// but the same. Nothing happens on a register that has the index or takes no writes.
void prepareIssueIndex(PolicyDatabase& database, QWidget* parent, const QString& title);

} // namespace osago
