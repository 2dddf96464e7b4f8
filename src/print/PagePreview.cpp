#include "print/PagePreview.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace osago {

namespace {

constexpr int kGap = 12;
constexpr double kZoomStep = 1.25;
constexpr double kSmallestScale = 0.2;
constexpr double kLargestScale = 6;
constexpr int kArrowStep = 40;

QSizeF paperPoints()
{
    return documentPageSize().sizePoints();
}

} // namespace

PagePreview::PagePreview(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    // A scroll bar that came and went would change the width the pages fit.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(kArrowStep);
    horizontalScrollBar()->setSingleStep(kArrowStep);
}

void PagePreview::setPages(DocumentList pages)
{
    m_pages = std::move(pages);
    m_pictures.clear();
    m_firstPainted = m_lastPainted = m_reportedPage = -1;
    setScale(m_scale, true);
    showPage(0);
    emit currentPageChanged(currentPage(), pageCount());
}

QSize PagePreview::pageSize() const
{
    const QSizeF points = paperPoints();
    return QSize(qRound(points.width() * m_scale), qRound(points.height() * m_scale));
}

int PagePreview::pageStride() const
{
    return pageSize().height() + kGap;
}

int PagePreview::currentPage() const
{
    if (m_pages.empty())
        return -1;
    // The page that holds the view's top line, or the one below when only its gap is left there.
    const int page = (verticalScrollBar()->value() + kGap / 2) / pageStride();
    return std::clamp(page, 0, pageCount() - 1);
}

void PagePreview::showPage(int page)
{
    if (m_pages.empty())
        return;
    verticalScrollBar()->setValue(std::clamp(page, 0, pageCount() - 1) * pageStride());
}

void PagePreview::zoomIn()
{
    setScale(m_scale * kZoomStep, false);
}

void PagePreview::zoomOut()
{
    setScale(m_scale / kZoomStep, false);
}

void PagePreview::fitWidth()
{
    setScale(m_scale, true);
}

// The page at the top stays there, at the same share of its height.
void PagePreview::setScale(double scale, bool fitted)
{
    m_fitted = fitted;
    if (fitted)
        scale = (viewport()->width() - 2 * kGap) / paperPoints().width();
    scale = std::clamp(scale, kSmallestScale, kLargestScale);
    const double share = m_pages.empty() ? 0 : double(verticalScrollBar()->value()) / pageStride();
    if (scale != m_scale) {
        m_scale = scale;
        m_pictures.clear();
    }
    updateScrollBars();
    verticalScrollBar()->setValue(int(std::lround(share * pageStride())));
    viewport()->update();
}

void PagePreview::updateScrollBars()
{
    const QSize page = pageSize();
    const QSize view = viewport()->size();
    const int height = pageCount() * pageStride() + kGap;
    verticalScrollBar()->setRange(0, std::max(0, height - view.height()));
    verticalScrollBar()->setPageStep(view.height());
    horizontalScrollBar()->setRange(0, std::max(0, page.width() + 2 * kGap - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
}

// A picture at the screen's scale, on a device whose resolution is that scale, as a printer's page would be.
const QImage& PagePreview::pageImage(int page)
{
    const auto found = m_pictures.find(page);
    if (found != m_pictures.end())
        return found->second;
    QImage picture(pageSize(), QImage::Format_RGB32);
    const int dotsPerMetre = int(std::lround(m_scale * kPointsPerInch / kMillimetresPerInch * 1000));
    picture.setDotsPerMeterX(dotsPerMetre);
    picture.setDotsPerMeterY(dotsPerMetre);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    m_pages[std::size_t(page)]->paint(painter);
    return m_pictures.emplace(page, std::move(picture)).first->second;
}

void PagePreview::paintEvent(QPaintEvent*)
{
    if (m_pages.empty())
        return;
    QPainter painter(viewport());
    const QSize page = pageSize();
    const int top = verticalScrollBar()->value();
    const int left = std::max(kGap, (viewport()->width() - page.width()) / 2) - horizontalScrollBar()->value();
    const int first = std::clamp((top - kGap) / pageStride(), 0, pageCount() - 1);
    const int last = std::clamp((top + viewport()->height()) / pageStride(), first, pageCount() - 1);
    std::erase_if(m_pictures, [&](const auto& picture) { return picture.first < first || picture.first > last; });
    for (int number = first; number <= last; ++number) {
        const QPoint corner(left, kGap + number * pageStride() - top);
        painter.drawImage(corner, pageImage(number));
        painter.setPen(palette().color(QPalette::Shadow));
        painter.drawRect(QRect(corner, page).adjusted(-1, -1, 0, 0));
    }
    m_firstPainted = first;
    m_lastPainted = last;
}

void PagePreview::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    setScale(m_scale, m_fitted);
}

void PagePreview::scrollContentsBy(int, int)
{
    viewport()->update();
    if (currentPage() != m_reportedPage) {
        m_reportedPage = currentPage();
        emit currentPageChanged(m_reportedPage, pageCount());
    }
}

void PagePreview::keyPressEvent(QKeyEvent* event)
{
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    const int page = currentPage();
    const bool atPageTop = page >= 0 && verticalScrollBar()->value() <= page * pageStride();
    switch (event->key()) {
    case Qt::Key_PageDown:
        showPage(page + 1);
        break;
    case Qt::Key_PageUp:
        showPage(atPageTop ? page - 1 : page);
        break;
    case Qt::Key_Home:
        showPage(0);
        break;
    case Qt::Key_End:
        showPage(pageCount() - 1);
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomIn();
        break;
    case Qt::Key_Minus:
        zoomOut();
        break;
    case Qt::Key_0:
        if (!control)
            return QAbstractScrollArea::keyPressEvent(event);
        fitWidth();
        break;
    default:
        return QAbstractScrollArea::keyPressEvent(event);
    }
    event->accept();
}

void PagePreview::wheelEvent(QWheelEvent* event)
{
    if (!event->modifiers().testFlag(Qt::ControlModifier))
        return QAbstractScrollArea::wheelEvent(event);
    if (event->angleDelta().y() > 0)
        zoomIn();
    else if (event->angleDelta().y() < 0)
        zoomOut();
    event->accept();
}

} // namespace osago
