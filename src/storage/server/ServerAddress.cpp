#include "storage/server/ServerAddress.h"

#include <QUrl>

namespace osago {

namespace {

const QString kHidden = QStringLiteral("***");

// A password hides in the address as written and percent-decoded, as libpq quotes either.
void addSecret(QStringList& secrets, const QString& written)
{
    if (written.isEmpty())
        return;
    secrets << written;
    const QString decoded = QUrl::fromPercentEncoding(written.toUtf8());
    if (decoded != written)
        secrets << decoded;
}

} // namespace

// Read as libpq reads a URI, leniently: the authority runs to the first "/" or "?", the user information to
// its last "@" (so a password holding an unencoded "@" is hidden whole), the parameters follow the "?".
ServerAddress::ServerAddress(const QString& location)
    : m_location(location)
{
    const qsizetype schemeEnd = location.indexOf(QStringLiteral("://"));
    const qsizetype start = schemeEnd < 0 ? 0 : schemeEnd + 3;
    qsizetype queryStart = location.indexOf(u'?', start);
    if (queryStart < 0)
        queryStart = location.size();
    qsizetype authorityEnd = location.indexOf(u'/', start);
    if (authorityEnd < 0 || authorityEnd > queryStart)
        authorityEnd = queryStart;

    const QString authority = location.mid(start, authorityEnd - start);
    const qsizetype at = authority.lastIndexOf(u'@');
    QString hostPart = authority;
    QString userPart;
    if (at >= 0) {
        const QString userInfo = authority.left(at);
        const qsizetype colon = userInfo.indexOf(u':');
        m_user = QUrl::fromPercentEncoding(userInfo.left(colon).toUtf8());
        if (colon >= 0)
            addSecret(m_secrets, userInfo.mid(colon + 1));
        userPart = userInfo.left(colon) + u'@';
        hostPart = authority.mid(at + 1);
    }

    m_servers = hostPart.split(u',', Qt::SkipEmptyParts);

    QStringList kept;
    const QStringList parameters = location.mid(queryStart + 1).split(u'&', Qt::SkipEmptyParts);
    for (const QString& parameter : parameters) {
        if (parameter.startsWith(QStringLiteral("password="), Qt::CaseInsensitive))
            addSecret(m_secrets, parameter.mid(parameter.indexOf(u'=') + 1));
        else
            kept << parameter;
    }
    m_shown = location.left(start) + userPart + hostPart + location.mid(authorityEnd, queryStart - authorityEnd);
    if (!kept.isEmpty())
        m_shown += u'?' + kept.join(u'&');
}

QString ServerAddress::cleaned(const QString& text, const std::optional<QString>& typed) const
{
    QString clean = text;
    if (!m_location.isEmpty())
        clean.replace(m_location, m_shown);
    for (const QString& secret : m_secrets)
        clean.replace(secret, kHidden);
    if (typed && !typed->isEmpty())
        clean.replace(*typed, kHidden);
    return clean;
}

} // namespace osago
