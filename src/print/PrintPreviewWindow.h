#pragma once

#include "print/Document.h"
#include "print/PolicyOffset.h"

#include <QWidget>

#include <array>
#include <memory>

class QDoubleSpinBox;
class QPrintPreviewWidget;
class QPrinter;
class QTabWidget;

namespace osago {

class DocumentPrinter;
class Messages;
class PdfFileNameSource;

// "Печать заявления": the four documents of one policy on four tabs. Prints the document in front, saves it or all
// four as PDF, and moves the policy's data by the printer offset.
class PrintPreviewWindow : public QWidget
{
    Q_OBJECT

public:
    PrintPreviewWindow(Messages& messages, DocumentPrinter& printer, PdfFileNameSource& fileNames);
    ~PrintPreviewWindow() override;

    // Shows the window maximised on its first tab and disabled until showDocuments() gives it documents.
    void open();
    // `documents` in tab order; `nameSuffix` ends the suggested PDF file names (the policyholder, the policy).
    void showDocuments(DocumentList documents, const QString& nameSuffix);
    void replaceDocument(DocumentIndex index, std::shared_ptr<const Document> document);
    void setPolicyOffset(const PolicyOffset& offset);

    const DocumentList& documents() const { return m_documents; }

signals:
    // The agent changed the printer offset in the window.
    void policyOffsetEdited(const PolicyOffset& offset);
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildPanel();
    void buildPages();
    QDoubleSpinBox* addOffsetBox(const char* name, const QString& caption);

    void ButtonPrintClick();
    void ButtonVyhClick();
    void ButtonPdfClick();
    void ButtonPdfAllClick();
    void SpinBoxSdvigChange();
    void FormClose();

    void savePdf(const DocumentList& documents, const QString& suggestedName);
    DocumentIndex currentIndex() const;

    Messages& m_messages;
    DocumentPrinter& m_printer;
    PdfFileNameSource& m_fileNames;
    DocumentList m_documents;
    QString m_nameSuffix;
    std::array<std::unique_ptr<QPrinter>, kDocumentCount> m_previewPrinters;
    std::array<QPrintPreviewWidget*, kDocumentCount> m_views{};
    QWidget* m_panel = nullptr;
    QTabWidget* m_pageControl = nullptr;
    QDoubleSpinBox* m_offsetX = nullptr;
    QDoubleSpinBox* m_offsetY = nullptr;
};

} // namespace osago
