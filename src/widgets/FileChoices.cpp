#include "widgets/FileChoices.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QStandardPaths>

namespace osago {

QString DialogFileChoices::saveFileName(QWidget* parent, const QString& title, const QString& suggestedName,
                                        const QString& filters)
{
    const QDir documents(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    return QFileDialog::getSaveFileName(parent, title, documents.filePath(suggestedName), filters);
}

QString DialogFileChoices::openFileName(QWidget* parent, const QString& title, const QString& startPath,
                                        const QString& filters)
{
    return QFileDialog::getOpenFileName(parent, title, startPath, filters);
}

int DialogFileChoices::chooseItem(QWidget* parent, const QString& title, const QString& label,
                                  const QStringList& items)
{
    bool picked = false;
    const QString item = QInputDialog::getItem(parent, title, label, items, 0, false, &picked);
    return picked ? int(items.indexOf(item)) : -1;
}

} // namespace osago
