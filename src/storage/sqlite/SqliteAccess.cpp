#include "storage/sqlite/SqliteAccess.h"

#include <QFileInfo>

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace osago {

namespace {

// Checked for the effective user, as the file system checks the program's own writes.
bool writable(const QString& path)
{
    return faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0;
}

bool onReadOnlyMount(const QString& folder)
{
    struct statvfs info{};
    return statvfs(QFile::encodeName(folder).constData(), &info) == 0 && (info.f_flag & ST_RDONLY) != 0;
}

} // namespace

QString writeObstacle(const QString& path)
{
    const QFileInfo file(path);
    const QString folder = file.absolutePath();
    if (!QFileInfo(folder).isDir())
        return {};
    if (onReadOnlyMount(folder)) {
        return QStringLiteral("реестр лежит на носителе или разделе, доступном только для чтения; чтобы вносить "
                              "записи, скопируйте его на диск, доступный для записи");
    }
    if (file.exists() && !writable(path)) {
        return QStringLiteral("файл реестра защищён от записи; разрешите запись в него (свойства файла) или "
                              "работайте с его копией");
    }
    for (const char* suffix : {"-wal", "-shm"}) {
        const QFileInfo side(path + QLatin1String(suffix));
        if (side.exists() && !writable(side.filePath())) {
            return QStringLiteral("служебный файл реестра %1 принадлежит другому пользователю (%2) и закрыт для "
                                  "записи; пусть его удалит тот пользователь или администратор, когда реестр "
                                  "никем не открыт")
                .arg(side.fileName(), side.owner());
        }
    }
    const bool sideFilesWritable = QFileInfo::exists(path + QStringLiteral("-wal"))
                                   && QFileInfo::exists(path + QStringLiteral("-shm"));
    if (!writable(folder) && !sideFilesWritable) {
        return QStringLiteral("в папку реестра нельзя записывать, а база данных создаёт в ней свои служебные "
                              "файлы (%1-wal, %1-shm); разрешите запись в папку %2")
            .arg(file.fileName(), folder);
    }
    return {};
}

} // namespace osago
