#include "storage/sqlite/SqliteErrors.h"

#include "storage/PolicyColumns.h"

#include "storage/sqlite/SqliteAccess.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>

namespace osago {

namespace {

// SQLite's result codes; an extended code keeps the primary code in its low byte.
enum SqliteCode {
    kPermission = 3,
    kBusy = 5,
    kLocked = 6,
    kReadOnly = 8,
    kIoError = 10,
    kCorrupt = 11,
    kFull = 13,
    kCantOpen = 14,
    kNotADatabase = 26,
    kReadOnlyDbMoved = kReadOnly | (4 << 8),
};

QString reasonFor(int code, const QString& path, int busySeconds)
{
    if (code == kReadOnlyDbMoved)
        return QStringLiteral("файл базы данных удалён или перемещён");
    switch (code & 0xff) {
    case kBusy:
    case kLocked:
        return QStringLiteral("база данных занята другой программой дольше %1 с; повторите, когда та программа "
                              "закончит запись, или закройте её")
            .arg(busySeconds);
    case kReadOnly:
    case kPermission:
    case kCantOpen: {
        const QString obstacle = path.isEmpty() ? QString() : writeObstacle(path);
        if (!obstacle.isEmpty())
            return obstacle;
        return (code & 0xff) == kCantOpen ? QStringLiteral("файл базы данных не удаётся открыть")
                                          : QStringLiteral("файл базы данных доступен только для чтения");
    }
    case kFull:
        return QStringLiteral("на диске нет места; освободите место на диске и повторите");
    case kIoError:
        return QStringLiteral("ошибка чтения или записи файла");
    case kCorrupt:
        return damagedRegisterReason(path);
    case kNotADatabase:
        return QStringLiteral("файл не является базой данных реестра полисов");
    default:
        return QStringLiteral("ошибка базы данных");
    }
}

} // namespace

bool isDamageCode(int sqliteCode)
{
    return (sqliteCode & 0xff) == kCorrupt;
}

QString damagedRegisterReason(const QString& path)
{
    const QString name = path.isEmpty() ? kDefaultRegisterFile.toString() : QFileInfo(path).fileName();
    return QStringLiteral("файл реестра повреждён, и в него ничего не записывается; восстановите реестр из "
                          "резервной копии или извлеките уцелевшие записи в новый файл командой "
                          "sqlite3 %1 \".recover\" | sqlite3 новый.mdb")
        .arg(name);
}

QString storageFailure(const QString& action, const QString& reason, const QString& path)
{
    const QString message = QStringLiteral("%1: %2.").arg(action, reason);
    return path.isEmpty() ? message : message + QStringLiteral("\nФайл: ") + QDir::toNativeSeparators(path);
}

QString storageFailure(const QString& action, int sqliteCode, const QString& detail, const QString& path,
                       int busySeconds)
{
    return storageFailure(action, reasonFor(sqliteCode, path, busySeconds), path) + QStringLiteral("\n(%1)").arg(detail);
}

QString storageFailure(const QString& action, const QSqlError& error, const QString& path, int busySeconds)
{
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric);
    const QString detail = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return storageFailure(action, numeric ? code : -1, detail, path, busySeconds);
}

} // namespace osago
