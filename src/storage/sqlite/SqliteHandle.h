#pragma once

#include <chrono>

struct sqlite3;
class QSqlDatabase;
class QString;

namespace osago {

// The SQLite connection behind an open Qt connection, for what Qt SQL does not offer (functions of our own,
// progress reports, reads without a QVariant a value); null when it is closed or not SQLite.
sqlite3* sqliteHandle(const QSqlDatabase& connection);

// How long every connection of the file engine waits for another program's write before it gives up.
inline constexpr std::chrono::milliseconds kBusyTimeout{5000};

// Removes a database file with the files SQLite keeps beside it while it is used (its log, shared memory and
// journal): they go with it.
void removeDatabaseFile(const QString& path);

} // namespace osago
