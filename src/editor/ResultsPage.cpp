#include "ResultsPage.h"

namespace osago {

ResultsPage::ResultsPage(QWidget& editor, Messages& messages, QWidget* parent)
    : QWidget(parent)
    , m_editor(editor)
    , m_messages(messages)
{
    setObjectName(QStringLiteral("TabSheetRez"));
}

} // namespace osago
