#include "FormReport.h"

#include "DocumentPrinter.h"
#include "FileChoices.h"
#include "Messages.h"
#include "PdfExport.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace osago {

FormReport::FormReport(Messages& messages, DocumentPrinter& printer, FileChoices& files)
    : m_messages(messages)
    , m_printer(printer)
    , m_files(files)
    , m_previewPrinter(std::make_unique<QPrinter>(QPrinterInfo(), QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("FormReport"));
    setWindowTitle(QStringLiteral("Отчёт агента"));
    m_previewPrinter->setFullPage(true);
    m_previewPrinter->setPageLayout(QPageLayout(documentPageSize(), QPageLayout::Portrait, QMarginsF()));
    m_view = new QPrintPreviewWidget(m_previewPrinter.get(), this);
    m_view->setObjectName(QStringLiteral("PreviewReport"));
    connect(m_view, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* target) {
        QPainter painter(target);
        for (std::size_t page = 0; page < m_pages.size(); ++page) {
            if (page > 0)
                target->newPage();
            m_pages[page]->paint(painter);
        }
    });

    auto* buttons = new QHBoxLayout;
    const std::pair<const char*, QString> names[] = {{"ButtonPrint", QStringLiteral("Печать")},
                                                     {"ButtonPdf", QStringLiteral("Сохранить в PDF")},
                                                     {"ButtonVyh", QStringLiteral("Закрыть")}};
    for (const auto& [name, text] : names) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QLatin1String(name));
        buttons->addWidget(button);
    }
    buttons->addStretch();
    connect(findChild<QPushButton*>(QStringLiteral("ButtonPrint")), &QPushButton::clicked, this,
            &FormReport::ButtonPrintClick);
    connect(findChild<QPushButton*>(QStringLiteral("ButtonPdf")), &QPushButton::clicked, this,
            &FormReport::ButtonPdfClick);
    connect(findChild<QPushButton*>(QStringLiteral("ButtonVyh")), &QPushButton::clicked, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_view, 1);
}

FormReport::~FormReport() = default;

void FormReport::showReport(DocumentList pages, const QString& suggestedName)
{
    m_pages = std::move(pages);
    m_suggestedName = suggestedName;
    showMaximized();
    m_view->updatePreview();
}

void FormReport::ButtonPrintClick()
{
    for (const auto& page : m_pages) {
        if (!printOrReport(m_printer, m_messages, this, *page))
            return;
    }
}

void FormReport::ButtonPdfClick()
{
    const QString path = m_files.saveFileName(this, QStringLiteral("Сохранить отчёт в PDF"), m_suggestedName,
                                              QStringLiteral("Документ PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!writePdf(m_pages, path, &error))
        m_messages.show(this, kProgramTitle, error, Messages::Icon::Critical);
}

} // namespace osago
