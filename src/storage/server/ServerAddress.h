#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace osago {

// A server register's address as the agent wrote it (a libpq connection URI), read by the program itself, so
// that even an address libpq cannot read is shown without its password: the role, the server part, and the
// secrets every text shown must be cleaned of.
class ServerAddress
{
public:
    explicit ServerAddress(const QString& location = {});

    // The address with its password left out (user:password@ becomes user@, a password=... parameter goes).
    const QString& shown() const { return m_shown; }
    // The role written before the @, or empty when the address names none.
    const QString& user() const { return m_user; }
    // The servers the address names in its authority, as written ("host1:5432", "host2"): more than one where the
    // agency keeps a standby, libpq trying them in turn.
    const QStringList& servers() const { return m_servers; }
    bool holdsPassword() const { return !m_secrets.isEmpty(); }

    // `text` with the address replaced by shown() and every password it holds, or `typed`, by "***".
    QString cleaned(const QString& text, const std::optional<QString>& typed = std::nullopt) const;

private:
    QString m_location;
    QString m_shown;
    QString m_user;
    QStringList m_servers;
    // Each password as written and as libpq decodes it.
    QStringList m_secrets;
};

} // namespace osago
