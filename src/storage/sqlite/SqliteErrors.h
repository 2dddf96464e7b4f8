#pragma once

#include <QString>

class QSqlError;

namespace osago {

// The agent's message for a failed register operation: what was not done, the reason in words, the file,
// and the database's own text for whoever looks deeper. `busySeconds` is the busy timeout the reason quotes.
QString storageFailure(const QString& action, const QSqlError& error, const QString& path, int busySeconds);

// The same from SQLite's own result code (extended or primary) and message.
QString storageFailure(const QString& action, int sqliteCode, const QString& detail, const QString& path,
                       int busySeconds);

// The same for a failure found by the program itself rather than reported by the database.
QString storageFailure(const QString& action, const QString& reason, const QString& path);

// Whether SQLite's result code says the file is damaged.
bool isDamageCode(int sqliteCode);
// Why nothing is written into a damaged register file at `path`, with the way out.
QString damagedRegisterReason(const QString& path);

} // namespace osago
