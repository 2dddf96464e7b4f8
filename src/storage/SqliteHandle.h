#pragma once

struct sqlite3;
class QSqlDatabase;

namespace osago {

// The SQLite connection behind an open Qt connection, for what Qt SQL does not offer (functions of our own,
// progress reports, reads without a QVariant a value); null when it is closed or not SQLite.
sqlite3* sqliteHandle(const QSqlDatabase& connection);

} // namespace osago
