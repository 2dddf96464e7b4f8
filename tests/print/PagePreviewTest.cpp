#include "print/PagePreview.h"

#include <QPainter>
#include <QApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace osago;

namespace {

// A page painted all over in a colour of its own, counting how often it was painted.
class CountedPage final : public Document
{
public:
    explicit CountedPage(int number)
        : Document(QString::number(number))
        , m_colour(QColor::fromHsv(number * 7 % 360, 255, 200))
    {
    }

    void paint(QPainter& painter) const override
    {
        ++painted;
        painter.fillRect(QRect(0, 0, painter.device()->width(), painter.device()->height()), m_colour);
    }

    QRgb colour() const { return m_colour.rgb(); }
    mutable int painted = 0;

private:
    QColor m_colour;
};

constexpr int kPages = 40;

} // namespace

class PagePreviewTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_pages.clear();
        DocumentList documents;
        for (int number = 0; number < kPages; ++number) {
            m_pages.push_back(std::make_shared<CountedPage>(number));
            documents.push_back(m_pages.back());
        }
        m_preview = std::make_unique<PagePreview>();
        m_preview->resize(600, 500);
        m_preview->setPages(documents);
        m_preview->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_preview.get()));
        QTRY_COMPARE(m_preview->firstPainted(), 0);
    }

    void cleanup() { m_preview.reset(); }

    // What the view shows at its middle.
    QRgb shownColour() const
    {
        const QImage shown = m_preview->viewport()->grab().toImage();
        return shown.pixel(shown.width() / 2, shown.height() / 2);
    }

    void onlyThePagesInSightAreDrawn()
    {
        QCOMPARE(m_preview->pageCount(), kPages);
        QCOMPARE(m_preview->currentPage(), 0);
        QCOMPARE(shownColour(), m_pages.front()->colour());
        QVERIFY(m_preview->lastPainted() < 2);
        for (int number = 2; number < kPages; ++number)
            QCOMPARE(m_pages[std::size_t(number)]->painted, 0);

        QTest::keyClick(m_preview.get(), Qt::Key_End);
        QTRY_COMPARE(m_preview->lastPainted(), kPages - 1);
        QCOMPARE(shownColour(), m_pages.back()->colour());
        QVERIFY(m_pages.back()->painted > 0);
        QCOMPARE(m_pages[kPages / 2]->painted, 0);
    }

    void pageKeysGoFromPageToPage()
    {
        QSignalSpy changes(m_preview.get(), &PagePreview::currentPageChanged);
        const struct
        {
            Qt::Key key;
            int page;
        } steps[] = {{Qt::Key_PageDown, 1}, {Qt::Key_PageDown, 2}, {Qt::Key_PageUp, 1},
                     {Qt::Key_End, kPages - 1}, {Qt::Key_Home, 0}, {Qt::Key_PageUp, 0}};
        for (const auto& step : steps) {
            QTest::keyClick(m_preview.get(), step.key);
            QCOMPARE(m_preview->currentPage(), step.page);
        }
        QCOMPARE(changes.size(), 5);
        QCOMPARE(changes.last(), (QVariantList{0, kPages}));

        // A line down from a page's top: PageUp goes back to that page's top, not to the one before.
        QTest::keyClick(m_preview.get(), Qt::Key_PageDown);
        const int pageTop = m_preview->verticalScrollBar()->value();
        QTest::keyClick(m_preview.get(), Qt::Key_Down);
        QVERIFY(m_preview->verticalScrollBar()->value() > pageTop);
        QTest::keyClick(m_preview.get(), Qt::Key_PageUp);
        QCOMPARE(m_preview->verticalScrollBar()->value(), pageTop);
        QCOMPARE(m_preview->currentPage(), 1);
    }

    void zoomKeepsThePageInSightAndFitsTheWidthAgain()
    {
        const double fitted = m_preview->scale();
        QVERIFY(fitted > 0);
        QTest::keyClick(m_preview.get(), Qt::Key_PageDown);
        QTest::keyClick(m_preview.get(), Qt::Key_PageDown);
        QTest::keyClick(m_preview.get(), Qt::Key_Plus);
        QVERIFY(m_preview->scale() > fitted);
        QCOMPARE(m_preview->currentPage(), 2);
        QVERIFY(m_preview->horizontalScrollBar()->maximum() > 0);

        QWheelEvent wheel(QPointF(50, 50), m_preview->mapToGlobal(QPointF(50, 50)), {}, QPoint(0, -120),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_preview->viewport(), &wheel);
        QTest::keyClick(m_preview.get(), Qt::Key_Minus);
        QVERIFY(m_preview->scale() < fitted);
        QCOMPARE(m_preview->currentPage(), 2);

        QTest::keyClick(m_preview.get(), Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(m_preview->scale(), fitted);
        m_preview->resize(800, 500);
        QTRY_VERIFY(m_preview->scale() > fitted);
        QCOMPARE(m_preview->horizontalScrollBar()->maximum(), 0);
    }

private:
    std::vector<std::shared_ptr<CountedPage>> m_pages;
    std::unique_ptr<PagePreview> m_preview;
};

QTEST_MAIN(PagePreviewTest)
#include "PagePreviewTest.moc"
