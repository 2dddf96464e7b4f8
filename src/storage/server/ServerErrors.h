#pragma once

#include "storage/server/ServerConnection.h"

#include <QString>

namespace osago {

class PgResult;

// The agent's messages for a register on a server: what was not done, the reason in words with what to do,
// where the register is ("сервер HOST:PORT, база NAME"), and the server's own text for whoever looks deeper.
namespace serverErrors {

inline constexpr int kConnectSeconds = 5;
// How long a command waits for a silent server (PgConnection::setSilenceLimit); work that shows its progress
// with a way to cancel it (a copy, an index, a restore) waits longer, as the server is silent while it builds.
inline constexpr int kSilenceSeconds = 5;
inline constexpr int kLongWorkSilenceSeconds = 600;
// The server's own limit for a statement, below the silence limit: a slow statement on a working server ends
// with the server's reason rather than with the connection dropped.
inline constexpr int kStatementSeconds = 4;
inline constexpr int kLockSeconds = 3;

QString connectFailure(const QString& action, const QString& location, const QString& user,
                       const PgConnection::Refusal& refusal);
QString statementFailure(const QString& action, const QString& location, const QString& user, const PgResult& result);
// A failure the program found itself.
QString failure(const QString& action, const QString& location, const QString& reason);

// Whether the server says its data is damaged (a read found a broken page).
bool isDamage(const PgResult& result);

} // namespace serverErrors

} // namespace osago
