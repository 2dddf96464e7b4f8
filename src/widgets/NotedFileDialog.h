#pragma once

#include <QFileDialog>
#include <QMap>

class QLabel;

namespace osago {

// A save-file dialog that says a word beside the kind of file chosen, while it is chosen (what a spreadsheet does
// to a CSV file), and gives a name typed without extension the chosen kind's. Qt's own dialog, since the
// platform's takes no words of ours.
class NotedFileDialog final : public QFileDialog
{
public:
    // `notes`: the word for each filter of `filters` that has one.
    NotedFileDialog(QWidget* parent, const QString& title, const QString& path, const QString& filters,
                    const QMap<QString, QString>& notes);

private:
    void showChoice(const QString& filter);

    QMap<QString, QString> m_notes;
    QLabel* m_note;
};

} // namespace osago
