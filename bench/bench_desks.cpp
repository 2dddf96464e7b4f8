// An agency's desks on one server register (see BENCHMARKS.md, "Много рабочих мест"):
//   bench_desks make LOCATION ROWS          ROWS realistic rows appended to the empty register LOCATION
//   bench_desks run LOCATION DESKS [SECONDS] [WORD]
// `run` starts DESKS desks, each a thread with a connection of its own through the storage library, for SECONDS
// (300 by default). Each desk saves a new record every 2 s and refreshes after each save as the grid does (the
// row count and last id, then the last page's ids and rows); every 10 s it searches the surnames for WORD
// ("петров" by default). The desks' starts are spread over the periods, as real desks are not in step. At the
// end it prints the 50th, 95th and 99th percentiles of each, the failures, and checks that every record saved is
// there once, under a code of its own, holding what its desk wrote.

#include "storage/PolicyColumns.h"
#include "storage/PolicyDatabase.h"
#include "storage/tools/SampleRecords.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

using namespace osago;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kSaveEvery{2000};
constexpr milliseconds kSearchEvery{10000};
constexpr int kPageRows = 128;

int surnameColumn()
{
    return policyColumnIndex(u"Страхователь_фамилия_фирма");
}

// What one desk measured, in milliseconds, and what it saved.
struct DeskLog
{
    std::vector<double> saves;
    std::vector<double> refreshes;
    std::vector<double> searches;
    QStringList failures;
    // The code each save was given, with the text the desk wrote into the row.
    std::vector<std::pair<QString, QString>> saved;
};

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The grid's reads after a save: the count and the last id, then the ids and rows of the last page.
StorageStatus refreshLikeTheGrid(const PolicyDatabase& database, std::vector<qint64>& ids,
                                 std::vector<QStringList>& rows)
{
    const StorageResult<TableExtent> extent = database.readTableExtent();
    if (!extent.ok)
        return extent;
    ids.clear();
    StorageStatus status = database.readIdsBetween(0, extent.value.lastId, kPageRows, Walk::Down, ids);
    if (!status.ok)
        return status;
    std::reverse(ids.begin(), ids.end());
    return database.readRows(ids, rows);
}

void runDesk(const QString& location, int desk, int desks, Clock::time_point end, const QString& word, DeskLog& log)
{
    const auto database = makeDatabase(location);
    const StorageStatus opened = database->open(location);
    if (!opened.ok) {
        log.failures << opened.error;
        return;
    }
    SampleRecords samples(quint64(desk) + 1);
    const Clock::time_point start = Clock::now();
    Clock::time_point nextSave = start + kSaveEvery * desk / desks;
    Clock::time_point nextSearch = start + kSearchEvery * desk / desks;
    std::vector<qint64> ids;
    std::vector<QStringList> rows;
    for (int saves = 0;;) {
        const Clock::time_point next = std::min(nextSave, nextSearch);
        if (next >= end)
            break;
        std::this_thread::sleep_until(next);
        if (next == nextSearch) {
            const Clock::time_point began = Clock::now();
            const StorageStatus found = database->readSelectedIds({surnameColumn(), word, 0}, ids);
            if (found.ok)
                log.searches.push_back(msSince(began));
            else
                log.failures << found.error;
            while (nextSearch <= Clock::now())
                nextSearch += kSearchEvery;
            continue;
        }
        PolicyRow row = samples.next();
        const QString mark = QStringLiteral("место %1 запись %2").arg(desk).arg(++saves);
        row.setValue(0, mark);
        Clock::time_point began = Clock::now();
        const StorageResult<QString> saved = database->insert(row);
        if (saved.ok) {
            log.saves.push_back(msSince(began));
            log.saved.emplace_back(saved.value, mark);
            began = Clock::now();
            const StorageStatus refreshed = refreshLikeTheGrid(*database, ids, rows);
            if (refreshed.ok)
                log.refreshes.push_back(msSince(began));
            else
                log.failures << refreshed.error;
        } else {
            log.failures << saved.error;
        }
        while (nextSave <= Clock::now())
            nextSave += kSaveEvery;
    }
}

double percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto place = std::size_t(std::min(double(values.size() - 1), share * double(values.size())));
    return values[place];
}

void report(const char* what, const std::vector<double>& values)
{
    std::printf("%-8s %6zu  p50 %8.1f ms  p95 %8.1f ms  p99 %8.1f ms  max %8.1f ms\n", what, values.size(),
                percentile(values, 0.50), percentile(values, 0.95), percentile(values, 0.99),
                values.empty() ? 0.0 : *std::max_element(values.begin(), values.end()));
}

// Every record saved once, under a code no other has, holding its desk's mark; gives the number of faults.
int checkSaved(const QString& location, const std::vector<DeskLog>& logs)
{
    const auto database = makeDatabase(location);
    if (!database->open(location).ok)
        return 1;
    int faults = 0;
    QSet<QString> codes;
    std::vector<qint64> ids;
    for (const DeskLog& log : logs) {
        for (const auto& [code, mark] : log.saved) {
            const bool distinct = !codes.contains(code);
            codes.insert(code);
            const bool once = database->readIdsOfCode(code, ids).ok && ids.size() == 1;
            const StorageResult<PolicyRow> row = once ? database->load(RowKey(ids.front())) : StorageResult<PolicyRow>{};
            if (!distinct || !once || !row.ok || row.value.value(0) != mark) {
                std::printf("fault: code %s (%s): %s\n", qPrintable(code), qPrintable(mark),
                            !distinct ? "given twice" : !once ? "not there once" : "holds another row");
                ++faults;
            }
        }
    }
    return faults;
}

QByteArray loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readLine().trimmed() : QByteArray("?");
}

int run(const QString& location, int desks, int seconds, const QString& word)
{
    std::printf("%d desks, %d s, search \"%s\"; load average at start %s\n", desks, seconds, qPrintable(word),
                loadAverage().constData());
    std::vector<DeskLog> logs(std::size_t(desks), DeskLog{});
    const Clock::time_point end = Clock::now() + std::chrono::seconds(seconds);
    {
        std::vector<std::jthread> threads;
        for (int desk = 0; desk < desks; ++desk)
            threads.emplace_back(runDesk, location, desk, desks, end, word, std::ref(logs[std::size_t(desk)]));
    }
    std::printf("load average at end %s\n", loadAverage().constData());
    DeskLog all;
    for (const DeskLog& log : logs) {
        all.saves.insert(all.saves.end(), log.saves.begin(), log.saves.end());
        all.refreshes.insert(all.refreshes.end(), log.refreshes.begin(), log.refreshes.end());
        all.searches.insert(all.searches.end(), log.searches.begin(), log.searches.end());
        all.failures += log.failures;
        all.saved.insert(all.saved.end(), log.saved.begin(), log.saved.end());
    }
    report("save", all.saves);
    report("refresh", all.refreshes);
    report("search", all.searches);
    std::printf("failures %lld\n", static_cast<long long>(all.failures.size()));
    for (const QString& failure : QSet<QString>(all.failures.begin(), all.failures.end()))
        std::printf("  %s\n", qPrintable(failure));
    const int faults = checkSaved(location, logs);
    std::printf("saved %zu records: %d lost, doubled or changed\n", all.saved.size(), faults);
    return faults == 0 && all.failures.isEmpty() ? 0 : 1;
}

// Blocks of sample rows for the register's own append, as copy-register hands them over.
int make(const QString& location, qint64 rows)
{
    const auto database = makeDatabase(location);
    const StorageStatus opened = database->open(location);
    if (!opened.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(opened.error));
        return 1;
    }
    constexpr qint64 kBlockRows = 5000;
    SampleRecords samples(20120315);
    qint64 made = 0;
    const RowBlocks next = [&](Utf8Rows& block) {
        for (; made < rows && qint64(block.size()) < kBlockRows; ++made)
            block.appendRow(samples.next().values());
        return StorageStatus{};
    };
    QElapsedTimer timer;
    timer.start();
    qint64 reported = 0;
    const StorageResult<qint64> added = database->appendRows(next, true, [&](qint64 done) {
        if (done - reported >= 100000) {
            reported = done;
            std::fprintf(stderr, "%lld rows\n", static_cast<long long>(done));
        }
    });
    if (!added.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(added.error));
        return 1;
    }
    std::printf("%lld rows in %.1f s\n", static_cast<long long>(added.value), double(timer.elapsed()) / 1000);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == u"make")
        return make(args[2], args[3].toLongLong());
    if (args.size() >= 4 && args.size() <= 6 && args[1] == u"run") {
        const int seconds = args.size() >= 5 ? args[4].toInt() : 300;
        const QString word = args.size() == 6 ? args[5] : QStringLiteral("петров");
        return run(args[2], args[3].toInt(), seconds, word);
    }
    std::fprintf(stderr, "usage: bench_desks make LOCATION ROWS | run LOCATION DESKS [SECONDS] [WORD]\n");
    return 2;
}
