#pragma once

#include "print/Document.h"
#include "print/DocumentPrinter.h"
#include "print/PdfExport.h"

#include <QStringList>

namespace osago::test {

// Records the title of every document given to it; fails on the one named by failOn().
class RecordingPrinter final : public DocumentPrinter
{
public:
    bool print(const Document& document, QString* error) override
    {
        m_attempts << document.title();
        if (document.title() == m_failingTitle) {
            *error = m_failure;
            return false;
        }
        return true;
    }

    void failOn(const QString& title, const QString& failure)
    {
        m_failingTitle = title;
        m_failure = failure;
    }

    const QStringList& attempts() const { return m_attempts; }

private:
    QStringList m_attempts;
    QString m_failingTitle;
    QString m_failure;
};

// Answers the save dialog from a queue; an empty answer is a cancel.
class ScriptedFileNames final : public PdfFileNameSource
{
public:
    void answerNext(const QString& fileName) { m_answers << fileName; }
    QString pdfFileName(QWidget*, const QString& suggestedName) override
    {
        m_suggested << suggestedName;
        return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
    }
    const QStringList& suggested() const { return m_suggested; }
    bool allAnswered() const { return m_answers.isEmpty(); }

private:
    QStringList m_answers;
    QStringList m_suggested;
};

} // namespace osago::test
