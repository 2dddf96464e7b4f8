// Timings of the register on a file made by osago-make-register. One-shot measurements of a large file, so a
// plain timing program rather than a repeated micro-benchmark:
//   bench_register steps FILE   open, first page, last row, one insert and the refresh after it (ms)
//   bench_register walk FILE    the grid model touches every row; run under /usr/bin/time -v for the peak
//   bench_register plain FILE   a plain QSqlQueryModel over the full query fetched to its end, for comparison

#include "SqliteDatabase.h"
#include "PolicySql.h"
#include "RegisterModel.h"
#include "SampleRecords.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQueryModel>

#include <cstdio>

namespace {

using osago::SqliteDatabase;
using osago::RegisterModel;

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

bool open(SqliteDatabase& database, const QString& path)
{
    const osago::StorageStatus opened = database.open(path);
    if (!opened.ok)
        std::fprintf(stderr, "%s\n", qPrintable(opened.error));
    return opened.ok;
}

int steps(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    SqliteDatabase database;
    if (!open(database, path))
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

int walk(const QString& path)
{
    SqliteDatabase database;
    if (!open(database, path))
        return 1;
    RegisterModel model(database);
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
    model.setQuery(osago::policySql::selectAll(), database.connection());
    const double firstFetch = milliseconds(timer);
    while (model.canFetchMore())
        model.fetchMore();
    const QVariant last = model.data(model.index(model.rowCount() - 1, 0));
    std::printf("rows %d, first fetch %.1f ms, fetched to the end in %.0f ms (%s)\n", model.rowCount(), firstFetch,
                milliseconds(timer), qPrintable(last.toString()));
    model.clear();
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
    std::fprintf(stderr, "usage: bench_register steps|walk|plain FILE\n");
    return 2;
}
