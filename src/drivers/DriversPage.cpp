#include "DriversPage.h"

namespace osago {

DriversPage::DriversPage(QWidget& editor, Messages& messages, QWidget* parent)
    : QWidget(parent)
    , m_editor(editor)
    , m_messages(messages)
{
    setObjectName(QStringLiteral("TabSheetVodit"));
}

void DriversPage::attachDialog(FormPlus& dialog)
{
    m_dialog = &dialog;
}

void DriversPage::resetUnrestricted() {}

void DriversPage::clearDrivers() {}

} // namespace osago
