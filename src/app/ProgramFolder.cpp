#include "app/ProgramFolder.h"

#include <QDir>
#include <QStandardPaths>

namespace osago {

QString programFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        .filePath(QStringLiteral("ОСАГО Тальград"));
}

QString enterProgramFolder(const QString& folder)
{
    if (!QDir().mkpath(folder))
        return QStringLiteral("Не удалось создать папку программы «%1».").arg(QDir::toNativeSeparators(folder));
    if (!QDir::setCurrent(folder))
        return QStringLiteral("Не удалось перейти в папку программы «%1».").arg(QDir::toNativeSeparators(folder));
    return {};
}

} // namespace osago
