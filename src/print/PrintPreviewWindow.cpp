#include "print/PrintPreviewWindow.h"

#include "print/DocumentPrinter.h"
#include "widgets/Messages.h"
#include "print/PdfExport.h"
#include "print/PolicyDocuments.h"

#include <QCloseEvent>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace osago {

namespace {

constexpr int kPanelHeight = 25;
constexpr double kMaxOffsetMm = 30;
constexpr double kOffsetStepMm = 0.5;

// The last two captions are padded with blanks to widen their tabs.
QString tabCaption(DocumentIndex index)
{
    const QString title = documentTitle(index);
    if (index == PolicyBlank || index == BackingSheet)
        return QString(9, u' ') + title + QString(10, u' ');
    return title;
}

std::unique_ptr<QPrinter> previewPrinter()
{
    // A null printer description gives a PDF printer: the preview never waits on the print system.
    auto printer = std::make_unique<QPrinter>(QPrinterInfo(), QPrinter::HighResolution);
    printer->setFullPage(true);
    printer->setPageLayout(QPageLayout(documentPageSize(), QPageLayout::Portrait, QMarginsF()));
    return printer;
}

} // namespace

PrintPreviewWindow::PrintPreviewWindow(Messages& messages, DocumentPrinter& printer, PdfFileNameSource& fileNames)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_messages(messages)
    , m_printer(printer)
    , m_fileNames(fileNames)
{
    setObjectName(QStringLiteral("FormPrint"));
    setWindowTitle(QStringLiteral("Печать заявления"));
    resize(862, 606);
    setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildPanel();
    buildPages();
    layout->addWidget(m_panel);
    layout->addWidget(m_pageControl);

    // "Выход" stands on the window itself, reaching down over the tab row.
    auto* exit = new QPushButton(QStringLiteral("Выход"), this);
    exit->setObjectName(QStringLiteral("ButtonVyh"));
    exit->setGeometry(430, 0, 81, 46);
    exit->raise();
    connect(exit, &QPushButton::clicked, this, &PrintPreviewWindow::ButtonVyhClick);
}

PrintPreviewWindow::~PrintPreviewWindow() = default;

void PrintPreviewWindow::buildPanel()
{
    m_panel = new QWidget(this);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    m_panel->setFixedHeight(kPanelHeight);
    auto* row = new QHBoxLayout(m_panel);
    row->setContentsMargins(0, 0, 4, 0);
    row->setSpacing(4);

    auto* print = new QPushButton(QStringLiteral("Распечатать текущий документ"), m_panel);
    print->setObjectName(QStringLiteral("ButtonPrint"));
    print->setFixedSize(430, kPanelHeight);
    connect(print, &QPushButton::clicked, this, &PrintPreviewWindow::ButtonPrintClick);
    row->addWidget(print);
    row->addSpacing(86); // under "Выход"

    auto* pdf = new QPushButton(QStringLiteral("В PDF..."), m_panel);
    pdf->setObjectName(QStringLiteral("ButtonPdf"));
    pdf->setToolTip(QStringLiteral("Сохранить текущий документ в файл PDF"));
    connect(pdf, &QPushButton::clicked, this, &PrintPreviewWindow::ButtonPdfClick);
    row->addWidget(pdf);
    auto* pdfAll = new QPushButton(QStringLiteral("Все в PDF..."), m_panel);
    pdfAll->setObjectName(QStringLiteral("ButtonPdfAll"));
    pdfAll->setToolTip(QStringLiteral("Сохранить все четыре документа в один файл PDF"));
    connect(pdfAll, &QPushButton::clicked, this, &PrintPreviewWindow::ButtonPdfAllClick);
    row->addWidget(pdfAll);
    row->addStretch();

    auto* offsetCaption = new QLabel(QStringLiteral("Сдвиг полиса, мм:"), m_panel);
    offsetCaption->setToolTip(QStringLiteral("Сдвиг данных полиса относительно бланка в принтере"));
    row->addWidget(offsetCaption);
    m_offsetX = addOffsetBox("SpinBoxSdvigX", QStringLiteral("вправо"));
    m_offsetY = addOffsetBox("SpinBoxSdvigY", QStringLiteral("вниз"));
}

QDoubleSpinBox* PrintPreviewWindow::addOffsetBox(const char* name, const QString& caption)
{
    auto* box = new QDoubleSpinBox(m_panel);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(-kMaxOffsetMm, kMaxOffsetMm);
    box->setSingleStep(kOffsetStepMm);
    box->setDecimals(1);
    box->setKeyboardTracking(false);
    auto* label = new QLabel(caption, m_panel);
    label->setBuddy(box);
    m_panel->layout()->addWidget(label);
    m_panel->layout()->addWidget(box);
    connect(box, &QDoubleSpinBox::valueChanged, this, &PrintPreviewWindow::SpinBoxSdvigChange);
    return box;
}

void PrintPreviewWindow::buildPages()
{
    m_pageControl = new QTabWidget(this);
    m_pageControl->setObjectName(QStringLiteral("PageControl"));
    // Narrow tabs in a small type, so that all four stay left of "Выход", which reaches down over the tab row.
    m_pageControl->setStyleSheet(QStringLiteral(
        "QTabBar::tab { padding: 3px 2px; font-size: 7.5pt; background: #e4e4e4; border: 1px solid #a0a0a0; }"
        "QTabBar::tab:selected { background: white; border-bottom-color: white; }"));
    for (int i = 0; i < kDocumentCount; ++i) {
        const auto index = DocumentIndex(i);
        auto* page = new QWidget(m_pageControl);
        page->setObjectName(QStringLiteral("TabSheet%1").arg(i));
        m_previewPrinters[std::size_t(i)] = previewPrinter();
        auto* view = new QPrintPreviewWidget(m_previewPrinters[std::size_t(i)].get(), page);
        view->setObjectName(QStringLiteral("OleContainer%1").arg(i));
        if (index == ApplicationPage1 || index == ApplicationPage2) {
            view->setZoomMode(QPrintPreviewWidget::FitInView);
        } else {
            view->setZoomMode(QPrintPreviewWidget::CustomZoom);
            view->setZoomFactor(1.0);
        }
        connect(view, &QPrintPreviewWidget::paintRequested, this, [this, index](QPrinter* printer) {
            if (std::size_t(index) >= m_documents.size())
                return;
            QPainter painter(printer);
            m_documents[std::size_t(index)]->paint(painter);
        });
        auto* pageLayout = new QVBoxLayout(page);
        pageLayout->setContentsMargins(0, 0, 0, 0);
        pageLayout->addWidget(view);
        m_views[std::size_t(i)] = view;
        m_pageControl->addTab(page, tabCaption(index));
    }
}

void PrintPreviewWindow::open()
{
    setEnabled(false);
    m_pageControl->setCurrentIndex(0);
    showMaximized();
}

void PrintPreviewWindow::showDocuments(DocumentList documents, const QString& nameSuffix)
{
    m_documents = std::move(documents);
    m_nameSuffix = nameSuffix;
    for (QPrintPreviewWidget* view : m_views)
        view->updatePreview();
    setEnabled(true);
}

void PrintPreviewWindow::replaceDocument(DocumentIndex index, std::shared_ptr<const Document> document)
{
    m_documents.at(std::size_t(index)) = std::move(document);
    m_views[std::size_t(index)]->updatePreview();
}

void PrintPreviewWindow::setPolicyOffset(const PolicyOffset& offset)
{
    const QSignalBlocker blockX(m_offsetX);
    const QSignalBlocker blockY(m_offsetY);
    m_offsetX->setValue(offset.horizontalMm);
    m_offsetY->setValue(offset.verticalMm);
}

DocumentIndex PrintPreviewWindow::currentIndex() const
{
    return DocumentIndex(m_pageControl->currentIndex());
}

void PrintPreviewWindow::ButtonPrintClick()
{
    printOrReport(m_printer, m_messages, this, *m_documents.at(std::size_t(currentIndex())));
}

void PrintPreviewWindow::ButtonVyhClick()
{
    close();
}

void PrintPreviewWindow::ButtonPdfClick()
{
    const auto& document = m_documents.at(std::size_t(currentIndex()));
    savePdf({document}, document->title() + m_nameSuffix + QStringLiteral(".pdf"));
}

void PrintPreviewWindow::ButtonPdfAllClick()
{
    savePdf(m_documents, QStringLiteral("Документы ОСАГО") + m_nameSuffix + QStringLiteral(".pdf"));
}

void PrintPreviewWindow::savePdf(const DocumentList& documents, const QString& suggestedName)
{
    const QString fileName = m_fileNames.pdfFileName(this, suggestedName);
    if (fileName.isEmpty())
        return;
    QString error;
    if (!writePdf(documents, fileName, &error))
        m_messages.show(this, kProgramTitle, error, Messages::Icon::Critical);
}

void PrintPreviewWindow::SpinBoxSdvigChange()
{
    emit policyOffsetEdited({m_offsetX->value(), m_offsetY->value()});
}

void PrintPreviewWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    FormClose();
}

// The documents go with the window; the next production makes new ones.
void PrintPreviewWindow::FormClose()
{
    m_documents.clear();
    emit closed();
}

} // namespace osago
