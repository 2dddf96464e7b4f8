#pragma once

#include <QToolButton>

class QAction;

namespace osago {

// A toolbar button standing in for a menu command: pressing it runs the command, and it shows the command's
// picture. Its tooltip is its own short text, written each time the mouse moves over the button; the command's
// caption, which Qt would otherwise copy into the tooltip, never shows.
class CommandButton : public QToolButton
{
    Q_OBJECT

public:
    CommandButton(QAction& command, QString tooltip, QWidget* parent);

protected:
    bool event(QEvent* event) override;
    void actionEvent(QActionEvent* event) override;

private:
    QString m_tooltip;
    // What the mouse-move handler last wrote; empty until the mouse first moves over the button.
    QString m_writtenTooltip;
};

} // namespace osago
