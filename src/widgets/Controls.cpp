#include "widgets/Controls.h"

#include "widgets/MaskedEdit.h"

#include <QComboBox>
#include <QLineEdit>

namespace osago {

QString controlText(const QWidget* control)
{
    if (const auto* masked = qobject_cast<const MaskedEdit*>(control))
        return masked->maskedText();
    if (const auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (const auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->currentText();
    return {};
}

void setControlText(QWidget* control, const QString& text)
{
    if (auto* masked = qobject_cast<MaskedEdit*>(control))
        masked->setMaskedText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(control))
        combo->isEditable() ? combo->setEditText(text) : combo->setCurrentText(text);
    else
        qFatal("control %s holds no text", qPrintable(control->objectName()));
}

} // namespace osago
