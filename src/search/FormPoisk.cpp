#include "FormPoisk.h"

namespace osago {

FormPoisk::FormPoisk(QWidget& owner)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_owner(owner)
{
    setObjectName(QStringLiteral("FormPoisk"));
    setWindowTitle(QStringLiteral("Поиск"));
    setFixedSize(377, 175);
}

} // namespace osago
