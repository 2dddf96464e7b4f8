#pragma once

#include "Document.h"

#include <QWidget>

class QPrintPreviewWidget;
class QPrinter;

namespace osago {

class DocumentPrinter;
class FileChoices;
class Messages;

// "Отчёт агента": the report's pages in a preview, printed or saved as one PDF file.
class FormReport : public QWidget
{
    Q_OBJECT

public:
    FormReport(Messages& messages, DocumentPrinter& printer, FileChoices& files);
    ~FormReport() override;

    // Shows `pages` maximised; `suggestedName` is the PDF file offered.
    void showReport(DocumentList pages, const QString& suggestedName);
    const DocumentList& pages() const { return m_pages; }

private:
    void ButtonPrintClick();
    void ButtonPdfClick();

    Messages& m_messages;
    DocumentPrinter& m_printer;
    FileChoices& m_files;
    DocumentList m_pages;
    QString m_suggestedName;
    std::unique_ptr<QPrinter> m_previewPrinter;
    QPrintPreviewWidget* m_view = nullptr;
};

} // namespace osago
