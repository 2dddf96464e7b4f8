#include "widgets/NotedFileDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QRegularExpression>

namespace osago {

NotedFileDialog::NotedFileDialog(QWidget* parent, const QString& title, const QString& path, const QString& filters,
                                 const QMap<QString, QString>& notes)
    : QFileDialog(parent, title, path, filters)
    , m_notes(notes)
    , m_note(new QLabel(this))
{
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptSave);
    m_note->setObjectName(QStringLiteral("LabelFileNote"));
    m_note->setWordWrap(true);
    // Qt's dialog lays itself out in a grid: the note goes under the row of the file kinds.
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(m_note, grid->rowCount(), 0, 1, grid->columnCount());
    connect(this, &QFileDialog::filterSelected, this, &NotedFileDialog::showChoice);
    showChoice(selectedNameFilter());
}

void NotedFileDialog::showChoice(const QString& filter)
{
    m_note->setText(m_notes.value(filter));
    m_note->setVisible(m_notes.contains(filter));
    static const QRegularExpression extension(QStringLiteral("\\*\\.(\\w+)"));
    setDefaultSuffix(extension.match(filter).captured(1));
}

} // namespace osago
