#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace osago {

// Every password the program asks the agent for passes through one object of this interface, owned by the
// program; tests answer through their own, so no test meets a password box.
class PasswordPrompt
{
public:
    virtual ~PasswordPrompt() = default;
    // The password the agent types under `prompt` (which names the server and the user), or none when the
    // agent cancels.
    virtual std::optional<QString> askPassword(QWidget* parent, const QString& prompt) = 0;
};

// The production seam: a small box whose edit shows dots in place of what is typed.
class DialogPasswordPrompt final : public PasswordPrompt
{
public:
    std::optional<QString> askPassword(QWidget* parent, const QString& prompt) override;
};

inline const QString kPasswordTitle = QStringLiteral("Пароль к серверу реестра");

} // namespace osago
