#include "app/ReportWindow.h"

#include "print/DocumentPrinter.h"
#include "widgets/FileChoices.h"
#include "widgets/Messages.h"
#include "print/PdfExport.h"

#include "print/PagePreview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace osago {

ReportWindow::ReportWindow(Messages& messages, DocumentPrinter& printer, FileChoices& files, const QString& title)
    : m_messages(messages)
    , m_printer(printer)
    , m_files(files)
{
    setObjectName(QStringLiteral("FormReport"));
    setWindowTitle(title);
    m_view = new PagePreview(this);
    m_view->setObjectName(QStringLiteral("PreviewReport"));
    m_pageNumber = new QLabel(this);
    m_pageNumber->setObjectName(QStringLiteral("LabelPage"));
    connect(m_view, &PagePreview::currentPageChanged, this, [this](int page, int pages) {
        m_pageNumber->setText(QStringLiteral("Страница %1 из %2").arg(page + 1).arg(pages));
    });

    auto* buttons = new QHBoxLayout;
    const std::pair<const char*, QString> names[] = {{"ButtonPrint", QStringLiteral("Печать")},
                                                     {"ButtonPdf", QStringLiteral("Сохранить в PDF")},
                                                     {"ButtonCsv", QStringLiteral("Сохранить в CSV")},
                                                     {"ButtonVyh", QStringLiteral("Закрыть")},
                                                     {"ButtonZoomOut", QStringLiteral("Мельче")},
                                                     {"ButtonZoomIn", QStringLiteral("Крупнее")},
                                                     {"ButtonFitWidth", QStringLiteral("По ширине")}};
    for (const auto& [name, text] : names) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QLatin1String(name));
        button->setFocusPolicy(Qt::TabFocus);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    buttons->addWidget(m_pageNumber);
    const auto button = [this](const char* name) { return findChild<QPushButton*>(QLatin1String(name)); };
    connect(button("ButtonPrint"), &QPushButton::clicked, this, &ReportWindow::ButtonPrintClick);
    connect(button("ButtonPdf"), &QPushButton::clicked, this, &ReportWindow::ButtonPdfClick);
    connect(button("ButtonCsv"), &QPushButton::clicked, this, &ReportWindow::ButtonCsvClick);
    connect(button("ButtonVyh"), &QPushButton::clicked, this, &QWidget::close);
    connect(button("ButtonZoomOut"), &QPushButton::clicked, m_view, &PagePreview::zoomOut);
    connect(button("ButtonZoomIn"), &QPushButton::clicked, m_view, &PagePreview::zoomIn);
    connect(button("ButtonFitWidth"), &QPushButton::clicked, m_view, &PagePreview::fitWidth);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_view, 1);
}

ReportWindow::~ReportWindow() = default;

void ReportWindow::showReport(DocumentList pages, const QString& name, CsvWriter csv)
{
    m_pages = std::move(pages);
    m_name = name;
    m_csv = std::move(csv);
    findChild<QPushButton*>(QStringLiteral("ButtonCsv"))->setVisible(bool(m_csv));
    m_view->setPages(m_pages);
    showMaximized();
    m_view->setFocus();
}

void ReportWindow::ButtonPrintClick()
{
    for (const auto& page : m_pages) {
        if (!printOrReport(m_printer, m_messages, this, *page))
            return;
    }
}

void ReportWindow::ButtonPdfClick()
{
    saveFile(QStringLiteral("Сохранить отчёт в PDF"), QStringLiteral(".pdf"), QStringLiteral("Документ PDF (*.pdf)"),
             [this](const QString& path, QString* error) { return writePdf(m_pages, path, error, m_name); });
}

void ReportWindow::ButtonCsvClick()
{
    saveFile(QStringLiteral("Сохранить отчёт в CSV"), QStringLiteral(".csv"), QStringLiteral("Таблица CSV (*.csv)"),
             m_csv);
}

void ReportWindow::saveFile(const QString& caption, const QString& suffix, const QString& types,
                            const CsvWriter& write)
{
    const QString path = m_files.saveFileName(this, caption, m_name + suffix, types);
    if (path.isEmpty())
        return;
    QString error;
    if (!write(path, &error))
        m_messages.show(this, kProgramTitle, error, Messages::Icon::Critical);
}

} // namespace osago
