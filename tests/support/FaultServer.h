#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace osago::test {

// The fault tests' own server (OSAGO_FAULT_SERVER: "script folder port"), stopped and started by them; the
// other tests' server is never touched. The tests using it hold the lock osago_fault_server, one at a time.
class FaultServer
{
public:
    FaultServer()
    {
        const QStringList parts = qEnvironmentVariable("OSAGO_FAULT_SERVER").split(u' ');
        if (parts.size() == 3) {
            m_script = parts[0];
            m_folder = parts[1];
            m_port = parts[2];
        }
    }
    ~FaultServer() { run(QStringLiteral("stop")); }

    bool run(const QString& command) const
    {
        return !m_script.isEmpty()
               && QProcess::execute(m_script, {command, m_folder, m_port}) == 0;
    }
    QString server() const { return QStringLiteral("postgresql://postgres@127.0.0.1:%1").arg(m_port); }
    const QString& folder() const { return m_folder; }
    QString location() const { return server() + QStringLiteral("/postgres"); }

private:
    QString m_script;
    QString m_folder;
    QString m_port;
};

} // namespace osago::test
