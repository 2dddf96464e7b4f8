// Timings of the whole program over a register made by osago-make-register, as the agent meets it, in its file or
// on a server (LOCATION: a file path or a postgresql:// connection URI, as --database takes). A plain timing
// program run on the offscreen platform (QT_QPA_PLATFORM=offscreen):
//   bench_program steps LOCATION    from main() to the grid painted in the maximised main window; Ctrl+End to the
//                                   last row painted; one save from the editor to the grid painted after it; a
//                                   refresh alone
//   bench_program scroll LOCATION   pages through the whole grid, a repaint each page, as a held-down PageDown
//                                   would; run under /usr/bin/time -v for the peak
//   bench_program report LOCATION FROM TO   "Отчёт агента..." for the period typed in (DD.MM.YYYY): from the click
//                                   on "ОК" until the preview has painted the first page; then End to the last
//                                   page painted
//   bench_program blanks-report LOCATION FROM TO   "Отчёт по бланкам..." the same way
//   bench_program journal LOCATION  "Журнал бланков..." (Ctrl+B): from the menu item until its first page of blanks
//                                   has painted, the window opened three times
//   bench_program backup FILE       "Резервная копия" from the menu: how long until the copy is reported, and until it
//                                   is on the disk; how often the main window's grid repainted meanwhile (asked
//                                   to repaint every 16 ms), with the longest wait
// The saved row is deleted again, so the register keeps its rows for the next run.

#include "widgets/Controls.h"
#include "editor/PolicyEditor.h"
#include "app/MainWindow.h"
#include "app/PeriodWindow.h"
#include "app/ReportWindow.h"
#include "widgets/MaskedEdit.h"
#include "print/PagePreview.h"
#include "widgets/Messages.h"
#include "storage/PolicyDatabase.h"
#include "app/Program.h"
#include "grid/RegisterModel.h"
#include "app/BackupCommands.h"
#include "app/BlankCommands.h"
#include "blanks/window/BlankJournalWindow.h"
#include "app/ReportCommands.h"
#include "widgets/WindowedGrid.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

using osago::Program;

double milliseconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// Says nothing and answers No; prints what the program would have shown.
class QuietMessages final : public osago::Messages
{
public:
    bool confirm(QWidget*, const QString&, const QString&) override { return false; }
    void show(QWidget*, const QString&, const QString& text, Icon) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        ++shownCount;
    }
    void beep() override {}

    int shownCount = 0;
};

// Counts the paint events a widget has received.
class PaintCounter final : public QObject
{
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int painted = 0;

    // Runs the event loop until the widget has painted again; a paint event is handled before the loop returns.
    void waitForPaint()
    {
        const int before = painted;
        while (painted == before)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++painted;
        return false;
    }
};

osago::WindowedGrid& gridOf(Program& program)
{
    return program.mainWindow().grid();
}

int steps(Program& program, const QElapsedTimer& sinceMain)
{
    osago::WindowedGrid& grid = gridOf(program);
    PaintCounter viewport(*grid.viewport());
    program.start();
    viewport.waitForPaint();
    std::printf("rows %d\nstart to the grid painted %.1f ms (from main())\n", program.registerModel().rowCount(),
                milliseconds(sinceMain));

    grid.setFocus();
    QElapsedTimer timer;
    timer.start();
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
    QApplication::sendEvent(&grid, &end);
    viewport.waitForPaint();
    std::printf("Ctrl+End to the last row painted %.1f ms (row %d shown)\n", milliseconds(timer),
                grid.lastShownRow() + 1);

    osago::PolicyEditor& editor = program.policyEditor();
    program.mainWindow().findChild<QAction*>(QStringLiteral("N2"))->trigger();
    osago::setControlText(editor, QStringLiteral("LabeledEditFamil"), QStringLiteral("Замеров"));
    auto* pages = osago::control<QTabWidget>(editor, QStringLiteral("PageControl"));
    pages->setCurrentIndex(pages->count() - 1);
    QCoreApplication::processEvents();
    timer.restart();
    osago::control<QPushButton>(editor, QStringLiteral("ButtonSave"))->click();
    const double saved = milliseconds(timer);
    viewport.waitForPaint();
    const double painted = milliseconds(timer);
    const int savedRow = grid.selectedSourceRow();
    std::printf("save: click to the editor closed %.1f ms, to the grid painted %.1f ms (row %d selected)\n", saved,
                painted, savedRow + 1);

    timer.restart();
    program.registerModel().refresh();
    std::printf("a refresh alone %.1f ms\n", milliseconds(timer));

    const osago::RegisterModel& model = program.registerModel();
    const int last = model.rowCount() - 1;
    if (!program.database().remove(*model.keyAt(last), *model.rowAt(last)).ok)
        std::fprintf(stderr, "the saved row was not deleted\n");
    return 0;
}

int scroll(Program& program)
{
    osago::WindowedGrid& grid = gridOf(program);
    PaintCounter viewport(*grid.viewport());
    program.start();
    viewport.waitForPaint();
    QElapsedTimer timer;
    timer.start();
    QScrollBar* bar = grid.verticalScrollBar();
    int pages = 0;
    for (int value = 0;; value += bar->pageStep()) {
        bar->setValue(value);
        grid.viewport()->repaint();
        ++pages;
        if (bar->value() == bar->maximum())
            break;
    }
    std::printf("rows %d, %d pages painted in %.0f ms, last row shown %d\n", program.registerModel().rowCount(), pages,
                milliseconds(timer), grid.lastShownRow() + 1);
    return 0;
}

// The automatic copy of the day, when the program starts one, is finished first.
void startQuietly(Program& program, PaintCounter& viewport)
{
    program.start();
    viewport.waitForPaint();
    while (program.backupCommands().isBackingUp())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// A report of the period typed into `period`, shown in `window`, that `ask` opens the period window for.
int report(Program& program, const std::function<void()>& ask, osago::PeriodWindow& period,
           osago::ReportWindow& window, const QString& from, const QString& to)
{
    PaintCounter viewport(*gridOf(program).viewport());
    startQuietly(program, viewport);
    ask();
    // The end first: the window lists the agents of the period at each date typed, and the start of a month long
    // past with the end still at the last month would have it read every policy since for their agents.
    period.findChild<osago::MaskedEdit*>(QStringLiteral("EditTo"))->setMaskedText(to);
    period.findChild<osago::MaskedEdit*>(QStringLiteral("EditFrom"))->setMaskedText(from);
    PaintCounter preview(*window.preview().viewport());
    QElapsedTimer timer;
    timer.start();
    period.findChild<QPushButton*>(QStringLiteral("ButtonOk"))->click();
    preview.waitForPaint();
    const double firstPage = milliseconds(timer);
    std::printf("report %s-%s: %zu pages, first page painted %.0f ms after the click\n", qPrintable(from),
                qPrintable(to), window.pages().size(), firstPage);
    if (window.pages().size() < 2)
        return 0; // End would paint nothing new
    timer.restart();
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    QApplication::sendEvent(&window.preview(), &end);
    preview.waitForPaint();
    std::printf("End to the last page painted %.0f ms (page %d shown)\n", milliseconds(timer),
                window.preview().lastPainted() + 1);
    return 0;
}

int journal(Program& program)
{
    PaintCounter viewport(*gridOf(program).viewport());
    startQuietly(program, viewport);
    osago::BlankJournalWindow& window = program.blankCommands().journalWindow();
    PaintCounter blanks(*window.grid().viewport());
    for (int round = 1; round <= 3; ++round) {
        QElapsedTimer timer;
        timer.start();
        program.mainWindow().findChild<QAction*>(QStringLiteral("N28"))->trigger();
        blanks.waitForPaint();
        std::printf("journal open %d: %d blanks, first page painted %.1f ms after the menu item\n", round,
                    window.grid().model()->rowCount(), milliseconds(timer));
        window.close();
        QCoreApplication::processEvents();
    }
    return 0;
}

int backup(Program& program, const QuietMessages& messages)
{
    osago::WindowedGrid& grid = gridOf(program);
    PaintCounter viewport(*grid.viewport());
    startQuietly(program, viewport);
    QTimer ticks;
    ticks.setInterval(16);
    QElapsedTimer sinceTick;
    qint64 longestWait = 0;
    int tickCount = 0;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        longestWait = std::max(longestWait, sinceTick.restart());
        ++tickCount;
        grid.viewport()->update();
    });
    QElapsedTimer timer;
    timer.start();
    const int paintedBefore = viewport.painted;
    const int shownBefore = messages.shownCount;
    program.mainWindow().findChild<QAction*>(QStringLiteral("N22"))->trigger();
    sinceTick.start();
    ticks.start();
    while (messages.shownCount == shownBefore)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    const double reported = milliseconds(timer);
    while (program.backupCommands().isBackingUp())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ticks.stop();
    std::printf("backup reported after %.0f ms, on the disk after %.0f ms: grid painted %d times, %d ticks of 16 ms, "
                "longest wait between ticks %lld ms\n",
                reported, milliseconds(timer), viewport.painted - paintedBefore, tickCount, longestWait);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const bool reportArgs = args.size() == 5 && (args[1] == u"report" || args[1] == u"blanks-report");
    if (!reportArgs && (args.size() != 3 || (args[1] != u"steps" && args[1] != u"scroll" && args[1] != u"backup"
                                             && args[1] != u"journal"))) {
        std::fprintf(stderr, "usage: bench_program steps|scroll|journal LOCATION, bench_program backup FILE, "
                             "bench_program report|blanks-report LOCATION FROM TO\n");
        return 2;
    }
    QApplication::setOrganizationName(QStringLiteral("osago-bench"));
    QApplication::setApplicationName(QStringLiteral("bench_program"));
    QuietMessages messages;
    Program program(messages, {args[2]});
    if (args[1] == u"report") {
        osago::ReportCommands& reports = program.reportCommands();
        return report(program, [&] { reports.report(); }, reports.periodWindow(), reports.reportWindow(), args[3],
                      args[4]);
    }
    if (args[1] == u"blanks-report") {
        osago::BlankCommands& blanks = program.blankCommands();
        return report(program, [&] { blanks.report(); }, blanks.periodWindow(), blanks.reportWindow(), args[3],
                      args[4]);
    }
    if (args[1] == u"journal")
        return journal(program);
    if (args[1] == u"backup")
        return backup(program, messages);
    return args[1] == u"steps" ? steps(program, sinceMain) : scroll(program);
}
