#include "app/RegisterSettings.h"

#include <QSettings>
#include <QUrl>

namespace osago {

namespace {

const QString kKindKey = QStringLiteral("register/kind");
const QString kFileKey = QStringLiteral("register/file");
const QString kHostKey = QStringLiteral("register/host");
const QString kPortKey = QStringLiteral("register/port");
const QString kDatabaseKey = QStringLiteral("register/database");
const QString kUserKey = QStringLiteral("register/user");

constexpr int kHighestPort = 65535;

const QString kServerKind = QStringLiteral("server");
const QString kFileKind = QStringLiteral("file");

} // namespace

// QUrl percent-encodes what a URI cannot hold as it is (an @ or / in a name), as libpq expects.
QString RegisterSettings::location() const
{
    if (kind == Kind::File)
        return file;
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setHost(host);
    url.setPort(port);
    if (!user.isEmpty())
        url.setUserName(user);
    url.setPath(QLatin1Char('/') + database);
    return url.toString(QUrl::FullyEncoded);
}

std::optional<RegisterSettings::Problem> RegisterSettings::problem() const
{
    using Field = Problem::Field;
    if (kind == Kind::File) {
        if (file.trimmed().isEmpty())
            return Problem{Field::File, QStringLiteral("Укажите файл реестра.")};
        return std::nullopt;
    }
    if (host.trimmed().isEmpty())
        return Problem{Field::Host, QStringLiteral("Укажите сервер: его имя или адрес.")};
    QUrl hostOnly;
    hostOnly.setHost(host, QUrl::StrictMode);
    if (!hostOnly.isValid() || hostOnly.host().isEmpty())
        return Problem{Field::Host, QStringLiteral("«%1» не похоже на имя или адрес сервера.").arg(host)};
    if (database.trimmed().isEmpty())
        return Problem{Field::Database, QStringLiteral("Укажите базу данных на сервере.")};
    return std::nullopt;
}

RegisterSettings RegisterSettings::load()
{
    const QSettings settings;
    RegisterSettings chosen;
    chosen.kind = settings.value(kKindKey).toString() == kServerKind ? Kind::Server : Kind::File;
    chosen.file = settings.value(kFileKey, chosen.file).toString();
    chosen.host = settings.value(kHostKey).toString();
    chosen.port = settings.value(kPortKey, kDefaultPort).toInt();
    if (chosen.port < 1 || chosen.port > kHighestPort)
        chosen.port = kDefaultPort;
    chosen.database = settings.value(kDatabaseKey).toString();
    chosen.user = settings.value(kUserKey).toString();
    return chosen;
}

// Both kinds are kept, so going back to the other one finds what was typed there.
void RegisterSettings::save() const
{
    QSettings settings;
    settings.setValue(kKindKey, kind == Kind::Server ? kServerKind : kFileKind);
    settings.setValue(kFileKey, file);
    settings.setValue(kHostKey, host);
    settings.setValue(kPortKey, port);
    settings.setValue(kDatabaseKey, database);
    settings.setValue(kUserKey, user);
}

} // namespace osago
