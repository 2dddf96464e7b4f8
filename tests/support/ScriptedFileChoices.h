#pragma once

#include "FileChoices.h"

#include <QQueue>
#include <QStringList>

namespace osago::test {

// The tests' file seam: each choice is answered from a queue filled in advance (an empty text cancels); every
// title asked is recorded, and a choice nobody expected is answered by cancelling.
class ScriptedFileChoices final : public FileChoices
{
public:
    void answerNext(const QString& path) { m_answers.enqueue(path); }

    QString saveFileName(QWidget*, const QString& title, const QString&, const QString&) override
    {
        m_asked << title;
        return m_answers.isEmpty() ? QString() : m_answers.dequeue();
    }

    const QStringList& asked() const { return m_asked; }
    bool allAnswered() const { return m_answers.isEmpty(); }

private:
    QQueue<QString> m_answers;
    QStringList m_asked;
};

} // namespace osago::test
