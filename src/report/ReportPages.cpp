#include "report/ReportPages.h"

#include "storage/IssuePeriod.h"
#include "print/PrintFonts.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <array>
#include <cmath>

namespace osago {

namespace {

// Sizes in tenths of a point on an A4 page; the page is scaled to the device it is painted on. Fonts are sized
// in the same units (a pixel size of 80 is 8 pt) so that their measures scale with the page, whatever the device.
constexpr double kPageWidth = 5950;
constexpr double kPageHeight = 8420;
constexpr double kMargin = 400;
constexpr double kBodyWidth = kPageWidth - 2 * kMargin;
constexpr double kFooterHeight = 150;
constexpr double kBodyHeight = kPageHeight - 2 * kMargin - kFooterHeight;
constexpr double kCellPadding = 15;
constexpr double kParagraphSpace = 60;
constexpr double kLinePen = 5;
// Texts are laid out a little narrower than their boxes, so a device whose glyphs come out slightly wider
// still fits them in the lines counted.
constexpr double kMeasureSlack = 0.97;
// Heights closer than this are the same line boundary.
constexpr double kSplitTolerance = 0.01;

// Lines break between words, and inside a word only where it is longer than its line; a line break of any kind
// (CR, LF, CR LF) in a text another program wrote is kept.
QTextOption wrapping(Qt::Alignment alignment)
{
    QTextOption option(alignment | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

QString withLineBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    text.replace(u'\r', QChar::LineSeparator);
    text.replace(u'\n', QChar::LineSeparator);
    return text;
}

// A text laid out in lines of one width, as the report both measures and draws it, so that a row split between
// pages is split between two of its lines.
class LaidOutText
{
public:
    LaidOutText(const QFont& font, const QString& text, double width, Qt::Alignment alignment)
        : m_layout(withLineBreaks(text), font)
    {
        m_layout.setTextOption(wrapping(alignment));
        m_layout.beginLayout();
        double top = 0;
        for (QTextLine line = m_layout.createLine(); line.isValid(); line = m_layout.createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, top));
            top += line.height();
        }
        m_layout.endLayout();
        m_height = top;
    }

    double height() const { return m_height; }

    // Where each line ends, top to bottom.
    std::vector<double> lineBottoms() const
    {
        std::vector<double> bottoms;
        for (int i = 0; i < m_layout.lineCount(); ++i)
            bottoms.push_back(m_layout.lineAt(i).rect().bottom());
        return bottoms;
    }

    // Draws the lines lying within [from, to) of the text, the height `from` at `origin`.
    void drawLines(QPainter& painter, QPointF origin, double from, double to) const
    {
        for (int i = 0; i < m_layout.lineCount(); ++i) {
            const QTextLine line = m_layout.lineAt(i);
            if (line.y() >= from - kSplitTolerance && line.rect().bottom() <= to + kSplitTolerance)
                line.draw(&painter, origin - QPointF(0, from));
        }
    }

private:
    QTextLayout m_layout;
    double m_height = 0;
};

enum class Style { Title, Heading, Text, Bold, Cell, HeaderCell, kStyles };

// Headings and totals stand apart from the table above them.
double spaceAbove(Style style)
{
    return style == Style::Heading || style == Style::Bold ? kParagraphSpace : 0;
}

QFont fontOf(Style style)
{
    QFont font(kPrintFontFamily);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setPixelSize(style == Style::Title ? 130 : style == Style::Heading ? 100 : 80);
    font.setBold(style != Style::Text && style != Style::Cell);
    return font;
}

struct Column
{
    QString name;
    double width;
    Qt::Alignment alignment = Qt::AlignLeft;
};

enum TableIndex { kPolicies, kTypes, kUnreadable, kWithoutRate, kTables };

// One line of the report's flow: a paragraph across the page (table < 0) or a table's row, with the height of its
// texts and the height it takes on the page whole.
struct Block
{
    int table = -1;
    Style style = Style::Text;
    bool keepWithNext = false;
    QStringList cells;
    double textHeight = 0;
    double height = 0;
};

// The part of a block a page shows: its texts from the height `from` to `to`; a whole block is 0 to textHeight.
struct Slice
{
    int block = 0;
    double from = 0;
    double to = 0;
};

// The widths of the Latin and Cyrillic letters of one font, each measured once.
class LetterWidths
{
public:
    explicit LetterWidths(const QFont& font) : m_metrics(font) { m_widths.fill(-1); }

    // Whether `text` is one line narrower than `room`: false where a letter is of another script, or a line break.
    bool fitsOneLine(const QString& text, double room) const
    {
        double width = 0;
        for (const QChar letter : text) {
            const char16_t unit = letter.unicode();
            if (unit >= m_widths.size() || unit == u'\n' || unit == u'\r')
                return false;
            if (m_widths[unit] < 0)
                m_widths[unit] = m_metrics.horizontalAdvance(letter);
            width += m_widths[unit];
            if (width > room)
                return false;
        }
        return true;
    }

private:
    QFontMetricsF m_metrics;
    mutable std::array<double, 0x500> m_widths;
};

class ReportLayout
{
public:
    explicit ReportLayout(const AgentReport& report);

    int pageCount() const { return int(m_pages.size()); }
    void paintPage(QPainter& painter, int page) const;

private:
    void addParagraph(Style style, const QString& text, bool keepWithNext = false);
    // A heading with the count (`heading` takes it as %1) and the table of rows left out of a sum; nothing for none.
    void addRowsApart(int table, const QString& heading, const std::vector<AgentReport::Unreadable>& apart);
    // The table's header row, then its rows.
    void addTable(int table, const std::vector<QStringList>& rows);
    // Fills in the block's heights.
    void measure(Block& block) const;
    // Where the block's texts lie across the page: one box for a paragraph, a table's columns for a row.
    const std::vector<Column>& boxesOf(const Block& block) const;
    // The width a box's text is laid out in.
    double textWidth(const Block& block, double boxWidth) const;
    // What a block takes on the page besides its texts: space around a paragraph, padding in a row's cells.
    double chrome(const Block& block) const;
    // The largest height no more than `limit` at which every text of the block is between two of its lines;
    // 0 when its first lines are taller.
    double breakBefore(const Block& block, double limit) const;
    // The height of the table's header a row brings to a page it opens; 0 for other blocks.
    double repeatedHeaderHeight(const Block& block) const;
    bool fitsOnePage(const Block& block) const;
    void splitIntoPages();
    // Paints the slice with its top at `top`; returns its height.
    double paintSlice(QPainter& painter, const Slice& slice, double top) const;

    std::array<std::vector<Column>, kTables> m_tables;
    std::array<QFont, std::size_t(Style::kStyles)> m_fonts;
    std::array<QFontMetricsF, std::size_t(Style::kStyles)> m_metrics;
    std::array<LetterWidths, std::size_t(Style::kStyles)> m_letterWidths;
    std::vector<Block> m_blocks;
    std::array<int, kTables> m_headers{};
    std::vector<Column> m_paragraph{{QString(), kBodyWidth}};
    std::vector<std::vector<Slice>> m_pages; // a table's header repeated where it goes on
};

std::array<QFont, std::size_t(Style::kStyles)> allFonts()
{
    loadPrintFonts();
    return {fontOf(Style::Title), fontOf(Style::Heading), fontOf(Style::Text),
            fontOf(Style::Bold),  fontOf(Style::Cell),    fontOf(Style::HeaderCell)};
}

ReportLayout::ReportLayout(const AgentReport& report)
    : m_tables{{{{QStringLiteral("Дата выдачи"), 520},
                  {QStringLiteral("Серия и номер полиса"), 700},
                  {QStringLiteral("Страхователь"), 780},
                  {QStringLiteral("Марка"), 580},
                  {QStringLiteral("Рег. знак"), 480},
                  {QStringLiteral("Премия"), 620, Qt::AlignRight},
                  {QStringLiteral("Ставка, %"), 350, Qt::AlignRight},
                  {QStringLiteral("Вознагр."), 540, Qt::AlignRight},
                  {QStringLiteral("К перечисл."), 580, Qt::AlignRight}},
                 {{QStringLiteral("Тип ТС"), 2000},
                  {QStringLiteral("Полисов"), 800, Qt::AlignRight},
                  {QStringLiteral("Премии"), 1000, Qt::AlignRight}},
                 {{QStringLiteral("Полис"), 1200}, {QStringLiteral("Причина"), kBodyWidth - 1200}},
                 {{QStringLiteral("Полис"), 1200}, {QStringLiteral("Причина"), kBodyWidth - 1200}}}}
    , m_fonts(allFonts())
    , m_metrics{QFontMetricsF(m_fonts[0]), QFontMetricsF(m_fonts[1]), QFontMetricsF(m_fonts[2]),
                QFontMetricsF(m_fonts[3]), QFontMetricsF(m_fonts[4]), QFontMetricsF(m_fonts[5])}
    , m_letterWidths{LetterWidths(m_fonts[0]), LetterWidths(m_fonts[1]), LetterWidths(m_fonts[2]),
                     LetterWidths(m_fonts[3]), LetterWidths(m_fonts[4]), LetterWidths(m_fonts[5])}
{
    addParagraph(Style::Title, QStringLiteral("Отчёт агента"));
    addParagraph(Style::Text, QStringLiteral("Агент: %1").arg(report.agent));
    addParagraph(Style::Text, QStringLiteral("Страховщик: %1").arg(report.insurer));
    addParagraph(Style::Text, QStringLiteral("Период: с %1 по %2")
                                  .arg(registerDateText(report.period.from), registerDateText(report.period.to)));
    std::vector<QStringList> rows;
    rows.reserve(report.policies.size());
    for (const AgentReport::Policy& policy : report.policies) {
        const QString mark = premiumPlacesMark(policy.premium);
        const QString premium = writtenPremiumText(policy.premium);
        rows.push_back({registerDateText(policy.issued), policy.policy, policy.holder, policy.vehicle, policy.plate,
                        mark.isEmpty() ? premium : premium + u'\n' + mark});
        rows.back() << settlementCells(policy);
    }
    addTable(kPolicies, rows);

    addParagraph(Style::Heading, QStringLiteral("По типам ТС"), true);
    rows.clear();
    for (const AgentReport::TypeTotal& type : report.byVehicleType)
        rows.push_back({type.vehicleType, QString::number(type.count), premiumText(type.premiums)});
    addTable(kTypes, rows);
    addParagraph(Style::Bold, QStringLiteral("Итого полисов: %1").arg(report.policies.size()), true);
    addParagraph(Style::Bold, QStringLiteral("Сумма премий: %1 (%2 руб.)")
                                  .arg(premiumText(report.total), groupedMoneyText(report.total)), true);
    for (const MoneyTotal& money : moneyTotals(report))
        addParagraph(Style::Bold, QStringLiteral("%1: %2 руб.").arg(money.name, money.amount), true);
    addParagraph(Style::Text, kCommissionRoundingRule);

    addRowsApart(kWithoutRate, QStringLiteral("Без ставки вознаграждения, полисов: %1"), report.withoutRate);
    addRowsApart(kUnreadable, QStringLiteral("Не вошли в отчёт, строк: %1"), report.unreadable);
    splitIntoPages();
}

void ReportLayout::addRowsApart(int table, const QString& heading, const std::vector<AgentReport::Unreadable>& apart)
{
    if (apart.empty())
        return;
    addParagraph(Style::Heading, heading.arg(apart.size()), true);
    std::vector<QStringList> rows;
    for (const AgentReport::Unreadable& row : apart)
        rows.push_back({row.policy, row.reason});
    addTable(table, rows);
}

void ReportLayout::addParagraph(Style style, const QString& text, bool keepWithNext)
{
    Block block{-1, style, keepWithNext, {text}, 0, 0};
    measure(block);
    m_blocks.push_back(std::move(block));
}

void ReportLayout::addTable(int table, const std::vector<QStringList>& rows)
{
    QStringList names;
    for (const Column& column : m_tables[std::size_t(table)])
        names << column.name;
    m_headers[std::size_t(table)] = int(m_blocks.size());
    Block header{table, Style::HeaderCell, true, names, 0, 0};
    measure(header);
    m_blocks.push_back(std::move(header));
    for (const QStringList& cells : rows) {
        Block row{table, Style::Cell, false, cells, 0, 0};
        measure(row);
        m_blocks.push_back(std::move(row));
    }
}

const std::vector<Column>& ReportLayout::boxesOf(const Block& block) const
{
    return block.table < 0 ? m_paragraph : m_tables[std::size_t(block.table)];
}

double ReportLayout::textWidth(const Block& block, double boxWidth) const
{
    return (block.table < 0 ? boxWidth : boxWidth - 2 * kCellPadding) * kMeasureSlack;
}

double ReportLayout::chrome(const Block& block) const
{
    return block.table < 0 ? spaceAbove(block.style) + kParagraphSpace : 2 * kCellPadding;
}

// Most cells hold one short line, which the sum of its letters' widths shows without laying the text out (the
// slack covers kerning); only a longer or broken text is laid out.
void ReportLayout::measure(Block& block) const
{
    const std::size_t style = std::size_t(block.style);
    const double lineHeight = m_metrics[style].lineSpacing();
    const std::vector<Column>& boxes = boxesOf(block);
    double tallest = 0;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const QString text = block.cells.value(qsizetype(i));
        const double width = textWidth(block, boxes[i].width);
        const double height = m_letterWidths[style].fitsOneLine(text, width * kMeasureSlack)
                                  ? lineHeight
                                  : LaidOutText(m_fonts[style], text, width, boxes[i].alignment).height();
        tallest = std::max({tallest, lineHeight, height});
    }
    block.textHeight = tallest;
    block.height = tallest + chrome(block);
}

double ReportLayout::breakBefore(const Block& block, double limit) const
{
    const QFont& font = m_fonts[std::size_t(block.style)];
    const std::vector<Column>& boxes = boxesOf(block);
    std::vector<std::vector<double>> bottoms;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const double width = textWidth(block, boxes[i].width);
        bottoms.push_back(LaidOutText(font, block.cells.value(qsizetype(i)), width, boxes[i].alignment).lineBottoms());
    }
    // A height is between two lines of a text when it is one of its line ends or past its last line.
    const auto between = [&](double height) {
        return std::all_of(bottoms.begin(), bottoms.end(), [&](const std::vector<double>& ends) {
            return ends.empty() || height >= ends.back() - kSplitTolerance
                   || std::any_of(ends.begin(), ends.end(),
                                  [&](double end) { return std::abs(end - height) <= kSplitTolerance; });
        });
    };
    double best = 0;
    for (const std::vector<double>& ends : bottoms) {
        for (const double end : ends) {
            if (end <= limit && end > best && between(end))
                best = end;
        }
    }
    return best;
}

double ReportLayout::repeatedHeaderHeight(const Block& block) const
{
    if (block.table < 0 || block.style != Style::Cell)
        return 0;
    return m_blocks[std::size_t(m_headers[std::size_t(block.table)])].height;
}

bool ReportLayout::fitsOnePage(const Block& block) const
{
    return block.height <= kBodyHeight - repeatedHeaderHeight(block);
}

// A block goes to the next page when it, and the blocks it keeps with, do not fit; a table's row opening a page
// has the table's header above it. A block taller than a page starts where it is and goes on over the next
// pages, each part ending between two lines of its texts; of such a block, only its first line is kept with
// the block before it.
void ReportLayout::splitIntoPages()
{
    std::vector<Slice> page;
    double used = 0;
    bool fresh = true; // nothing on the page but a repeated header
    const auto nextPage = [&](const Block& block) {
        m_pages.push_back(std::move(page));
        page.clear();
        used = 0;
        fresh = true;
        if (repeatedHeaderHeight(block) > 0) {
            const int header = m_headers[std::size_t(block.table)];
            page.push_back({header, 0, m_blocks[std::size_t(header)].textHeight});
            used += repeatedHeaderHeight(block);
        }
    };
    for (int i = 0; i < int(m_blocks.size()); ++i) {
        const Block& block = m_blocks[std::size_t(i)];
        double needed = block.height;
        for (int next = i; m_blocks[std::size_t(next)].keepWithNext && next + 1 < int(m_blocks.size()); ++next) {
            const Block& kept = m_blocks[std::size_t(next) + 1];
            needed += fitsOnePage(kept) ? kept.height
                                        : chrome(kept) + m_metrics[std::size_t(kept.style)].lineSpacing();
        }
        if (used + needed > kBodyHeight && !fresh && fitsOnePage(block))
            nextPage(block);
        double from = 0;
        while (used + block.textHeight - from + chrome(block) > kBodyHeight + kSplitTolerance) {
            const double to = breakBefore(block, from + kBodyHeight - used - chrome(block));
            if (to > from) {
                page.push_back({i, from, to});
                from = to;
            } else if (fresh) {
                break; // a line taller than a page: nothing but cutting it could place it
            }
            nextPage(block);
        }
        page.push_back({i, from, block.textHeight});
        used += block.textHeight - from + chrome(block);
        fresh = false;
    }
    m_pages.push_back(std::move(page));
}

void ReportLayout::paintPage(QPainter& painter, int page) const
{
    painter.save();
    const double scale = painter.device()->width() / kPageWidth;
    painter.scale(scale, scale);
    painter.translate(kMargin, kMargin);
    painter.setPen(QPen(Qt::black, kLinePen));
    double top = 0;
    for (const Slice& slice : m_pages[std::size_t(page)])
        top += paintSlice(painter, slice, top);
    painter.setFont(m_fonts[std::size_t(Style::Text)]);
    painter.drawText(QRectF(0, kBodyHeight, kBodyWidth, kFooterHeight), Qt::AlignRight | Qt::AlignBottom,
                     QStringLiteral("Страница %1 из %2").arg(page + 1).arg(pageCount()));
    painter.restore();
}

double ReportLayout::paintSlice(QPainter& painter, const Slice& slice, double top) const
{
    const Block& block = m_blocks[std::size_t(slice.block)];
    const QFont& font = m_fonts[std::size_t(block.style)];
    painter.setFont(font);
    const double height = slice.to - slice.from + chrome(block);
    const double textTop = top + (block.table < 0 ? spaceAbove(block.style) : kCellPadding);
    double left = 0;
    for (std::size_t i = 0; i < boxesOf(block).size(); ++i) {
        const Column& box = boxesOf(block)[i];
        if (block.table >= 0)
            painter.drawRect(QRectF(left, top, box.width, height));
        const double width = textWidth(block, box.width);
        const double inset = block.table < 0 ? 0 : kCellPadding;
        // A right-aligned text ends at its box's padding, not at the narrower width it is laid out in.
        const double shift = box.alignment & Qt::AlignRight ? box.width - 2 * inset - width : 0;
        LaidOutText(font, block.cells.value(qsizetype(i)), width, box.alignment)
            .drawLines(painter, QPointF(left + inset + shift, textTop), slice.from, slice.to);
        left += box.width;
    }
    return height;
}

class ReportPage final : public Document
{
public:
    ReportPage(std::shared_ptr<const ReportLayout> layout, int page)
        : Document(QStringLiteral("Отчёт агента (стр.%1 из %2)").arg(page + 1).arg(layout->pageCount()))
        , m_layout(std::move(layout))
        , m_page(page)
    {
    }

    void paint(QPainter& painter) const override { m_layout->paintPage(painter, m_page); }

private:
    std::shared_ptr<const ReportLayout> m_layout;
    int m_page;
};

} // namespace

QString agentReportName(const IssuePeriod& period)
{
    return QStringLiteral("Отчёт агента %1-%2").arg(registerDateText(period.from), registerDateText(period.to));
}

DocumentList agentReportPages(const AgentReport& report)
{
    const auto layout = std::make_shared<const ReportLayout>(report);
    DocumentList pages;
    pages.reserve(std::size_t(layout->pageCount()));
    for (int page = 0; page < layout->pageCount(); ++page)
        pages.push_back(std::make_shared<ReportPage>(layout, page));
    return pages;
}

} // namespace osago
