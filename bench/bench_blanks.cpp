// Timings of the blanks' journal on a large register made by osago-make-register (a LOCATION is a file path or a
// postgresql:// connection URI), one-shot, so a plain timing program:
//   bench_blanks LOCATION   receives ten ranges of 100,000 policy blanks (up to 1,000,000 in the journal), times
//                           twenty saves without blanks and twenty with the check and the blank taken, and a
//                           month's journal rows read, then its blank report computed and written as PDF (ms); on
//                           a register without blanks (a fresh osago-make-register file, or a fresh server database filled from one)

#include "blanks/BlankReport.h"
#include "blanks/report/BlankReportOutput.h"
#include "print/PdfExport.h"
#include "storage/BlankJournal.h"
#include "storage/BlankNumbers.h"
#include "storage/PolicyDatabase.h"
#include "storage/tools/SampleRecords.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using namespace osago;

constexpr qint64 kRange = 100000;
constexpr int kRanges = 10;
constexpr int kSaves = 20;
const QString kSeries = QStringLiteral("ББВ");

double milliseconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool failed(const StorageStatus& status)
{
    if (!status.ok)
        std::fprintf(stderr, "%s\n", qPrintable(status.error));
    return !status.ok;
}

// Saves kSaves sample records, each with its blank checked and taken from `first` on when `withBlanks`; the
// median time of one save.
double saves(PolicyDatabase& database, SampleRecords& samples, bool withBlanks, qint64 first)
{
    std::vector<double> times;
    for (int i = 0; i < kSaves; ++i) {
        PolicyRow row = samples.next();
        const BlankNumber blank{BlankKind::Policy, kSeries, first + i};
        row.setValue(blankColumn(BlankKind::Policy), blankText(blank).remove(u' '));
        QElapsedTimer timer;
        timer.start();
        RecordBlanks blanks;
        if (withBlanks) {
            std::vector<BlankCheck> checks;
            if (failed(database.blanks().check(std::span(&blank, 1), {}, checks)))
                return -1;
            if (checks.front().verdict == BlankVerdict::OnHand)
                blanks.take.push_back(blank);
        }
        if (failed(database.insert(row, blanks)))
            return -1;
        times.push_back(milliseconds(timer));
    }
    return median(times);
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_blanks LOCATION\n");
        return 2;
    }
    const QString location = QString::fromLocal8Bit(argv[1]);
    const std::unique_ptr<PolicyDatabase> database = makeDatabase(location);
    if (failed(database->open(location)))
        return 1;
    std::printf("records %d\n", database->readTableExtent().value.rows);
    BlankJournal& journal = database->blanks();
    const QDate received(2026, 3, 2);
    for (int range = 0; range < kRanges; ++range) {
        const qint64 first = range * kRange + 1;
        QElapsedTimer timer;
        timer.start();
        const StorageResult<ReceiveOutcome> outcome =
            journal.receive({BlankKind::Policy, kSeries, first, first + kRange - 1, received, "1", {}});
        if (failed(outcome))
            return 1;
        std::printf("receive 100,000 (journal %lld after) %.1f ms, marked used %lld\n",
                    qlonglong(first + kRange - 1), milliseconds(timer), qlonglong(outcome.value.markedUsed));
    }
    SampleRecords samples(20261210);
    const double plain = saves(*database, samples, false, 0);
    const double checked = saves(*database, samples, true, 500001);
    std::printf("save without blanks %.2f ms, with the check and the blank taken %.2f ms (median of %d)\n", plain,
                checked, kSaves);

    QElapsedTimer timer;
    timer.start();
    // The program builds the issue index at the register's first report, before the report itself.
    if (!database->hasIssueDayIndex() && failed(database->buildIssueDayIndex({})))
        return 1;
    std::printf("issue index built %.1f ms\n", milliseconds(timer));
    const IssuePeriod march{QDate(2026, 3, 1), QDate(2026, 3, 31)};
    timer.restart();
    std::vector<BlankHistoryRow> history;
    if (failed(journal.readHistory(march, history)))
        return 1;
    std::printf("the month's journal rows read %.1f ms (%zu rows)\n", milliseconds(timer), history.size());
    timer.restart();
    const StorageResult<BlankReport> report = makeBlankReport(*database, march);
    if (failed(report))
        return 1;
    const double computed = milliseconds(timer);
    QString error;
    if (!writePdf(blankReportPages(report.value), QDir::temp().filePath("bench-blanks.pdf"), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("month's report computed %.1f ms, with its PDF %.1f ms (lines %zu, discrepancies %zu)\n", computed,
                milliseconds(timer), report.value.lines.size(), report.value.discrepancies.size());
    return 0;
}
