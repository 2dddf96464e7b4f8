#include "app/CommandButton.h"

#include <QAction>
#include <QEvent>

namespace osago {

CommandButton::CommandButton(QAction& command, QString tooltip, QWidget* parent)
    : QToolButton(parent)
    , m_tooltip(std::move(tooltip))
{
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setAutoRaise(true);
    setIconSize(QSize(16, 16));
    setFixedSize(23, 22);
    // Mouse moves reach the button without a pressed button only when it tracks the mouse.
    setMouseTracking(true);
    setDefaultAction(&command);
    setToolTip(m_writtenTooltip);
}

bool CommandButton::event(QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        m_writtenTooltip = m_tooltip;
        setToolTip(m_writtenTooltip);
    }
    return QToolButton::event(event);
}

// A change of the command (enabled, picture, caption) makes Qt copy its caption into the tooltip again.
void CommandButton::actionEvent(QActionEvent* event)
{
    QToolButton::actionEvent(event);
    setToolTip(m_writtenTooltip);
}

} // namespace osago
