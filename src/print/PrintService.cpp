#include "print/PrintService.h"

#include "print/PrintPreviewWindow.h"
#include "print/PrintProgressWindow.h"
#include "widgets/Messages.h"
#include "print/PolicyDocuments.h"

namespace osago {

namespace {

// " - Иванов ААА№0123456789": who and which policy a saved file is about.
QString fileNameSuffix(const PolicyRow& row)
{
    QStringList parts;
    for (const QString& part : {row.value(u"Страхователь_фамилия_фирма"), row.value(u"Номер_серия_полиса")}) {
        const QString simplified = part.simplified();
        if (!simplified.isEmpty() && simplified != u"№")
            parts << simplified;
    }
    return parts.isEmpty() ? QString() : QStringLiteral(" - ") + parts.join(u' ');
}

} // namespace

PrintService::PrintService(Messages& messages, QWidget& mainWindow, DocumentPrinter& printer,
                           std::unique_ptr<PdfFileNameSource> fileNames)
    : m_messages(messages)
    , m_mainWindow(mainWindow)
    , m_printer(printer)
    , m_fileNames(std::move(fileNames))
{
}

PrintService::~PrintService() = default;

PrintProgressWindow& PrintService::printProgressWindow()
{
    if (!m_printProgressWindow)
        m_printProgressWindow = std::make_unique<PrintProgressWindow>();
    return *m_printProgressWindow;
}

PrintPreviewWindow& PrintService::printPreviewWindow()
{
    if (!m_printPreviewWindow) {
        m_printPreviewWindow = std::make_unique<PrintPreviewWindow>(m_messages, m_printer, *m_fileNames);
        QObject::connect(m_printPreviewWindow.get(), &PrintPreviewWindow::closed, m_printPreviewWindow.get(), [this] { giveInputBack(); });
        QObject::connect(m_printPreviewWindow.get(), &PrintPreviewWindow::policyOffsetEdited, m_printPreviewWindow.get(),
                         [this](const PolicyOffset& offset) { changePolicyOffset(offset); });
    }
    return *m_printPreviewWindow;
}

void PrintService::preview(const PrintRecord& record, QWidget* requester)
{
    takeInputAway(requester);
    m_record = record;
    const PolicyOffset offset = loadPolicyOffset();
    PrintPreviewWindow& preview = printPreviewWindow();
    preview.setPolicyOffset(offset);
    preview.open();

    PrintProgressWindow& progress = printProgressWindow();
    progress.start(kDocumentCount);
    DocumentList documents = makePolicyDocuments(record, offset, [&progress] { progress.step(); });
    preview.showDocuments(std::move(documents), fileNameSuffix(record.row));
    progress.hide();
}

void PrintService::printDirect(const PrintRecord& record)
{
    preview(record);
    const DocumentList& documents = printPreviewWindow().documents();
    for (const DocumentIndex page : {ApplicationPage1, ApplicationPage2}) {
        if (!printOrReport(m_printer, m_messages, &printPreviewWindow(), *documents.at(std::size_t(page))))
            return;
    }
}

void PrintService::reportNoRecord()
{
    m_messages.show(&m_mainWindow, kProgramTitle, kNoRecordMessage, Messages::Icon::Warning);
}

void PrintService::takeInputAway(QWidget* requester)
{
    for (QWidget* window : {&m_mainWindow, requester}) {
        if (window && window->isEnabled() && !m_disabled.contains(window)) {
            window->setEnabled(false);
            m_disabled << window;
        }
    }
}

void PrintService::giveInputBack()
{
    for (const QPointer<QWidget>& window : std::as_const(m_disabled)) {
        if (window)
            window->setEnabled(true);
    }
    m_disabled.clear();
}

void PrintService::changePolicyOffset(const PolicyOffset& offset)
{
    savePolicyOffset(offset);
    if (m_record && m_printPreviewWindow)
        m_printPreviewWindow->replaceDocument(PolicyBlank, makePolicyBlank(*m_record, offset));
}

} // namespace osago
