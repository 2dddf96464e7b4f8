#include "storage/sqlite/SqliteNetworkShare.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/vfs.h>

namespace osago {

namespace {

// The filesystems' magic numbers, as linux/magic.h and the kernel's filesystems give them.
constexpr quint32 kCifsMagic = 0xFF534D42;
constexpr quint32 kSmb2Magic = 0xFE534D42;
constexpr quint32 kSmbMagic = 0x517B;
constexpr quint32 kNfsMagic = 0x6969;
constexpr quint32 kFuseMagic = 0x65735546;

const QStringList kNetworkFuseTypes{QStringLiteral("fuse.sshfs")};

NetworkFileSystemProbe& replacedProbe()
{
    static NetworkFileSystemProbe probe;
    return probe;
}

// The type the mount table gives the mount that holds `folder` (the longest mount point above it).
QString mountTypeOf(const QString& folder)
{
    QFile mounts(QStringLiteral("/proc/self/mounts"));
    if (!mounts.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QString path = QDir::cleanPath(QFileInfo(folder).canonicalFilePath()) + QLatin1Char('/');
    QString type;
    qsizetype longest = -1;
    while (!mounts.atEnd()) {
        const QList<QByteArray> fields = mounts.readLine().split(' ');
        if (fields.size() < 3)
            continue;
        // The table writes a space in a mount point as \040.
        QString point = QString::fromUtf8(fields[1]).replace(QStringLiteral("\\040"), QStringLiteral(" "));
        if (!point.endsWith(QLatin1Char('/')))
            point += QLatin1Char('/');
        if (path.startsWith(point) && point.size() > longest) {
            longest = point.size();
            type = QString::fromUtf8(fields[2]);
        }
    }
    return type;
}

} // namespace

QString networkFileSystemName(quint32 statfsType, const QString& mountType)
{
    switch (statfsType) {
    case kCifsMagic:
        return QStringLiteral("CIFS");
    case kSmb2Magic:
        return QStringLiteral("SMB2");
    case kSmbMagic:
        return QStringLiteral("SMB");
    case kNfsMagic:
        return QStringLiteral("NFS");
    case kFuseMagic:
        return kNetworkFuseTypes.contains(mountType) ? mountType : QString();
    default:
        return {};
    }
}

QString networkFileSystemOf(const QString& folder)
{
    if (const NetworkFileSystemProbe& probe = replacedProbe())
        return probe(folder);
    struct statfs facts{};
    if (statfs(QFile::encodeName(folder).constData(), &facts) != 0)
        return {};
    // The magic numbers are 32 bits; a 32-bit f_type holds the high ones as negative numbers.
    const auto type = quint32(facts.f_type);
    return networkFileSystemName(type, type == kFuseMagic ? mountTypeOf(folder) : QString());
}

void setNetworkFileSystemProbe(NetworkFileSystemProbe probe)
{
    replacedProbe() = std::move(probe);
}

QString networkShareWarning(const QString& path, const QString& fileSystem)
{
    return QStringLiteral("Файл реестра %1 лежит в сетевой папке (%2). Файловый реестр нельзя открывать с "
                          "нескольких компьютеров: одновременная работа с ним по сети портит файл. Для общего "
                          "реестра агентства нужен сервер PostgreSQL (см. README); выбрать его можно в меню "
                          "«Настройки» → «Реестр...».")
        .arg(QDir::toNativeSeparators(path), fileSystem);
}

} // namespace osago
