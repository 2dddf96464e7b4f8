#include "storage/server/ServerSession.h"

#include "storage/server/ServerErrors.h"

namespace osago {

ServerSession::ServerSession(PasswordSource askPassword)
    : m_askPassword(std::move(askPassword))
{
}

StorageStatus ServerSession::open(const QString& location, bool readOnly, const QString& action)
{
    close();
    m_location = location;
    m_address = ServerAddress(location);
    m_readOnly = readOnly;
    const StorageStatus status = connect(action, true);
    if (!status.ok)
        m_location.clear();
    return status;
}

StorageStatus ServerSession::openBeside(const ServerSession& other, const QString& action)
{
    close();
    m_location = other.m_location;
    m_address = other.m_address;
    m_password = other.m_password;
    m_readOnly = true;
    const StorageStatus status = connect(action, false);
    if (!status.ok)
        m_location.clear();
    return status;
}

void ServerSession::close()
{
    m_connection.close();
    m_location.clear();
    m_place.clear();
    m_user.clear();
}

// An address libpq could not read names no server: the address itself is shown, cleaned of its password.
void ServerSession::notePlace()
{
    const QString host = m_connection.host();
    const QString user = m_connection.user();
    m_user = user.isEmpty() ? m_address.user() : user;
    if (host.isEmpty()) {
        m_place = QStringLiteral("адрес %1").arg(m_address.shown());
        return;
    }
    const QString list = serverList();
    m_place = QStringLiteral("сервер %1, база %2")
                  .arg(list.isEmpty() ? host + u':' + m_connection.port() : list, m_connection.database());
}

QString ServerSession::serverList() const
{
    const QStringList& named = m_address.servers();
    return named.size() > 1 ? named.join(u',') : QString();
}

std::optional<PgConnection::Refusal> ServerSession::openConnection()
{
    std::optional<PgConnection::Refusal> refusal =
        m_connection.open(m_location, serverErrors::kConnectSeconds, m_password);
    m_connection.setSilenceLimit(serverErrors::kSilenceSeconds);
    notePlace();
    return refusal;
}

// The prompt is a question without its colon: the box and the terminal each end it their own way.
StorageStatus ServerSession::connect(const QString& action, bool mayAsk)
{
    std::optional<PgConnection::Refusal> refusal = openConnection();
    if (refusal && refusal->needsPassword && !m_password && mayAsk && m_askPassword) {
        const std::optional<QString> given =
            m_askPassword(QStringLiteral("Пароль роли %1 для реестра (%2)").arg(m_user, m_place));
        if (given) {
            m_password = given;
            refusal = openConnection();
        }
    }
    if (refusal) {
        // A password the agent typed and the server refused is asked again at the next opening.
        if (refusal->usedPassword)
            m_password.reset();
        m_connection.close();
        return cleanFailure(serverErrors::connectFailure(action, m_place, m_user, *refusal));
    }

    // A row another desk holds locked longer than its short transactions take is reported as busy, before the
    // statement itself runs out of time. The program's statements read through indexes: compiling one (JIT, for
    // a statement the planner thinks costly, such as a search over a million keys) takes longer than it saves.
    const QByteArray timeouts[] = {QByteArray::number(serverErrors::kStatementSeconds * 1000),
                                   QByteArray::number(serverErrors::kLockSeconds * 1000)};
    PgResult set = m_connection.exec("SELECT set_config('statement_timeout', $1, false), "
                                     "set_config('lock_timeout', $2, false), set_config('jit', 'off', false)",
                                     timeouts);
    if (set.ok() && m_readOnly)
        set = m_connection.exec("SET default_transaction_read_only = on");
    if (!set.ok()) {
        m_connection.close();
        return failure(action, set);
    }
    return {};
}

StorageResult<PgResult> ServerSession::run(const QString& action, const std::function<PgResult()>& statement,
                                           const std::function<bool()>& mayRepeat)
{
    StorageResult<PgResult> outcome;
    if (m_connection.isWaiting()) {
        static_cast<StorageStatus&>(outcome) =
            failure(action, QStringLiteral("реестр ещё ждёт ответа сервера на предыдущую команду"));
        outcome.busy = true;
        return outcome;
    }
    if (!isOpen()) {
        static_cast<StorageStatus&>(outcome) = failure(action, QStringLiteral("реестр не открыт"));
        return outcome;
    }
    if (!m_connection.isOpen()) {
        static_cast<StorageStatus&>(outcome) = connect(action, false);
        if (!outcome.ok)
            return outcome;
    }
    const bool wasInTransaction = m_connection.inTransaction();
    outcome.value = statement();
    if (outcome.value.connectionLost() && !outcome.value.timedOut() && !wasInTransaction && mayRepeat()) {
        static_cast<StorageStatus&>(outcome) = connect(action, false);
        if (!outcome.ok)
            return outcome;
        outcome.value = statement();
    }
    if (!outcome.value.ok())
        static_cast<StorageStatus&>(outcome) = failure(action, outcome.value);
    return outcome;
}

StorageResult<PgResult> ServerSession::exec(const QString& action, const QByteArray& sql,
                                            std::span<const QByteArray> values, PgConnection::Format format)
{
    return run(action, [&] { return m_connection.exec(sql, values, format); }, [] { return true; });
}

StorageResult<PgResult> ServerSession::execRowByRow(const QString& action, const QByteArray& sql,
                                                    std::span<const QByteArray> values,
                                                    const std::function<void(const PgResult& row)>& row)
{
    bool rowsCame = false;
    const auto counted = [&](const PgResult& one) {
        rowsCame = true;
        row(one);
    };
    return run(action, [&] { return m_connection.execRowByRow(sql, values, counted); }, [&] { return !rowsCame; });
}

void ServerSession::allowLongSilence(bool allow)
{
    m_connection.setSilenceLimit(allow ? serverErrors::kLongWorkSilenceSeconds : serverErrors::kSilenceSeconds);
}

std::optional<PgConnection::Refusal> ServerSession::openSideConnection(PgConnection& side) const
{
    side.setSilenceLimit(serverErrors::kSilenceSeconds);
    return side.open(m_location, serverErrors::kConnectSeconds, m_password);
}

StorageStatus ServerSession::failure(const QString& action, const PgResult& result) const
{
    return cleanFailure(serverErrors::statementFailure(action, m_place, m_user, result));
}

StorageStatus ServerSession::failure(const QString& action, const QString& reason) const
{
    return cleanFailure(serverErrors::failure(action, m_place, reason));
}

StorageStatus ServerSession::cleanFailure(const QString& message) const
{
    return StorageStatus::failure(m_address.cleaned(message, m_password));
}

} // namespace osago
