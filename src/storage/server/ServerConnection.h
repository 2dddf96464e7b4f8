#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

struct pg_conn;
struct pg_result;

namespace osago {

class Utf8Rows;

// The outcome of one statement on a PostgreSQL connection, owning libpq's result.
class PgResult
{
public:
    PgResult() = default;
    explicit PgResult(pg_result* result, bool connectionLost);

    // The statement succeeded (rows, a command, or the start of a copy).
    bool ok() const;
    // The five characters of the server's SQLSTATE, or empty when the failure came from the client side.
    QString sqlState() const;
    // The server's or libpq's own words for the failure.
    QString message() const;
    // The connection broke during the statement (the server stopped or restarted, the network failed).
    bool connectionLost() const { return m_connectionLost; }
    // The server stayed silent past the connection's silence limit; the connection was dropped (see
    // PgConnection::setSilenceLimit), and whether the statement took effect is unknown.
    bool timedOut() const { return m_timedOut; }

    int rows() const;
    // The number of rows an INSERT, UPDATE or DELETE touched.
    int affectedRows() const;
    int columns() const;
    bool isNull(int row, int column) const;
    QString text(int row, int column) const;
    // The value's bytes as the server sent them (UTF-8 in text format), valid while the result lives.
    QByteArrayView bytes(int row, int column) const;
    // A bigint of a result read in binary format.
    qint64 binaryInt64(int row, int column) const;
    // Appends every row's `count` values from `firstColumn` on to `rows`, as the server sent them (UTF-8 in
    // text format), NULL kept as NULL.
    void appendRows(int firstColumn, int count, Utf8Rows& rows) const;

private:
    std::shared_ptr<pg_result> m_result;
    bool m_connectionLost = false;
    bool m_timedOut = false;
    QString m_clientMessage;

    friend class PgConnection;
};

// One libpq connection. Values are always sent as bound texts, apart from the statement; results come as text
// or, for row ids, in binary (eight bytes a row, no parsing).
class PgConnection
{
public:
    // What a failed connection attempt tells.
    struct Refusal
    {
        // libpq's words, the server's included.
        QString message;
        // The server asks for a password and none was given.
        bool needsPassword = false;
        // A password was sent (given, or found in ~/.pgpass or the location) and the attempt still failed.
        bool usedPassword = false;
        // libpq could not read the location itself.
        bool unreadableLocation = false;
    };
    enum class Format { Text = 0, Binary = 1 };

    PgConnection();
    ~PgConnection();
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    // Connects to the libpq connection URI `location`, giving up after `connectSeconds`; `password`, when
    // given, takes the place of libpq's own means. Every value the location sets wins over these defaults,
    // except the client encoding, which is always UTF-8.
    std::optional<Refusal> open(const QString& location, int connectSeconds, const std::optional<QString>& password);
    void close();
    bool isOpen() const;
    // How long a statement may wait for the server's next word, in seconds (0: without limit). Past it the
    // connection is closed and the statement fails as timedOut().
    void setSilenceLimit(int seconds) { m_silenceMs = seconds * 1000; }
    // Runs `hook` every `intervalMs` while a statement waits within the silence limit (the window repaints).
    void setWaitHook(std::function<void()> hook, int intervalMs)
    {
        m_waitHook = std::move(hook);
        m_waitHookMs = intervalMs;
    }
    // Whether a statement is waiting for the server's answer (the wait hook is running): no other may start.
    bool isWaiting() const { return m_waiting; }
    // Whether a transaction is open on the connection.
    bool inTransaction() const;
    // The server process serving the connection, as the server's statistics name it.
    int backendPid() const;

    // What the connection reached, also after a failed attempt: host (or socket folder), port, database, role.
    QString host() const;
    QString port() const;
    QString database() const;
    QString user() const;
    // The TLS protocol the open connection is encrypted with ("TLSv1.3"), empty when it is not encrypted.
    QString tlsProtocol() const;
    // The sslmode the connection was made under (libpq's default "prefer" when the address names none).
    QString sslMode() const;

    PgResult exec(const QByteArray& sql, std::span<const QByteArray> values = {}, Format format = Format::Text);
    // As exec(), the rows handed to `row` one at a time as they arrive instead of gathered first; `row` gets a
    // result of one row. Ends with the statement's own outcome.
    PgResult execRowByRow(const QByteArray& sql, std::span<const QByteArray> values,
                          const std::function<void(const PgResult& row)>& row);

    // A statement sent without waiting for it: waitReady() tells whether its outcome has arrived within `ms`,
    // finish() waits for it and gives it.
    bool start(const QByteArray& sql);
    bool waitReady(int ms);
    PgResult finish();

    // A copy started by exec("COPY ... FROM STDIN"): each block of lines, then the end (with `failure`, the
    // server drops everything copied and the copy fails).
    bool putCopyData(const QByteArray& lines);
    PgResult endCopy(const std::optional<QString>& failure = std::nullopt);

private:
    bool send(const QByteArray& sql, std::span<const QByteArray> values, Format format);
    PgResult next();
    // Waits for a whole result within the silence limit; false when it ran out and the connection was closed.
    bool awaitResult();
    PgResult clientFailure() const;

    pg_conn* m_conn = nullptr;
    int m_silenceMs = 0;
    bool m_timedOut = false;
    std::function<void()> m_waitHook;
    int m_waitHookMs = 0;
    bool m_waiting = false;
};

} // namespace osago
