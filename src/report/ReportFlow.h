#pragma once

#include "print/Document.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace osago {

// A report's contents in their order, paragraphs and tables, laid out into A4 portrait pages for the preview,
// the printer and a PDF file: a table's header again on every page it goes on to, a row taller than a page
// going on over the next pages. Every row is measured once to split the report into pages; a page draws only its
// own rows, and only when it is painted. Sizes are in tenths of a point.
inline constexpr double kReportBodyWidth = 5150;

struct ReportColumn
{
    QString name;
    double width;
    Qt::Alignment alignment = Qt::AlignLeft;
};

struct ReportFlow
{
    enum class Style { Title, Heading, Text, Bold };
    // A paragraph across the page (table < 0), or a table of `tables` with its rows.
    struct Item
    {
        int table = -1;
        Style style = Style::Text;
        // Kept on one page with what follows (a heading with its table).
        bool keepWithNext = false;
        QString text;
        std::vector<QStringList> rows;
    };

    // What each page is titled by: "TITLE (стр.1 из 3)".
    QString title;
    std::vector<std::vector<ReportColumn>> tables;
    std::vector<Item> items;

    void addParagraph(Style style, const QString& text, bool keepWithNext = false);
    void addTable(std::vector<ReportColumn> columns, std::vector<QStringList> rows);
};

DocumentList reportPages(const ReportFlow& flow);

} // namespace osago
