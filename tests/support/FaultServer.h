#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace osago::test {

// A server of the fault tests' own (the environment's `variable`: "script folder port"; OSAGO_FAULT_SERVER, or
// OSAGO_STANDBY_SERVER for its standby), stopped and started by them through scripts/test-server.sh and stopped
// again when the object goes; the other tests' server is never touched.
class FaultServer
{
public:
    explicit FaultServer(const char* variable = "OSAGO_FAULT_SERVER")
    {
        const QStringList parts = qEnvironmentVariable(variable).split(u' ');
        if (parts.size() == 3) {
            m_script = parts[0];
            m_folder = parts[1];
            m_port = parts[2];
        }
    }
    ~FaultServer() { run(QStringLiteral("stop")); }
    FaultServer(const FaultServer&) = delete;
    FaultServer& operator=(const FaultServer&) = delete;

    // The script's `command` on this server, with `more` words after the folder and the port.
    bool run(const QString& command, const QStringList& more = {}) const
    {
        return !m_script.isEmpty() && QProcess::execute(m_script, QStringList{command, m_folder, m_port} + more) == 0;
    }
    QString server() const { return QStringLiteral("postgresql://postgres@127.0.0.1:%1").arg(m_port); }
    const QString& folder() const { return m_folder; }
    const QString& port() const { return m_port; }
    QString location() const { return server() + QStringLiteral("/postgres"); }

private:
    QString m_script;
    QString m_folder;
    QString m_port;
};

} // namespace osago::test
