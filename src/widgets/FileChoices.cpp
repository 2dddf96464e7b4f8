#include "FileChoices.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

namespace osago {

QString DialogFileChoices::saveFileName(QWidget* parent, const QString& title, const QString& suggestedName,
                                        const QString& filters)
{
    const QDir documents(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    return QFileDialog::getSaveFileName(parent, title, documents.filePath(suggestedName), filters);
}

} // namespace osago
