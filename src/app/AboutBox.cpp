#include "AboutBox.h"

namespace osago {

AboutBox::AboutBox(Messages& messages, QWidget& mainWindow)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_messages(messages)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("О программе"));
}

} // namespace osago
