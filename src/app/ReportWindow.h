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
class ReportWindow : public QWidget
{
    Q_OBJECT

public:
    ReportWindow(Messages& messages, DocumentPrinter& printer, FileChoices& files);
    ~ReportWindow() override;

    // Shows `pages` maximised; `name` is the PDF's title and, with ".pdf", the file offered.
    void showReport(DocumentList pages, const QString& name);
    const DocumentList& pages() const { return m_pages; }
    PagePreview& preview() const { return *m_view; }

private:
    void ButtonPrintClick();
    void ButtonPdfClick();

    Messages& m_messages;
    DocumentPrinter& m_printer;
    FileChoices& m_files;
    DocumentList m_pages;
    QString m_name;
    PagePreview* m_view = nullptr;
    QLabel* m_pageNumber = nullptr;
};

} // namespace osago
