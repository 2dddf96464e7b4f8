// Timings of the register made by osago-make-register, in its file or on a server (a LOCATION is a file path or
// a postgresql:// connection URI). One-shot measurements of a large register, so a plain timing program rather
// than a repeated micro-benchmark:
//   bench_register steps LOCATION   open, first page, last row, one insert and the refresh after it (ms)
//   bench_register walk LOCATION    the grid model touches every row; run under /usr/bin/time -v for the peak
//   bench_register plain FILE       a plain QSqlQueryModel over the full query fetched to its end, for comparison
//   bench_register append FROM TO   every row of FROM appended to the empty register TO in one transaction, as
//                                   the register's rows are moved between engines

#include "storage/sqlite/SqliteSql.h"
#include "storage/PolicyDatabase.h"
#include "transfer/RegisterCopy.h"
#include "grid/RegisterModel.h"
#include "storage/RegisterRowStream.h"
#include "storage/tools/SampleRecords.h"
#include "storage/sqlite/SqliteDatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQueryModel>

#include <cstdio>

namespace {

using osago::PolicyDatabase;
using osago::RegisterModel;
using osago::SqliteDatabase;

// Columns a grid of the main window's width shows at once.
constexpr int kVisibleColumns = 12;
constexpr int kVisibleRows = 30;

double milliseconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// Reads what a view painting rows first .. first+kVisibleRows-1 would read.
qsizetype paint(const RegisterModel& model, int first)
{
    qsizetype characters = 0;
    for (int row = first; row < std::min(first + kVisibleRows, model.rowCount()); ++row) {
        for (int column = 0; column < kVisibleColumns; ++column)
            characters += model.data(model.index(row, column)).toString().size();
    }
    return characters;
}

bool open(PolicyDatabase& database, const QString& location,
          PolicyDatabase::Access access = PolicyDatabase::Access::ReadWrite)
{
    const osago::StorageStatus opened = database.open(location, access);
    if (!opened.ok)
        std::fprintf(stderr, "%s\n", qPrintable(opened.error));
    return opened.ok;
}

int steps(const QString& location)
{
    QElapsedTimer timer;
    timer.start();
    const std::unique_ptr<PolicyDatabase> made = osago::makeDatabase(location);
    PolicyDatabase& database = *made;
    if (!open(database, location))
        return 1;
    const double opened = milliseconds(timer);
    RegisterModel model(database);
    model.refresh();
    const double refreshed = milliseconds(timer);
    paint(model, 0);
    const double firstPage = milliseconds(timer);
    std::printf("rows %d\nopen %.1f ms\nrefresh (the rows counted) %.1f ms\n"
                "first page painted %.1f ms (total from start)\n",
                model.rowCount(), opened, refreshed - opened, firstPage);

    timer.restart();
    paint(model, std::max(0, model.rowCount() - kVisibleRows));
    std::printf("jump to the last row %.1f ms\n", milliseconds(timer));

    osago::SampleRecords samples(7);
    timer.restart();
    const auto saved = database.insert(samples.next());
    const double inserted = milliseconds(timer);
    if (!saved.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(saved.error));
        return 1;
    }
    timer.restart();
    model.refresh();
    const int row = model.rowOfCode(saved.value);
    paint(model, std::max(0, row - kVisibleRows / 2));
    std::printf("one insert %.1f ms\nrefresh, find the new row and paint it %.1f ms\n", inserted, milliseconds(timer));
    // Leave the file as it was for the next run.
    database.remove(*model.keyAt(row), *model.rowAt(row));
    return 0;
}

int walk(const QString& location)
{
    const std::unique_ptr<PolicyDatabase> database = osago::makeDatabase(location);
    if (!open(*database, location))
        return 1;
    RegisterModel model(*database);
    QElapsedTimer timer;
    timer.start();
    model.refresh();
    qsizetype characters = 0;
    for (int row = 0; row < model.rowCount(); ++row)
        characters += model.data(model.index(row, 0)).toString().size();
    std::printf("rows %d, every row touched in %.0f ms (%lld characters)\n", model.rowCount(), milliseconds(timer),
                static_cast<long long>(characters));
    return 0;
}

int plain(const QString& path)
{
    SqliteDatabase database;
    if (!open(database, path))
        return 1;
    QElapsedTimer timer;
    timer.start();
    QSqlQueryModel model;
    model.setQuery(osago::sqliteSql::selectAll(), database.connection());
    const double firstFetch = milliseconds(timer);
    while (model.canFetchMore())
        model.fetchMore();
    const QVariant last = model.data(model.index(model.rowCount() - 1, 0));
    std::printf("rows %d, first fetch %.1f ms, fetched to the end in %.0f ms (%s)\n", model.rowCount(), firstFetch,
                milliseconds(timer), qPrintable(last.toString()));
    model.clear();
    return 0;
}

int append(const QString& from, const QString& to)
{
    const std::unique_ptr<PolicyDatabase> source = osago::makeDatabase(from);
    const std::unique_ptr<PolicyDatabase> target = osago::makeDatabase(to);
    if (!open(*source, from, PolicyDatabase::Access::ReadOnly) || !open(*target, to))
        return 1;
    QElapsedTimer timer;
    timer.start();
    // The same copy as `osago copy-register FROM TO`, into an empty register.
    const auto added = osago::copyRegister(*source, *target, false, [](qint64 copied, qint64) {
        if (copied % 100000 < qint64(osago::RegisterRowStream::kBlockRows))
            std::fprintf(stderr, "%lld rows\n", static_cast<long long>(copied));
    });
    if (!added.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(added.error));
        return 1;
    }
    std::printf("%lld rows appended in %.1f s\n", static_cast<long long>(added.value), milliseconds(timer) / 1000.0);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == u"steps")
        return steps(args[2]);
    if (args.size() == 3 && args[1] == u"walk")
        return walk(args[2]);
    if (args.size() == 3 && args[1] == u"plain")
        return plain(args[2]);
    if (args.size() == 4 && args[1] == u"append")
        return append(args[2], args[3]);
    std::fprintf(stderr, "usage: bench_register steps|walk LOCATION | plain FILE | append FROM TO\n");
    return 2;
}
