#pragma once

#include <array>
#include <chrono>

struct sqlite3;
class QSqlDatabase;

namespace osago {

// The SQLite connection behind an open Qt connection, for what Qt SQL does not offer (functions of our own,
// progress reports, reads without a QVariant a value); null when it is closed or not SQLite.
sqlite3* sqliteHandle(const QSqlDatabase& connection);

// How long every connection of the file engine waits for another program's write before it gives up.
inline constexpr std::chrono::milliseconds kBusyTimeout{5000};

// The files SQLite keeps beside a database file while it is used: they go and come with it.
inline constexpr std::array<const char*, 3> kSideFileSuffixes{"-wal", "-shm", "-journal"};

} // namespace osago
