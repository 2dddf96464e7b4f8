#include "FormMain.h"

namespace osago {

FormMain::FormMain(Messages& messages)
    : m_messages(messages)
{
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("ОСАГО Тальград"));
}

void FormMain::attach(const Windows& windows)
{
    m_windows = windows;
}

} // namespace osago
