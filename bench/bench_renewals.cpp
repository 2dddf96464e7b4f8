// Timings of the renewals over the register made by osago-make-register, in its file or on a server (LOCATION is
// a file path or a postgresql:// connection URI). One-shot measurements, so a plain timing program:
//   bench_renewals LOCATION FROM TO TODAY
// builds the renewals' indexes where they are missing (timed), then lists the policies ending FROM-TO into the
// renewals window (the read, the exclusion of the renewed, the window's table filled), and counts those ending in
// the 30 days from TODAY: through the list as before, by the engine's own count, and as the status bar does (a
// reader opened beside the register on another thread, the count told back to this one). Dates DD.MM.YYYY.

#include "app/RenewalCount.h"
#include "app/RenewalsWindow.h"
#include "storage/PolicyDatabase.h"
#include "widgets/Messages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <cstdio>

namespace {

double milliseconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const auto from = args.size() == 5 ? osago::registerDate(args[2]) : std::nullopt;
    const auto to = args.size() == 5 ? osago::registerDate(args[3]) : std::nullopt;
    const auto today = args.size() == 5 ? osago::registerDate(args[4]) : std::nullopt;
    if (!from || !to || !today) {
        std::fprintf(stderr, "usage: bench_renewals LOCATION FROM TO TODAY\n");
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    const auto opened = osago::openDatabase(args[1], osago::PolicyDatabase::Access::ReadWrite);
    if (!opened.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(opened.error));
        return 1;
    }
    osago::PolicyDatabase& database = *opened.value;
    std::printf("open: %.1f ms\n", milliseconds(timer));
    if (!database.hasRenewalIndexes()) {
        timer.restart();
        const osago::StorageStatus built = database.buildRenewalIndexes({});
        std::printf("indexes built: %.1f s%s\n", milliseconds(timer) / 1000, built.ok ? "" : " (failed)");
    }

    osago::DialogMessages messages;
    QWidget owner;
    osago::RenewalsWindow window(messages, owner);
    for (int run = 1; run <= 3; ++run) {
        timer.restart();
        auto found = osago::readRenewalsDue(database, {*from, *to});
        const double read = milliseconds(timer);
        if (!found.ok) {
            std::fprintf(stderr, "%s\n", qPrintable(found.error));
            return 1;
        }
        const std::size_t due = found.value.due.size();
        window.showRenewals(std::move(found.value), *today);
        std::printf("list %d: %zu policies, read %.1f ms, in the window %.1f ms\n", run, due, read, milliseconds(timer));

        const osago::IssuePeriod coming = osago::comingMonth(*today);
        timer.restart();
        const auto listed = osago::readRenewalsDue(database, coming);
        std::printf("count %d through the list: %zu, %.1f ms\n", run, listed.value.due.size(), milliseconds(timer));
        timer.restart();
        const osago::StorageResult<int> counted = database.countRenewalsDue(coming);
        std::printf("count %d by the engine: %d, %.1f ms\n", run, counted.value, milliseconds(timer));

        osago::RenewalCount background;
        QEventLoop told;
        int shown = -1;
        QObject::connect(&background, &osago::RenewalCount::counted, &told, [&](int due) {
            shown = due;
            told.quit();
        });
        timer.restart();
        background.start(database.readerBeside(), coming);
        told.exec();
        std::printf("count %d in the background, start to told: %d, %.1f ms\n", run, shown, milliseconds(timer));
    }
    return 0;
}
