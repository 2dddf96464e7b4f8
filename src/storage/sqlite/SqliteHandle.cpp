#include "storage/sqlite/SqliteHandle.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>

namespace osago {

sqlite3* sqliteHandle(const QSqlDatabase& connection)
{
    const QVariant handle = connection.isOpen() ? connection.driver()->handle() : QVariant();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        return *static_cast<sqlite3* const*>(handle.constData());
    return nullptr;
}

void removeDatabaseFile(const QString& path)
{
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

} // namespace osago
