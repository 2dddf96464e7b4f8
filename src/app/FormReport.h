#pragma once

#include "print/Document.h"

#include <QWidget>

class QLabel;

namespace osago {

class DocumentPrinter;
class FileChoices;
class Messages;
class PagePreview;

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
    PagePreview& preview() const { return *m_view; }

private:
    void ButtonPrintClick();
    void ButtonPdfClick();

    Messages& m_messages;
    DocumentPrinter& m_printer;
    FileChoices& m_files;
    DocumentList m_pages;
    QString m_suggestedName;
    PagePreview* m_view = nullptr;
    QLabel* m_pageNumber = nullptr;
};

} // namespace osago
