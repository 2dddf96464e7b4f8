#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

class QWidget;

namespace osago {

// Every file the agent chooses passes through one object of this interface, owned by the program; tests answer
// through their own, so no test meets a file dialog.
class FileChoices
{
public:
    virtual ~FileChoices() = default;
    // The file to write, or an empty text when the agent cancels. `filters` as a file dialog takes them
    // ("Книга Excel (*.xlsx);;Таблица CSV (*.csv)"), the first chosen at the start; `notes` the words shown
    // beside a filter while it is chosen.
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& suggestedName,
                                 const QString& filters, const QMap<QString, QString>& notes = {}) = 0;
    // The existing file to open, starting at `startPath`, or an empty text when the agent cancels.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& startPath,
                                 const QString& filters) = 0;
    // The position of the item the agent picks from `items`, or -1 when the agent cancels.
    virtual int chooseItem(QWidget* parent, const QString& title, const QString& label, const QStringList& items) = 0;
};

// The platform's file dialogs; a file to write starts in the documents folder.
class DialogFileChoices final : public FileChoices
{
public:
    QString saveFileName(QWidget* parent, const QString& title, const QString& suggestedName,
                         const QString& filters, const QMap<QString, QString>& notes = {}) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& startPath,
                         const QString& filters) override;
    int chooseItem(QWidget* parent, const QString& title, const QString& label, const QStringList& items) override;
};

} // namespace osago
