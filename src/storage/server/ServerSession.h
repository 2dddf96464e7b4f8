#pragma once

#include "storage/server/ServerAddress.h"
#include "storage/server/ServerConnection.h"
#include "storage/PolicyDatabase.h"
#include "storage/StorageStatus.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <span>

namespace osago {

// The program's connection to one register on a server: connecting with libpq's own means for the password
// first (~/.pgpass, PGPASSFILE, the location) and asking the agent only when the server wants one and none was
// found; the connect and statement timeouts; and connecting again by itself after the connection was lost. The
// password the agent typed is kept in memory for the run, for those reconnections, and never written anywhere.
class ServerSession
{
public:
    explicit ServerSession(PasswordSource askPassword);

    // Connects to `location` (a libpq URI); `readOnly` makes every transaction over the connection read-only.
    StorageStatus open(const QString& location, bool readOnly, const QString& action);
    // Connects to the register `other` is connected to, with the password it was given, for reading only: work on
    // another thread over a connection of its own. Never asks for a password.
    StorageStatus openBeside(const ServerSession& other, const QString& action);
    void close();
    bool isOpen() const { return !m_location.isEmpty(); }
    // The address connected to and the password the agent gave for it, as plain values that outlive this
    // connection: what opening the register again on another thread takes without asking.
    struct Reach
    {
        QString location;
        std::optional<QString> password;
    };
    Reach reach() const { return {m_location, m_password}; }

    // "сервер HOST:PORT, база NAME", from what the connection reached, or the address as written when libpq
    // could not read it; never with a password.
    // An address naming several servers is named by all of them, whichever serves now, so the register keeps one
    // name across a switchover.
    const QString& place() const { return m_place; }
    // The address's servers, "HOST1:PORT1,HOST2:PORT2" as written, when it names more than one; empty otherwise.
    QString serverList() const;
    const QString& user() const { return m_user; }
    // Whether the address itself holds a password (used, but ~/.pgpass is the safer place for it).
    bool addressHoldsPassword() const { return m_address.holdsPassword(); }

    // Runs one statement. The first statement of a command (no transaction open) that finds the connection lost
    // connects again and runs once more: nothing of it reached the server. A statement the server left
    // unanswered past the silence limit is never run again: the server may have taken it; the connection is
    // closed, and the next statement connects again. A failure is worded with `action`;
    // the server's result is kept in `value` either way.
    StorageResult<PgResult> exec(const QString& action, const QByteArray& sql, std::span<const QByteArray> values = {},
                                 PgConnection::Format format = PgConnection::Format::Text);
    // The same, rows handed to `row` one at a time (for large answers; never retried once rows have come).
    StorageResult<PgResult> execRowByRow(const QString& action, const QByteArray& sql,
                                         std::span<const QByteArray> values,
                                         const std::function<void(const PgResult& row)>& row);

    // Sets what runs while a statement waits (PolicyDatabase::setWaitHook()); a statement asked for meanwhile is
    // refused as busy.
    void setWaitHook(WaitHook hook) { m_connection.setWaitHook(std::move(hook), kWaitHookMs); }

    // The connection itself, for a copy between statements of an open transaction.
    PgConnection& connection() { return m_connection; }
    // While `allow`, statements wait for a silent server up to kLongWorkSilenceSeconds: long work (a copy, an
    // index) that shows its progress and may be cancelled.
    void allowLongSilence(bool allow);
    // A second connection to the same server with the same password, for watching long work from aside.
    std::optional<PgConnection::Refusal> openSideConnection(PgConnection& side) const;

    StorageStatus failure(const QString& action, const PgResult& result) const;
    StorageStatus failure(const QString& action, const QString& reason) const;

private:
    StorageStatus connect(const QString& action, bool mayAsk);
    std::optional<PgConnection::Refusal> openConnection();
    void notePlace();
    // The failure as the agent reads it: no password of the address nor the one typed in it.
    StorageStatus cleanFailure(const QString& message) const;
    // Runs `statement`, once more after connecting again when it found the connection lost outside a
    // transaction and `mayRepeat` says nothing of it has been taken.
    StorageResult<PgResult> run(const QString& action, const std::function<PgResult()>& statement,
                                const std::function<bool()>& mayRepeat);

    PasswordSource m_askPassword;
    std::optional<QString> m_password;
    PgConnection m_connection;
    QString m_location;
    ServerAddress m_address;
    bool m_readOnly = false;
    QString m_place;
    QString m_user;
};

} // namespace osago
