#pragma once

#include "storage/server/ServerConnection.h"
#include "storage/PolicyDatabase.h"

#include <QByteArray>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <initializer_list>
#include <memory>
#include <vector>

namespace osago::test {

// The test server the run is on (OSAGO_TEST_SERVER, set by the test's CTest registration: its URI without a
// database), or empty for a run on register files.
inline QString testServer()
{
    return qEnvironmentVariable("OSAGO_TEST_SERVER");
}

inline bool onTestServer()
{
    return !testServer().isEmpty();
}

// A connection of the test's own to a database of the test server, as its superuser, outside the code under test.
class ServerAdmin
{
public:
    explicit ServerAdmin(const QString& database = QStringLiteral("postgres"), const QString& server = testServer())
    {
        m_refusal = m_connection.open(server + u'/' + database, 5, std::nullopt);
    }

    bool isOpen() const { return !m_refusal; }
    QString refusal() const { return m_refusal ? m_refusal->message : QString(); }

    // Runs `sql` with `values` bound ($1, $2, ...); the failure, if any, goes to the test's log.
    PgResult exec(const QString& sql, const QStringList& values = {})
    {
        std::vector<QByteArray> bound;
        for (const QString& value : values)
            bound.push_back(value.toUtf8());
        PgResult result = m_connection.exec(sql.toUtf8(), bound);
        if (!result.ok())
            qWarning("%s: %s", qPrintable(sql.left(200)), qPrintable(result.message()));
        return result;
    }

    // The first value of the first row, or an empty text.
    QString scalar(const QString& sql, const QStringList& values = {})
    {
        const PgResult result = exec(sql, values);
        return result.ok() && result.rows() > 0 ? result.text(0, 0) : QString();
    }

private:
    PgConnection m_connection;
    std::optional<PgConnection::Refusal> m_refusal;
};

// A register of the test's own: Baza.mdb in a temporary folder, or a fresh database on the test server,
// dropped again when the object goes.
class TestRegister
{
public:
    TestRegister()
    {
        if (!onTestServer())
            return;
        m_database = QStringLiteral("osago_%1").arg(QUuid::createUuid().toString(QUuid::Id128));
        ServerAdmin admin;
        if (!admin.isOpen())
            qWarning("test server not reachable: %s", qPrintable(admin.refusal()));
        admin.exec(QStringLiteral("CREATE DATABASE \"%1\"").arg(m_database));
    }
    ~TestRegister()
    {
        if (!m_database.isEmpty())
            ServerAdmin().exec(QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)").arg(m_database));
    }
    TestRegister(const TestRegister&) = delete;
    TestRegister& operator=(const TestRegister&) = delete;

    bool onServer() const { return !m_database.isEmpty(); }
    // The register's file, or its server URI as the superuser.
    QString location() const { return onServer() ? locationAs(QStringLiteral("postgres")) : m_folder.filePath(QStringLiteral("Baza.mdb")); }
    // The server URI for another role (and a password in it, when given).
    QString locationAs(const QString& role, const QString& password = {}) const
    {
        QString server = testServer();
        const QString credentials = password.isEmpty() ? role : role + u':' + password;
        server.replace(QStringLiteral("postgres@"), credentials + u'@');
        return server + u'/' + m_database;
    }
    const QString& databaseName() const { return m_database; }
    QString folder() const { return m_folder.path(); }

    std::unique_ptr<PolicyDatabase> makeDatabase(PasswordSource askPassword = {}) const
    {
        return osago::makeDatabase(location(), std::move(askPassword));
    }
    // A connection of the test's own to the register's database (server runs only).
    std::unique_ptr<ServerAdmin> admin() const { return std::make_unique<ServerAdmin>(m_database); }

private:
    QTemporaryDir m_folder;
    QString m_database;
};

// A role of the test's own that the test server asks `password` of (a member of osago_passworded, see
// scripts/test-server.sh), allowed to make the register's table in the databases of `registers`.
inline QString passwordedRole(std::initializer_list<const TestRegister*> registers, const QString& password)
{
    ServerAdmin admin;
    admin.exec(QStringLiteral("DO $$ BEGIN CREATE ROLE osago_passworded NOLOGIN; "
                              "EXCEPTION WHEN duplicate_object THEN NULL; END $$"));
    const QString role = QStringLiteral("r%1").arg(QUuid::createUuid().toString(QUuid::Id128).left(12));
    admin.exec(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2' IN ROLE osago_passworded").arg(role, password));
    for (const TestRegister* server : registers) {
        server->admin()->exec(QStringLiteral("GRANT ALL ON SCHEMA public TO %1").arg(role));
        admin.exec(QStringLiteral("GRANT ALL ON DATABASE \"%1\" TO %2").arg(server->databaseName(), role));
    }
    return role;
}

inline QString passwordedRole(const TestRegister& server, const QString& password)
{
    return passwordedRole({&server}, password);
}

// Another program's connection to a test's register, outside the code under test: its own SQLite connection to
// the file, or the superuser's to the server's database. Values are marked `?` in the SQL for both and always
// bound; the row id is named key().
class RawRegister
{
public:
    explicit RawRegister(const TestRegister& testRegister)
        : m_name(QUuid::createUuid().toString())
    {
        if (testRegister.onServer())
            m_server = testRegister.admin();
        else
            openFile(testRegister.location());
    }
    // A register file of the test's own making.
    explicit RawRegister(const QString& filePath)
        : m_name(QUuid::createUuid().toString())
    {
        openFile(filePath);
    }
    ~RawRegister()
    {
        if (m_server)
            return;
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    RawRegister(const RawRegister&) = delete;
    RawRegister& operator=(const RawRegister&) = delete;

    QString key() const { return m_server ? QStringLiteral("\"Номер_строки\"") : QStringLiteral("rowid"); }

    // The first value of the first row, or an empty text when there is none or the statement failed.
    QString scalar(const QString& sql, const QStringList& values = {}) { return run(sql, values, true); }
    bool exec(const QString& sql, const QStringList& values = {}) { return !run(sql, values, false).isNull(); }
    // The first value of every row.
    QStringList column(const QString& sql)
    {
        QStringList values;
        if (m_server) {
            const PgResult result = m_server->exec(sql);
            for (int row = 0; row < result.rows(); ++row)
                values << result.text(row, 0);
            return values;
        }
        QSqlQuery query(QSqlDatabase::database(m_name, false));
        query.exec(sql);
        while (query.next())
            values << query.value(0).toString();
        return values;
    }
    qint64 rowCount() { return scalar(QStringLiteral("SELECT count(*) FROM \"TableStrah\"")).toLongLong(); }

private:
    void openFile(const QString& path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.open();
    }

    // A null text for a failure, an empty one for success without a value.
    QString run(const QString& sql, const QStringList& values, bool wantValue)
    {
        if (m_server) {
            QString numbered;
            int mark = 0;
            for (QChar unit : sql)
                numbered += unit == u'?' ? QStringLiteral("$%1").arg(++mark) : QString(unit);
            const PgResult result = m_server->exec(numbered, values);
            if (!result.ok())
                return {};
            return wantValue && result.rows() > 0 ? result.text(0, 0) : QStringLiteral("");
        }
        QSqlQuery query(QSqlDatabase::database(m_name, false));
        if (!query.prepare(sql))
            return {};
        for (const QString& value : values)
            query.addBindValue(value);
        if (!query.exec())
            return {};
        return wantValue && query.next() ? query.value(0).toString() : QStringLiteral("");
    }

    QString m_name;
    std::unique_ptr<ServerAdmin> m_server;
};

} // namespace osago::test
