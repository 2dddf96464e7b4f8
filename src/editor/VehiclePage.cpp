#include "VehiclePage.h"

namespace osago {

VehiclePage::VehiclePage(QWidget& editor, Messages& messages, QWidget* parent)
    : QWidget(parent)
    , m_editor(editor)
    , m_messages(messages)
{
    setObjectName(QStringLiteral("TabSheetTS"));
}

} // namespace osago
