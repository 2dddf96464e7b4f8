#include "blanks/report/BlankReportOutput.h"

#include "blanks/BlankRanges.h"
#include "export/CsvWriter.h"
#include "report/ReportFlow.h"
#include "report/ReportOutput.h"
#include "storage/BlankNumbers.h"
#include "storage/IssuePeriod.h"

#include <QStringList>

namespace osago {

namespace {

const QString kTitle = QStringLiteral("Отчёт по бланкам");

QString lineName(const BlankReportLine& line)
{
    return hasSeries(line.kind) ? blankKindName(line.kind) + u' ' + line.series : blankKindName(line.kind);
}

QStringList countCells(const BlankReportLine& line)
{
    QStringList cells;
    for (int group = 0; group < kBlankGroupCount; ++group)
        cells << QString::number(line.count(BlankGroup(group)));
    return cells;
}

// What the report says under a line whose end does not follow from its movement.
QString mismatchText(const BlankReportLine& line)
{
    return QStringLiteral("%1: на конец периода %2, а по движению (на начало + поступило − израсходовано) %3 — "
                          "проверьте журнал бланков")
        .arg(lineName(line))
        .arg(line.count(BlankGroup::AtEnd))
        .arg(line.expectedAtEnd());
}

QString recordsText(const BlankDiscrepancy& discrepancy)
{
    QStringList records;
    for (const BlankUser& user : discrepancy.records)
        records << QStringLiteral("%1, %2").arg(user.holder, user.issued);
    return records.join(u'\n');
}

} // namespace

QString blankReportName(const IssuePeriod& period)
{
    return QStringLiteral("%1 %2-%3").arg(kTitle, registerDateText(period.from), registerDateText(period.to));
}

DocumentList blankReportPages(const BlankReport& report)
{
    using Style = ReportFlow::Style;
    ReportFlow flow;
    flow.title = kTitle;
    flow.addParagraph(Style::Title, kTitle);
    flow.addParagraph(Style::Text, QStringLiteral("Период: с %1 по %2")
                                       .arg(registerDateText(report.period.from), registerDateText(report.period.to)));
    std::vector<ReportColumn> columns{{QStringLiteral("Бланки"), 1450}};
    for (int group = 0; group < kBlankGroupCount; ++group)
        columns.push_back({blankGroupName(BlankGroup(group)), 528, Qt::AlignRight});
    std::vector<QStringList> rows;
    for (const BlankReportLine& line : report.lines)
        rows.push_back(QStringList{lineName(line)} + countCells(line));
    flow.addTable(std::move(columns), std::move(rows));
    for (const BlankReportLine& line : report.lines) {
        if (!line.balanced())
            flow.addParagraph(Style::Bold, mismatchText(line));
    }
    for (const BlankReportLine& line : report.lines) {
        flow.addParagraph(Style::Heading, QStringLiteral("Номера: %1").arg(lineName(line)), true);
        for (int group = 0; group < kBlankGroupCount; ++group) {
            const std::vector<qint64>& numbers = line.numbers[std::size_t(group)];
            if (!numbers.empty()) {
                flow.addParagraph(Style::Text, QStringLiteral("%1: %2").arg(blankGroupName(BlankGroup(group)),
                                                                           rangesText(line.kind, numbers)));
            }
        }
    }
    flow.addParagraph(Style::Heading, QStringLiteral("Расхождения: %1").arg(report.discrepancies.size()), true);
    rows.clear();
    for (const BlankDiscrepancy& discrepancy : report.discrepancies)
        rows.push_back({blankText(discrepancy.number), recordsText(discrepancy), discrepancy.reason});
    flow.addTable({{QStringLiteral("Бланк"), 1350}, {QStringLiteral("Записи"), 1900},
                   {QStringLiteral("Причина"), kReportBodyWidth - 3250}},
                  std::move(rows));
    return reportPages(flow);
}

bool writeBlankReportCsv(const BlankReport& report, const QString& path, QString* error)
{
    QStringList header{QStringLiteral("Вид"), QStringLiteral("Серия")};
    for (int group = 0; group < kBlankGroupCount; ++group)
        header << blankGroupName(BlankGroup(group));
    QByteArray bytes = kUtf8Mark + csvLine(header);
    for (const BlankReportLine& line : report.lines)
        bytes += csvLine(QStringList{blankKindName(line.kind), line.series} + countCells(line));
    for (const BlankReportLine& line : report.lines) {
        if (!line.balanced())
            bytes += csvLine({QStringLiteral("Не сходится"), mismatchText(line)});
    }
    for (const BlankReportLine& line : report.lines) {
        for (int group = 0; group < kBlankGroupCount; ++group) {
            const std::vector<qint64>& numbers = line.numbers[std::size_t(group)];
            if (!numbers.empty()) {
                bytes += csvLine({blankKindName(line.kind), line.series, blankGroupName(BlankGroup(group)),
                                  rangesText(line.kind, numbers)});
            }
        }
    }
    for (const BlankDiscrepancy& discrepancy : report.discrepancies) {
        bytes += csvLine({QStringLiteral("Расхождение"), blankText(discrepancy.number), recordsText(discrepancy),
                          discrepancy.reason});
    }
    return writeReportFile(bytes, path, error);
}

} // namespace osago
