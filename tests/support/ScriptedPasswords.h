#pragma once

#include "widgets/PasswordPrompt.h"

#include <QQueue>
#include <QStringList>

namespace osago::test {

// The tests' password seam: each question is answered from a queue filled in advance (none cancels); every
// prompt is recorded, and a question nobody expected is answered by cancelling.
class ScriptedPasswords final : public PasswordPrompt
{
public:
    void answerNext(std::optional<QString> password) { m_answers.enqueue(std::move(password)); }

    std::optional<QString> askPassword(QWidget*, const QString& prompt) override
    {
        m_prompts << prompt;
        return m_answers.isEmpty() ? std::nullopt : m_answers.dequeue();
    }

    const QStringList& prompts() const { return m_prompts; }
    bool allAnswered() const { return m_answers.isEmpty(); }

private:
    QQueue<std::optional<QString>> m_answers;
    QStringList m_prompts;
};

} // namespace osago::test
