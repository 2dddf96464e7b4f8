#pragma once

#include "print/Document.h"

#include <QWidget>

#include <functional>

class QLabel;

namespace osago {

class DocumentPrinter;
class FileChoices;
class Messages;
class PagePreview;

// A report's pages in a preview ("Отчёт агента", "Отчёт по бланкам"), printed or saved as one PDF file, and as CSV
// where the report has it.
class ReportWindow : public QWidget
{
    Q_OBJECT

public:
    // Writes the report shown into `path` (as CSV); false with the reason in `error`.
    using CsvWriter = std::function<bool(const QString& path, QString* error)>;

    ReportWindow(Messages& messages, DocumentPrinter& printer, FileChoices& files,
                 const QString& title = QStringLiteral("Отчёт агента"));
    ~ReportWindow() override;

    // Shows `pages` maximised; `name` is the PDF's title and, with ".pdf" or ".csv", the file offered. "Сохранить в
    // CSV" is shown only with a `csv` writer.
    void showReport(DocumentList pages, const QString& name, CsvWriter csv = {});
    const DocumentList& pages() const { return m_pages; }
    PagePreview& preview() const { return *m_view; }

private:
    void ButtonPrintClick();
    void ButtonPdfClick();
    void ButtonCsvClick();
    // Asks where to save the report, offering its name with `suffix`, and has `write` write it there.
    void saveFile(const QString& caption, const QString& suffix, const QString& types, const CsvWriter& write);

    Messages& m_messages;
    DocumentPrinter& m_printer;
    FileChoices& m_files;
    DocumentList m_pages;
    QString m_name;
    CsvWriter m_csv;
    PagePreview* m_view = nullptr;
    QLabel* m_pageNumber = nullptr;
};

} // namespace osago
