#pragma once

#include "print/Document.h"

#include <QAbstractScrollArea>
#include <QImage>

#include <map>

namespace osago {

// Pages one under another in a scrolling view, each drawn only while it is in sight: a thousand pages open as
// quickly as one. The pages fit the view's width until the agent zooms. Keys: PageDown/PageUp go to the next or
// previous page, Home/End to the first or last, the arrows scroll; "+"/"-" (or Ctrl with the wheel) zoom and
// Ctrl+0 fits the width again.
class PagePreview final : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit PagePreview(QWidget* parent = nullptr);

    // Shows `pages` from the first, fitted to the width.
    void setPages(DocumentList pages);
    int pageCount() const { return int(m_pages.size()); }
    // The page at the top of the view, from 0; -1 without pages.
    int currentPage() const;
    void showPage(int page);

    void zoomIn();
    void zoomOut();
    void fitWidth();
    // Screen pixels per point of paper.
    double scale() const { return m_scale; }

    // The pages the last paint drew, first and last (-1 before any); for a look at what the agent sees.
    int firstPainted() const { return m_firstPainted; }
    int lastPainted() const { return m_lastPainted; }

signals:
    // The page at the top of the view, from 0, and the number of pages.
    void currentPageChanged(int page, int pages);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    QSize pageSize() const;
    int pageStride() const;
    void setScale(double scale, bool fitted);
    void updateScrollBars();
    const QImage& pageImage(int page);

    DocumentList m_pages;
    double m_scale = 1;
    bool m_fitted = true;
    // Pictures of the pages last painted at the current scale; others are drawn again when they come into sight.
    std::map<int, QImage> m_pictures;
    int m_firstPainted = -1;
    int m_lastPainted = -1;
    int m_reportedPage = -1;
};

} // namespace osago
