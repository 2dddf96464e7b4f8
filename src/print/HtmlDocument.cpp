#include "print/HtmlDocument.h"

#include "print/PrintFonts.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextDocument>

namespace osago {

namespace {

constexpr int kReferenceDpi = 96;
// The white border of the page; the text block starts inside it.
constexpr double kPageMarginMm = 12;

double referencePixels(double mm)
{
    return mm * kReferenceDpi / kMillimetresPerInch;
}

QImage referenceDevice()
{
    QImage device(1, 1, QImage::Format_RGB32);
    const int dotsPerMetre = qRound(kReferenceDpi / kMillimetresPerInch * 1000);
    device.setDotsPerMeterX(dotsPerMetre);
    device.setDotsPerMeterY(dotsPerMetre);
    return device;
}

} // namespace

HtmlDocument::HtmlDocument(QString title, const QString& html)
    : Document(std::move(title))
    , m_referenceDevice(referenceDevice())
    , m_text(std::make_unique<QTextDocument>())
{
    loadPrintFonts();
    m_text->documentLayout()->setPaintDevice(&m_referenceDevice);
    m_text->setUseDesignMetrics(true);
    m_text->setDefaultFont(QFont(kPrintFontFamily, 9));
    m_text->setDocumentMargin(referencePixels(kPageMarginMm));
    const QSizeF paper = documentPageSize().size(QPageSize::Millimeter);
    m_text->setPageSize(QSizeF(referencePixels(paper.width()), referencePixels(paper.height())));
    m_text->setHtml(html);
}

HtmlDocument::~HtmlDocument() = default;

void HtmlDocument::paint(QPainter& painter) const
{
    const QPaintDevice& device = *painter.device();
    painter.save();
    painter.scale(double(device.logicalDpiX()) / kReferenceDpi, double(device.logicalDpiY()) / kReferenceDpi);
    m_text->drawContents(&painter, QRectF(QPointF(0, 0), m_text->pageSize()));
    painter.restore();
}

int HtmlDocument::pageCount() const
{
    return m_text->pageCount();
}

} // namespace osago
