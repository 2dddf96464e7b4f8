#pragma once

#include "widgets/FileChoices.h"

#include <QQueue>
#include <QStringList>

namespace osago::test {

// The tests' file seam: each choice is answered from a queue filled in advance (an empty text cancels); every
// title asked is recorded, and a choice nobody expected is answered by cancelling.
class ScriptedFileChoices final : public FileChoices
{
public:
    void answerNext(const QString& path) { m_answers.enqueue(path); }

    QString saveFileName(QWidget*, const QString& title, const QString&, const QString& filters,
                         const QMap<QString, QString>& notes = {}) override
    {
        m_asked << title;
        m_filters = filters;
        m_notes = notes;
        return m_answers.isEmpty() ? QString() : m_answers.dequeue();
    }

    QString openFileName(QWidget*, const QString& title, const QString&, const QString&) override
    {
        m_asked << title;
        return m_answers.isEmpty() ? QString() : m_answers.dequeue();
    }

    void pickNext(int item) { m_picks.enqueue(item); }

    int chooseItem(QWidget*, const QString& title, const QString&, const QStringList& items) override
    {
        m_asked << title;
        m_offered = items;
        return m_picks.isEmpty() ? -1 : m_picks.dequeue();
    }

    const QStringList& offered() const { return m_offered; }
    // The filters and their notes of the last file to write.
    const QString& filters() const { return m_filters; }
    const QMap<QString, QString>& notes() const { return m_notes; }
    const QStringList& asked() const { return m_asked; }
    bool allAnswered() const { return m_answers.isEmpty() && m_picks.isEmpty(); }

private:
    QQueue<QString> m_answers;
    QQueue<int> m_picks;
    QStringList m_asked;
    QStringList m_offered;
    QString m_filters;
    QMap<QString, QString> m_notes;
};

} // namespace osago::test
