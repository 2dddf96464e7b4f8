#include "report/ReportPages.h"

#include "storage/IssuePeriod.h"
#include "print/PrintFonts.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

#include <array>

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
// Texts are measured a little narrower than they are drawn, so a device whose glyphs come out slightly wider
// still fits them in the lines counted.
constexpr double kMeasureSlack = 0.97;

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

// The height of `text` laid out in lines of `width`.
double wrappedHeight(const QFont& font, const QString& text, double width)
{
    QTextLayout layout(withLineBreaks(text), font);
    layout.setTextOption(wrapping(Qt::AlignLeft));
    layout.beginLayout();
    double height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        height += line.height();
    }
    layout.endLayout();
    return height;
}

// Draws `text` as wrappedHeight() measured it.
void drawWrapped(QPainter& painter, const QRectF& box, const QString& text, Qt::Alignment alignment)
{
    painter.drawText(box, withLineBreaks(text), wrapping(alignment));
}

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

enum TableIndex { kPolicies, kTypes, kUnreadable, kTables };

// One line of the report's flow: a paragraph across the page (table < 0) or a table's row, with the height it
// takes on the page.
struct Block
{
    int table = -1;
    Style style = Style::Text;
    bool keepWithNext = false;
    QStringList cells;
    double height = 0;
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
    // The table's header row, then its rows.
    void addTable(int table, const std::vector<QStringList>& rows);
    double measuredHeight(const Block& block) const;
    void splitIntoPages();
    void paintBlock(QPainter& painter, const Block& block, double top) const;

    std::array<std::vector<Column>, kTables> m_tables;
    std::array<QFont, std::size_t(Style::kStyles)> m_fonts;
    std::array<QFontMetricsF, std::size_t(Style::kStyles)> m_metrics;
    std::array<LetterWidths, std::size_t(Style::kStyles)> m_letterWidths;
    std::vector<Block> m_blocks;
    std::array<int, kTables> m_headers{};
    std::vector<std::vector<int>> m_pages; // block numbers, a table's header repeated where it goes on
};

std::array<QFont, std::size_t(Style::kStyles)> allFonts()
{
    loadPrintFonts();
    return {fontOf(Style::Title), fontOf(Style::Heading), fontOf(Style::Text),
            fontOf(Style::Bold),  fontOf(Style::Cell),    fontOf(Style::HeaderCell)};
}

ReportLayout::ReportLayout(const AgentReport& report)
    : m_tables{{{{QStringLiteral("Дата выдачи"), 560},
                  {QStringLiteral("Серия и номер полиса"), 900},
                  {QStringLiteral("Страхователь"), 1490},
                  {QStringLiteral("Марка"), 1000},
                  {QStringLiteral("Рег. знак"), 600},
                  {QStringLiteral("Премия"), 600, Qt::AlignRight}},
                 {{QStringLiteral("Тип ТС"), 2000},
                  {QStringLiteral("Полисов"), 800, Qt::AlignRight},
                  {QStringLiteral("Премии"), 1000, Qt::AlignRight}},
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
        rows.push_back({registerDateText(policy.issued), policy.policy, policy.holder, policy.vehicle, policy.plate,
                        premiumText(policy.premium)});
    }
    addTable(kPolicies, rows);

    addParagraph(Style::Heading, QStringLiteral("По типам ТС"), true);
    rows.clear();
    for (const AgentReport::TypeTotal& type : report.byVehicleType)
        rows.push_back({type.vehicleType, QString::number(type.count), premiumText(type.premiums)});
    addTable(kTypes, rows);
    addParagraph(Style::Bold, QStringLiteral("Итого полисов: %1").arg(report.policies.size()), true);
    addParagraph(Style::Bold, QStringLiteral("Сумма премий: %1 (%2 руб.)")
                                  .arg(premiumText(report.total), groupedMoneyText(report.total)));

    if (!report.unreadable.empty()) {
        addParagraph(Style::Heading, QStringLiteral("Не вошли в отчёт, строк: %1").arg(report.unreadable.size()), true);
        rows.clear();
        for (const AgentReport::Unreadable& row : report.unreadable)
            rows.push_back({row.policy, row.reason});
        addTable(kUnreadable, rows);
    }
    splitIntoPages();
}

void ReportLayout::addParagraph(Style style, const QString& text, bool keepWithNext)
{
    Block block{-1, style, keepWithNext, {text}, 0};
    block.height = measuredHeight(block);
    m_blocks.push_back(std::move(block));
}

void ReportLayout::addTable(int table, const std::vector<QStringList>& rows)
{
    QStringList names;
    for (const Column& column : m_tables[std::size_t(table)])
        names << column.name;
    m_headers[std::size_t(table)] = int(m_blocks.size());
    Block header{table, Style::HeaderCell, true, names, 0};
    header.height = measuredHeight(header);
    m_blocks.push_back(std::move(header));
    for (const QStringList& cells : rows) {
        Block row{table, Style::Cell, false, cells, 0};
        row.height = measuredHeight(row);
        m_blocks.push_back(std::move(row));
    }
}

// Most cells hold one short line, which the sum of its letters' widths shows without laying the text out (the
// slack covers kerning); only a longer or broken text is laid out.
double ReportLayout::measuredHeight(const Block& block) const
{
    const std::size_t style = std::size_t(block.style);
    const QFontMetricsF& metrics = m_metrics[style];
    const auto textHeight = [&](const QString& text, double width) {
        const double room = width * kMeasureSlack;
        if (m_letterWidths[style].fitsOneLine(text, room * kMeasureSlack))
            return metrics.lineSpacing();
        return std::max(metrics.lineSpacing(), wrappedHeight(m_fonts[style], text, room));
    };
    if (block.table < 0)
        return spaceAbove(block.style) + textHeight(block.cells.front(), kBodyWidth) + kParagraphSpace;
    const std::vector<Column>& columns = m_tables[std::size_t(block.table)];
    double tallest = 0;
    for (std::size_t i = 0; i < columns.size(); ++i)
        tallest = std::max(tallest, textHeight(block.cells.value(qsizetype(i)), columns[i].width - 2 * kCellPadding));
    return tallest + 2 * kCellPadding;
}

// A block goes to the next page when it, and the blocks it keeps with, do not fit; a table's row opening a page
// has the table's header above it.
void ReportLayout::splitIntoPages()
{
    std::vector<int> page;
    double used = 0;
    for (int i = 0; i < int(m_blocks.size()); ++i) {
        const Block& block = m_blocks[std::size_t(i)];
        double needed = block.height;
        for (int next = i; m_blocks[std::size_t(next)].keepWithNext && next + 1 < int(m_blocks.size()); ++next)
            needed += m_blocks[std::size_t(next) + 1].height;
        if (used + needed > kBodyHeight && !page.empty()) {
            m_pages.push_back(std::move(page));
            page.clear();
            used = 0;
            if (block.table >= 0 && block.style == Style::Cell) {
                const int header = m_headers[std::size_t(block.table)];
                page.push_back(header);
                used += m_blocks[std::size_t(header)].height;
            }
        }
        page.push_back(i);
        used += block.height;
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
    for (int number : m_pages[std::size_t(page)]) {
        const Block& block = m_blocks[std::size_t(number)];
        paintBlock(painter, block, top);
        top += block.height;
    }
    painter.setFont(m_fonts[std::size_t(Style::Text)]);
    painter.drawText(QRectF(0, kBodyHeight, kBodyWidth, kFooterHeight), Qt::AlignRight | Qt::AlignBottom,
                     QStringLiteral("Страница %1 из %2").arg(page + 1).arg(pageCount()));
    painter.restore();
}

void ReportLayout::paintBlock(QPainter& painter, const Block& block, double top) const
{
    painter.setFont(m_fonts[std::size_t(block.style)]);
    if (block.table < 0) {
        const double above = spaceAbove(block.style);
        drawWrapped(painter, QRectF(0, top + above, kBodyWidth, block.height - above), block.cells.front(),
                    Qt::AlignLeft);
        return;
    }
    double left = 0;
    const std::vector<Column>& columns = m_tables[std::size_t(block.table)];
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const QRectF cell(left, top, columns[i].width, block.height);
        painter.drawRect(cell);
        drawWrapped(painter, cell.adjusted(kCellPadding, kCellPadding, -kCellPadding, -kCellPadding),
                    block.cells.value(qsizetype(i)), columns[i].alignment);
        left += columns[i].width;
    }
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
