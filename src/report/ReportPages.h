#pragma once

#include "report/AgentReport.h"
#include "print/Document.h"

namespace osago {

// The report's pages, A4 portrait, for the preview, the printer and a PDF file: a title with the agent, the
// insurer and the period, the policies (the table's header again on every page it goes on to), the summary by
// vehicle type, the totals and the rows that could not be read; a row taller than a page goes on over the next
// pages. Every row is measured once to split the report into pages; a page draws only its own rows, and only
// when it is painted.
DocumentList agentReportPages(const AgentReport& report);

// A list laid out as the report is: its title, lines of text, one table (the header again on every page it goes
// on to), and lines in bold after it; the pages titled "TITLE (стр.N из M)".
struct PrintedList
{
    struct Column
    {
        QString name;
        double weight; // its share of the page's width, against the other columns'
        bool alignRight = false;
    };
    QString title;
    QStringList lines;
    std::vector<Column> columns;
    std::vector<QStringList> rows;
    QStringList closing;
};
DocumentList printedListPages(const PrintedList& list);

// The report's name, its PDF's title and file name: "Отчёт агента 01.03.2026-31.03.2026".
QString agentReportName(const IssuePeriod& period);

} // namespace osago
