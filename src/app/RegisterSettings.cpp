#include "app/RegisterSettings.h"

#include <QFileInfo>
#include <QSettings>
#include <QUrl>

#include <array>

namespace osago {

namespace {

const QString kKindKey = QStringLiteral("register/kind");
const QString kFileKey = QStringLiteral("register/file");
const QString kHostKey = QStringLiteral("register/host");
const QString kPortKey = QStringLiteral("register/port");
const QString kDatabaseKey = QStringLiteral("register/database");
const QString kUserKey = QStringLiteral("register/user");
const QString kEncryptionKey = QStringLiteral("register/encryption");
const QString kRootCertificateKey = QStringLiteral("register/rootCertificate");

constexpr int kHighestPort = 65535;

const QString kServerKind = QStringLiteral("server");
const QString kFileKind = QStringLiteral("file");

// libpq's sslmode of each choice, in the order of RegisterSettings::Encryption; also how the choice is kept.
constexpr std::array<const char*, 3> kSslModes{"prefer", "require", "verify-full"};

QString sslModeOf(RegisterSettings::Encryption encryption)
{
    return QString::fromLatin1(kSslModes[std::size_t(encryption)]);
}

RegisterSettings::Encryption encryptionOf(const QString& sslMode)
{
    for (std::size_t i = 0; i < kSslModes.size(); ++i) {
        if (sslMode == QLatin1String(kSslModes[i]))
            return RegisterSettings::Encryption(i);
    }
    return RegisterSettings::Encryption::IfOffered;
}

// One server of the list as the URI's authority writes it ("db:5432", "[::1]:5433"): a name or address, an IPv6
// address bare or in brackets, with its own port or `defaultPort`; none for what names no server.
std::optional<QString> authorityOf(const QString& written, int defaultPort)
{
    QString host = written.trimmed();
    QString portText;
    if (host.startsWith(u'[')) {
        const qsizetype close = host.indexOf(u']');
        const QString rest = close < 0 ? QString() : host.mid(close + 1);
        if (close < 0 || (!rest.isEmpty() && !rest.startsWith(u':')))
            return std::nullopt;
        portText = rest.mid(1);
        host = host.mid(1, close - 1);
    } else if (host.count(u':') == 1) {
        portText = host.section(u':', 1);
        host = host.section(u':', 0, 0);
    }
    int port = defaultPort;
    if (!portText.isEmpty()) {
        bool isNumber = false;
        port = portText.toInt(&isNumber);
        if (!isNumber || port < 1 || port > kHighestPort)
            return std::nullopt;
    }
    QUrl url;
    url.setHost(host, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return std::nullopt;
    url.setPort(port);
    return url.authority(QUrl::FullyEncoded);
}

QStringList serversOf(const QString& host)
{
    return host.split(u',', Qt::SkipEmptyParts);
}

} // namespace

// What a URI cannot hold as it is (an @ or / in a name) is percent-encoded, as libpq expects. The authority is
// written by hand: QUrl takes one host only.
QString RegisterSettings::location() const
{
    if (kind == Kind::File)
        return file;
    QStringList servers;
    for (const QString& server : serversOf(host))
        servers << authorityOf(server, port).value_or(server.trimmed());
    QString uri = QStringLiteral("postgresql://");
    if (!user.isEmpty())
        uri += QString::fromLatin1(QUrl::toPercentEncoding(user)) + u'@';
    uri += servers.join(u',') + u'/' + QString::fromLatin1(QUrl::toPercentEncoding(database));
    QStringList parameters;
    if (servers.size() > 1)
        parameters << QStringLiteral("target_session_attrs=read-write");
    if (encryption != Encryption::IfOffered)
        parameters << QStringLiteral("sslmode=") + sslModeOf(encryption);
    if (encryption == Encryption::Verified)
        parameters << QStringLiteral("sslrootcert=")
                          + QString::fromLatin1(QUrl::toPercentEncoding(rootCertificate, "/"));
    return parameters.isEmpty() ? uri : uri + u'?' + parameters.join(u'&');
}

std::optional<RegisterSettings::Problem> RegisterSettings::problem() const
{
    using Field = Problem::Field;
    if (kind == Kind::File) {
        if (file.trimmed().isEmpty())
            return Problem{Field::File, QStringLiteral("Укажите файл реестра.")};
        return std::nullopt;
    }
    const QStringList servers = serversOf(host);
    if (servers.isEmpty())
        return Problem{Field::Host, QStringLiteral("Укажите сервер: его имя или адрес.")};
    for (const QString& server : servers) {
        if (!authorityOf(server, port)) {
            return Problem{Field::Host,
                           QStringLiteral("«%1» не похоже на имя или адрес сервера.").arg(server.trimmed())};
        }
    }
    if (database.trimmed().isEmpty())
        return Problem{Field::Database, QStringLiteral("Укажите базу данных на сервере.")};
    if (encryption != Encryption::Verified)
        return std::nullopt;
    if (rootCertificate.trimmed().isEmpty()) {
        return Problem{Field::RootCertificate,
                       QStringLiteral("Укажите файл корневого сертификата: по нему программа проверяет сервер.")};
    }
    if (!QFileInfo(rootCertificate).isFile())
        return Problem{Field::RootCertificate,
                       QStringLiteral("Файла корневого сертификата «%1» нет.").arg(rootCertificate)};
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
    chosen.encryption = encryptionOf(settings.value(kEncryptionKey).toString());
    chosen.rootCertificate = settings.value(kRootCertificateKey).toString();
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
    settings.setValue(kEncryptionKey, sslModeOf(encryption));
    settings.setValue(kRootCertificateKey, rootCertificate);
}

} // namespace osago
