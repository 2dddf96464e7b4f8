#pragma once

#include "widgets/Messages.h"

#include <QQueue>
#include <QString>
#include <QStringList>

namespace osago::test {

// The tests' message seam: questions are answered from a queue the test fills in advance,
// every message shown is recorded. A question nobody expected, or an answer left unused,
// makes verify() fail.
class ScriptedMessages final : public Messages
{
public:
    struct Shown
    {
        QString title;
        QString text;
        Icon icon;
    };

    void answerNext(bool yes) { m_answers.enqueue(yes); }

    bool confirm(QWidget*, const QString& title, const QString& text) override
    {
        m_questions << title + QStringLiteral(": ") + text;
        if (m_answers.isEmpty()) {
            m_unexpected << text;
            return false;
        }
        return m_answers.dequeue();
    }

    // Answered from the same queue; the question is also kept among those whose default is No.
    bool confirmDefaultNo(QWidget* parent, const QString& title, const QString& text) override
    {
        m_defaultNo << text;
        return confirm(parent, title, text);
    }

    void show(QWidget*, const QString& title, const QString& text, Icon icon) override
    {
        m_shown.push_back({title, text, icon});
    }

    void beep() override { ++m_beeps; }

    const QStringList& questions() const { return m_questions; }
    const QStringList& defaultNoQuestions() const { return m_defaultNo; }
    const QList<Shown>& shown() const { return m_shown; }
    QStringList shownTexts() const
    {
        QStringList texts;
        for (const Shown& s : m_shown)
            texts << s.text;
        return texts;
    }
    int beeps() const { return m_beeps; }
    void clearRecord()
    {
        m_questions.clear();
        m_defaultNo.clear();
        m_shown.clear();
        m_beeps = 0;
    }

    // Empty when every answer was used and no question came unexpectedly; else what went wrong.
    QString problems() const
    {
        QStringList out;
        for (const QString& q : m_unexpected)
            out << QStringLiteral("unexpected question: ") + q;
        if (!m_answers.isEmpty())
            out << QStringLiteral("%1 answer(s) never asked for").arg(m_answers.size());
        return out.join(QLatin1Char('\n'));
    }

private:
    QQueue<bool> m_answers;
    QStringList m_questions;
    QStringList m_defaultNo;
    QStringList m_unexpected;
    QList<Shown> m_shown;
    int m_beeps = 0;
};

} // namespace osago::test

// Fails the current test when the seam saw an unexpected question or kept an unused answer.
#define OSAGO_VERIFY_MESSAGES(seam) QVERIFY2((seam).problems().isEmpty(), qPrintable((seam).problems()))
