#include "widgets/PasswordPrompt.h"

#include <QInputDialog>
#include <QLineEdit>

namespace osago {

std::optional<QString> DialogPasswordPrompt::askPassword(QWidget* parent, const QString& prompt)
{
    QInputDialog box(parent);
    box.setObjectName(QStringLiteral("FormPassword"));
    box.setWindowTitle(kPasswordTitle);
    box.setLabelText(prompt);
    box.setTextEchoMode(QLineEdit::Password);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

} // namespace osago
