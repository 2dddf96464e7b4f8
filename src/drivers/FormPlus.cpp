#include "FormPlus.h"

namespace osago {

FormPlus::FormPlus(QWidget& editor, DriversPage& page, Messages& messages)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_editor(editor)
    , m_page(page)
    , m_messages(messages)
{
    setObjectName(QStringLiteral("FormPlus"));
    setWindowTitle(QStringLiteral("Сведения о водителе"));
}

} // namespace osago
