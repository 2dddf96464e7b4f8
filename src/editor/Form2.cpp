#include "Form2.h"

#include "DriversPage.h"

namespace osago {

Form2::Form2(Messages& messages, QWidget& mainWindow)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_messages(messages)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Редактирование записи"));
    m_driversPage = new DriversPage(*this, messages, this);
}

} // namespace osago
