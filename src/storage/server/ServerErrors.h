#pragma once

#include "storage/server/ServerConnection.h"

#include <QString>

namespace osago {

class PgResult;

// The agent's messages for a register on a server: what was not done, the reason in words with what to do,
// where the register is ("сервер HOST:PORT, база NAME"), and the server's own text for whoever looks deeper.
namespace serverErrors {

inline constexpr int kConnectSeconds = 5;
inline constexpr int kStatementSeconds = 5;
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
