#pragma once

#include "print/Document.h"

#include <QString>

class QWidget;

namespace osago {

// Writes the documents into one PDF file, a page each, A4 without margins, at printer resolution. The file appears
// whole or not at all, titled `title` in its properties; without one, by the one document's title, or as a
// policy's documents. On failure `error` receives the agent's message with the reason.
bool writePdf(const DocumentList& documents, const QString& fileName, QString* error, const QString& title = {});

// Asks where a PDF goes. The program asks through one object of this interface, so tests never open a dialog.
class PdfFileNameSource
{
public:
    virtual ~PdfFileNameSource() = default;
    // The chosen file name, or an empty text when the agent cancels.
    virtual QString pdfFileName(QWidget* parent, const QString& suggestedName) = 0;
};

// The platform's save-file dialog, starting in the documents folder.
class DialogPdfFileNames final : public PdfFileNameSource
{
public:
    QString pdfFileName(QWidget* parent, const QString& suggestedName) override;
};

} // namespace osago
