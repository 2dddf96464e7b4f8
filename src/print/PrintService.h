#pragma once

#include "print/DocumentPrinter.h"
#include "print/PdfExport.h"
#include "print/PolicyOffset.h"
#include "print/PrintRecord.h"

#include <QPointer>
#include <QString>

#include <memory>
#include <optional>

class QWidget;

namespace osago {

class PrintPreviewWindow;
class PrintProgressWindow;
class Messages;

// Printing of a policy's documents: the application on two pages, the policy and its backing sheet. Owns the
// progress window and the preview window, both made on first use and kept for the rest of the run.
class PrintService
{
public:
    // `mainWindow` takes no input from the start of a production until the preview window closes. `printer`
    // takes the printed documents and outlives the service.
    PrintService(Messages& messages, QWidget& mainWindow, DocumentPrinter& printer,
                 std::unique_ptr<PdfFileNameSource> fileNames = std::make_unique<DialogPdfFileNames>());
    ~PrintService();
    PrintService(const PrintService&) = delete;
    PrintService& operator=(const PrintService&) = delete;

    // "Печать...": makes the four documents under the progress window, then shows them in the preview window,
    // which opens disabled and is enabled once they are ready. `requester` (the editor, when it asks) takes no
    // input either until the preview closes.
    void preview(const PrintRecord& record, QWidget* requester = nullptr);

    // "Печать": the same, then page 1 and page 2 of the application to the printer, in that order. A failure is
    // shown and ends the command: after a failure on page 1, page 2 is not printed.
    void printDirect(const PrintRecord& record);

    // For a command started without a record (no row selected in the register): says so, nothing else.
    void reportNoRecord();

    // The windows, or null before their first use.
    PrintProgressWindow* progressWindow() const { return m_printProgressWindow.get(); }
    PrintPreviewWindow* previewWindow() const { return m_printPreviewWindow.get(); }

private:
    PrintProgressWindow& printProgressWindow();
    PrintPreviewWindow& printPreviewWindow();
    void takeInputAway(QWidget* requester);
    void giveInputBack();
    void changePolicyOffset(const PolicyOffset& offset);

    Messages& m_messages;
    QWidget& m_mainWindow;
    DocumentPrinter& m_printer;
    std::unique_ptr<PdfFileNameSource> m_fileNames;
    std::unique_ptr<PrintProgressWindow> m_printProgressWindow;
    std::unique_ptr<PrintPreviewWindow> m_printPreviewWindow;
    // The record on show, for remaking the policy page when the offset changes.
    std::optional<PrintRecord> m_record;
    // The windows this service disabled, each enabled again when the preview closes.
    QList<QPointer<QWidget>> m_disabled;
};

inline const QString kNoRecordMessage = QStringLiteral("Не выбрана запись для печати.");

} // namespace osago
