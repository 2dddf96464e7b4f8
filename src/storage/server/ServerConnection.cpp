#include "storage/server/ServerConnection.h"

#include "storage/Utf8Rows.h"

#include <libpq-fe.h>

#include <QDeadlineTimer>
#include <QScopeGuard>
#include <QtEndian>

#include <poll.h>

#include <algorithm>

namespace osago {

namespace {

// The server's notices ("relation already exists, skipping") are for a terminal, not the agent.
void ignoreNotice(void*, const char*) {}

QString fromLibpq(const char* text)
{
    return text ? QString::fromUtf8(text).trimmed() : QString();
}

} // namespace

PgResult::PgResult(pg_result* result, bool connectionLost)
    : m_result(result, &PQclear)
    , m_connectionLost(connectionLost)
{
}

bool PgResult::ok() const
{
    if (!m_result)
        return false;
    switch (PQresultStatus(m_result.get())) {
    case PGRES_COMMAND_OK:
    case PGRES_TUPLES_OK:
    case PGRES_SINGLE_TUPLE:
    case PGRES_COPY_IN:
        return true;
    default:
        return false;
    }
}

QString PgResult::sqlState() const
{
    return m_result ? fromLibpq(PQresultErrorField(m_result.get(), PG_DIAG_SQLSTATE)) : QString();
}

QString PgResult::message() const
{
    if (!m_result)
        return m_clientMessage;
    const QString primary = fromLibpq(PQresultErrorField(m_result.get(), PG_DIAG_MESSAGE_PRIMARY));
    return primary.isEmpty() ? fromLibpq(PQresultErrorMessage(m_result.get())) : primary;
}

int PgResult::rows() const
{
    return m_result ? PQntuples(m_result.get()) : 0;
}

int PgResult::affectedRows() const
{
    return m_result ? QByteArray(PQcmdTuples(m_result.get())).toInt() : 0;
}

int PgResult::columns() const
{
    return m_result ? PQnfields(m_result.get()) : 0;
}

bool PgResult::isNull(int row, int column) const
{
    return PQgetisnull(m_result.get(), row, column) == 1;
}

QString PgResult::text(int row, int column) const
{
    return QString::fromUtf8(PQgetvalue(m_result.get(), row, column), PQgetlength(m_result.get(), row, column));
}

QByteArrayView PgResult::bytes(int row, int column) const
{
    return {PQgetvalue(m_result.get(), row, column), PQgetlength(m_result.get(), row, column)};
}

qint64 PgResult::binaryInt64(int row, int column) const
{
    return qFromBigEndian<qint64>(PQgetvalue(m_result.get(), row, column));
}

void PgResult::appendRows(int firstColumn, int count, Utf8Rows& rows) const
{
    for (int row = 0; row < this->rows(); ++row) {
        for (int column = firstColumn; column < firstColumn + count; ++column) {
            if (isNull(row, column)) {
                rows.appendNull();
                continue;
            }
            const QByteArrayView value = bytes(row, column);
            rows.append(value.data(), value.size());
        }
        rows.endRow();
    }
}

PgConnection::PgConnection() = default;

PgConnection::~PgConnection()
{
    close();
}

std::optional<PgConnection::Refusal> PgConnection::open(const QString& location, int connectSeconds,
                                                        const std::optional<QString>& password)
{
    close();
    m_timedOut = false;
    // libpq takes the last value of a repeated key word: the defaults come before the location (expanded from
    // "dbname"), the password given and the encoding the program reads and writes after it.
    const QByteArray timeout = QByteArray::number(connectSeconds);
    const QByteArray uri = location.toUtf8();
    const QByteArray secret = password ? password->toUtf8() : QByteArray();
    std::vector<const char*> keys{"connect_timeout", "fallback_application_name", "dbname", "client_encoding"};
    std::vector<const char*> values{timeout.constData(), "osago", uri.constData(), "UTF8"};
    if (password) {
        keys.push_back("password");
        values.push_back(secret.constData());
    }
    keys.push_back(nullptr);
    values.push_back(nullptr);
    m_conn = PQconnectdbParams(keys.data(), values.data(), 1);
    if (m_conn && PQstatus(m_conn) == CONNECTION_OK) {
        PQsetNoticeProcessor(m_conn, &ignoreNotice, nullptr);
        return std::nullopt;
    }
    Refusal refusal;
    char* parseError = nullptr;
    if (PQconninfoOption* options = PQconninfoParse(uri.constData(), &parseError))
        PQconninfoFree(options);
    refusal.unreadableLocation = parseError != nullptr;
    PQfreemem(parseError);
    refusal.message = m_conn ? fromLibpq(PQerrorMessage(m_conn)) : QStringLiteral("out of memory");
    refusal.needsPassword = m_conn && PQconnectionNeedsPassword(m_conn) == 1;
    refusal.usedPassword = m_conn && PQconnectionUsedPassword(m_conn) == 1;
    return refusal;
}

void PgConnection::close()
{
    if (m_conn)
        PQfinish(m_conn);
    m_conn = nullptr;
}

bool PgConnection::isOpen() const
{
    return m_conn && PQstatus(m_conn) == CONNECTION_OK;
}

bool PgConnection::inTransaction() const
{
    return m_conn && PQtransactionStatus(m_conn) != PQTRANS_IDLE;
}

int PgConnection::backendPid() const
{
    return m_conn ? PQbackendPID(m_conn) : 0;
}

QString PgConnection::host() const
{
    return m_conn ? fromLibpq(PQhost(m_conn)) : QString();
}

QString PgConnection::port() const
{
    return m_conn ? fromLibpq(PQport(m_conn)) : QString();
}

QString PgConnection::database() const
{
    return m_conn ? fromLibpq(PQdb(m_conn)) : QString();
}

QString PgConnection::user() const
{
    return m_conn ? fromLibpq(PQuser(m_conn)) : QString();
}

QString PgConnection::tlsProtocol() const
{
    if (!isOpen() || PQsslInUse(m_conn) != 1)
        return {};
    return fromLibpq(PQsslAttribute(m_conn, "protocol"));
}

QString PgConnection::sslMode() const
{
    QString mode;
    if (PQconninfoOption* options = m_conn ? PQconninfo(m_conn) : nullptr) {
        for (const PQconninfoOption* option = options; option->keyword; ++option) {
            if (qstrcmp(option->keyword, "sslmode") == 0)
                mode = fromLibpq(option->val);
        }
        PQconninfoFree(options);
    }
    return mode;
}

PgResult PgConnection::exec(const QByteArray& sql, std::span<const QByteArray> values, Format format)
{
    if (!send(sql, values, format))
        return clientFailure();
    PgResult last;
    for (PgResult result = next(); result.m_result; result = next()) {
        last = result;
        if (PQresultStatus(result.m_result.get()) == PGRES_COPY_IN)
            break;
    }
    return last.m_result && !m_timedOut ? last : clientFailure();
}

PgResult PgConnection::execRowByRow(const QByteArray& sql, std::span<const QByteArray> values,
                                    const std::function<void(const PgResult& row)>& row)
{
    if (!send(sql, values, Format::Text) || PQsetSingleRowMode(m_conn) != 1)
        return clientFailure();
    PgResult last;
    for (PgResult result = next(); result.m_result; result = next()) {
        if (PQresultStatus(result.m_result.get()) == PGRES_SINGLE_TUPLE)
            row(result);
        else
            last = result;
    }
    return last.m_result && !m_timedOut ? last : clientFailure();
}

bool PgConnection::start(const QByteArray& sql)
{
    return send(sql, {}, Format::Text);
}

bool PgConnection::waitReady(int ms)
{
    if (!m_conn || PQconsumeInput(m_conn) != 1)
        return true;
    if (PQisBusy(m_conn) == 0)
        return true;
    pollfd socket{PQsocket(m_conn), POLLIN, 0};
    poll(&socket, 1, ms);
    return PQconsumeInput(m_conn) != 1 || PQisBusy(m_conn) == 0;
}

PgResult PgConnection::finish()
{
    PgResult last;
    for (PgResult result = next(); result.m_result; result = next())
        last = result;
    return last.m_result && !m_timedOut ? last : clientFailure();
}

bool PgConnection::putCopyData(const QByteArray& lines)
{
    return m_conn && PQputCopyData(m_conn, lines.constData(), int(lines.size())) == 1;
}

PgResult PgConnection::endCopy(const std::optional<QString>& failure)
{
    const QByteArray reason = failure ? failure->toUtf8() : QByteArray();
    if (!m_conn || PQputCopyEnd(m_conn, failure ? reason.constData() : nullptr) != 1)
        return clientFailure();
    return finish();
}

bool PgConnection::send(const QByteArray& sql, std::span<const QByteArray> values, Format format)
{
    m_timedOut = false;
    if (!m_conn)
        return false;
    // A statement without values goes as a simple query, which may hold several statements (a script).
    if (values.empty() && format == Format::Text)
        return PQsendQuery(m_conn, sql.constData()) == 1;
    std::vector<const char*> texts;
    std::vector<int> lengths;
    texts.reserve(values.size());
    lengths.reserve(values.size());
    for (const QByteArray& value : values) {
        texts.push_back(value.constData());
        lengths.push_back(int(value.size()));
    }
    return PQsendQueryParams(m_conn, sql.constData(), int(values.size()), nullptr, texts.data(), lengths.data(),
                             nullptr, int(format))
           == 1;
}

PgResult PgConnection::next()
{
    if (!awaitResult())
        return {};
    pg_result* result = PQgetResult(m_conn);
    return PgResult(result, result && PQstatus(m_conn) == CONNECTION_BAD);
}

// A blocking PQgetResult() would wait on a silent server without end: the socket is watched instead, and every
// byte that comes starts the silence anew, so a long answer arriving row by row is never cut. The wait hook runs
// between the looks at the socket.
bool PgConnection::awaitResult()
{
    if (!m_conn || m_silenceMs <= 0)
        return true;
    m_waiting = true;
    const auto waited = qScopeGuard([this] { m_waiting = false; });
    QDeadlineTimer silence(m_silenceMs);
    QDeadlineTimer nextHook(m_waitHookMs);
    while (PQconsumeInput(m_conn) == 1 && PQisBusy(m_conn) == 1) {
        if (silence.hasExpired()) {
            close();
            m_timedOut = true;
            return false;
        }
        const qint64 look = m_waitHook ? std::min(silence.remainingTime(), nextHook.remainingTime())
                                       : silence.remainingTime();
        pollfd socket{PQsocket(m_conn), POLLIN, 0};
        if (poll(&socket, 1, int(look)) > 0)
            silence.setRemainingTime(m_silenceMs);
        if (m_waitHook && nextHook.hasExpired()) {
            m_waitHook();
            nextHook.setRemainingTime(m_waitHookMs);
        }
    }
    return true;
}

PgResult PgConnection::clientFailure() const
{
    PgResult failure;
    failure.m_connectionLost = !m_conn || PQstatus(m_conn) == CONNECTION_BAD;
    failure.m_timedOut = m_timedOut;
    if (m_timedOut)
        failure.m_clientMessage = QStringLiteral("no answer from the server for %1 s").arg(m_silenceMs / 1000);
    else
        failure.m_clientMessage = m_conn ? fromLibpq(PQerrorMessage(m_conn)) : QStringLiteral("no connection");
    return failure;
}

} // namespace osago
