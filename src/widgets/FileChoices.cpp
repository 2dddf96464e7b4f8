#include "widgets/FileChoices.h"

#include "widgets/NotedFileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QStandardPaths>

namespace osago {

QString DialogFileChoices::saveFileName(QWidget* parent, const QString& title, const QString& suggestedName,
                                        const QString& filters, const QMap<QString, QString>& notes)
{
    const QDir documents(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (notes.isEmpty())
        return QFileDialog::getSaveFileName(parent, title, documents.filePath(suggestedName), filters);
    NotedFileDialog dialog(parent, title, documents.filePath(suggestedName), filters, notes);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
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
