#pragma once

#include <QString>

class QWidget;

namespace osago {

// Every question and message the program puts to the agent passes through one object of this
// interface, owned by the program; tests answer through their own implementation, so no test
// ever waits on a modal box.
class Messages
{
public:
    enum class Icon { Information, Warning, Critical };

    virtual ~Messages() = default;

    // A Yes/No confirmation with the question icon; true when the agent answers Yes.
    virtual bool confirm(QWidget* parent, const QString& title, const QString& text) = 0;
    // The same with No as the default answer: a question whose Yes goes against a rule.
    virtual bool confirmDefaultNo(QWidget* parent, const QString& title, const QString& text)
    {
        return confirm(parent, title, text);
    }
    virtual void show(QWidget* parent, const QString& title, const QString& text, Icon icon) = 0;

    // The platform's beep that goes with a refused input.
    virtual void beep() = 0;
};

// The production seam: Qt message boxes with English Yes/No buttons.
class DialogMessages final : public Messages
{
public:
    bool confirm(QWidget* parent, const QString& title, const QString& text) override;
    bool confirmDefaultNo(QWidget* parent, const QString& title, const QString& text) override;
    void show(QWidget* parent, const QString& title, const QString& text, Icon icon) override;
    void beep() override;
};

// Titles the program uses for its boxes.
inline const QString kConfirmTitle = QStringLiteral("Confirm");
inline const QString kProgramTitle = QStringLiteral("ОСАГО Тальград");

} // namespace osago
