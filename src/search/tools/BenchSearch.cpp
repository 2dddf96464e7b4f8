// bench_search search LOCATION [PLAIN_LOCATION]: times the search window over a large register against the
// shell's own count of the same word, three runs of each: for a file the sqlite3 shell's LIKE on FILE (and on
// PLAIN_LOCATION, the same rows without the search indexes); for a server (a postgresql:// URI) psql's ILIKE on
// both databases, PLAIN_LOCATION holding the same table without the trigram indexes.
// bench_search build LOCATION: builds the search indexes a register lacks, timing each and its progress reports.
// Run headless (QT_QPA_PLATFORM=offscreen) from a Release build; see BENCHMARKS.md, "Search".

#include "search/SearchWindow.h"
#include "storage/PolicyColumns.h"
#include "storage/PolicyDatabase.h"
#include "grid/RegisterModel.h"
#include "storage/SearchFolding.h"
#include "widgets/WindowedGrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

using osago::policyColumnIndex;

struct Case
{
    const char* criterion;
    const char* column;
    QString word;
};

const std::vector<Case>& cases()
{
    static const std::vector<Case> all{
        {"RadioButtonStr", "Страхователь_фамилия_фирма", QStringLiteral("петров")},
        {"RadioButtonStr", "Страхователь_фамилия_фирма", QStringLiteral("щщщ")},
        {"RadioButtonVlad", "Владелец_фамилия_фирма", QStringLiteral("ОВА")},
        {"RadioButtonVlad", "Владелец_фамилия_фирма", QStringLiteral("щщщ")},
        {"RadioButtonMarka", "Марка_модель", QStringLiteral("лада")},
        {"RadioButtonMarka", "Марка_модель", QStringLiteral("zzz")},
        {"RadioButtonGN", "Регистрационный_знак", QStringLiteral("вс")},
        {"RadioButtonGN", "Регистрационный_знак", QStringLiteral("ЖЖ")},
        {"RadioButtonGN", "Регистрационный_знак", QStringLiteral("36")},
        {"RadioButtonKvit", "Квитанция", QStringLiteral("12")},
        {"RadioButtonKvit", "Квитанция", QStringLiteral("abc")},
        {"RadioButtonPolis", "Номер_серия_полиса", QStringLiteral("ааа")},
        {"RadioButtonPolis", "Номер_серия_полиса", QStringLiteral("ЯЯЯ")},
        {"RadioButtonZnak", "Номер_серия_спец_знака", QStringLiteral("№0")},
        {"RadioButtonZnak", "Номер_серия_спец_знака", QStringLiteral("№X")},
    };
    return all;
}

constexpr int kRuns = 3;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QString range(const std::vector<double>& values)
{
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return QStringLiteral("%1 (%2-%3)").arg(median(values), 0, 'f', 0).arg(*low, 0, 'f', 0).arg(*high, 0, 'f', 0);
}

// The shell's count over the register, as a separate process: the sqlite3 shell for a file, psql for a server.
struct ShellCount
{
    double milliseconds = 0;
    QString count;
};

// The comparison runs the engine's own shell, so this measuring tool, unlike the program, names the engine: a
// server's register is named by its connection URI.
bool servedByPostgres(const QString& location)
{
    return location.startsWith(QStringLiteral("postgres"), Qt::CaseInsensitive);
}

ShellCount shellCount(const QString& location, const QString& sql)
{
    QElapsedTimer timer;
    timer.start();
    QProcess shell;
    if (servedByPostgres(location))
        shell.start(QStringLiteral("psql"), {QStringLiteral("-X"), QStringLiteral("-A"), QStringLiteral("-t"),
                                             QStringLiteral("-d"), location, QStringLiteral("-c"), sql});
    else
        shell.start(QStringLiteral("sqlite3"), {location, sql});
    shell.waitForFinished(-1);
    return {double(timer.nsecsElapsed()) / 1e6, QString::fromUtf8(shell.readAllStandardOutput()).trimmed()};
}

// The shell's own contains-count: LIKE in SQLite (ASCII letters folded only), ILIKE on a server.
QString likeCount(const QString& location, const Case& searched)
{
    QString word = searched.word;
    word.replace(u'\'', QStringLiteral("''"));
    const bool server = servedByPostgres(location);
    return QStringLiteral("SELECT count(*) FROM \"TableStrah\" WHERE \"%1\" %2 '%%3%'")
        .arg(QString::fromUtf8(searched.column), server ? QStringLiteral("ILIKE") : QStringLiteral("LIKE"), word);
}

std::unique_ptr<osago::PolicyDatabase> openRegister(const QString& location)
{
    std::unique_ptr<osago::PolicyDatabase> database = osago::makeDatabase(location);
    const osago::StorageStatus opened = database->open(location);
    if (!opened.ok)
        qFatal("%s", qPrintable(opened.error));
    return database;
}

// The main window's grid, noting when it has first painted rows since the clock started.
class TimedGrid : public osago::WindowedGrid
{
public:
    void startClock()
    {
        m_firstRowsPainted = -1;
        m_clock.start();
    }
    double firstRowsPainted() const { return m_firstRowsPainted; }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        osago::WindowedGrid::paintEvent(event);
        if (m_firstRowsPainted < 0 && model()->rowCount() > 0)
            m_firstRowsPainted = double(m_clock.nsecsElapsed()) / 1e6;
    }

private:
    QElapsedTimer m_clock;
    double m_firstRowsPainted = -1;
};

// The window and the grid as the program shows them.
class Bench
{
public:
    explicit Bench(const QString& location)
        : m_database(openRegister(location))
    {
        m_grid.setSourceModel(&m_model);
        m_grid.resize(1000, 700);
        m_grid.show();
        m_form.attachRegister(*m_database, m_model);
        m_form.show();
        m_model.selectAll();
        QCoreApplication::processEvents();
    }

    // Milliseconds from the click to the count shown, and to the grid's first rows painted: during the click when
    // the search paints them early, otherwise as soon as it returns.
    std::pair<double, double> click(const char* button)
    {
        m_grid.startClock();
        QElapsedTimer clock;
        clock.start();
        m_form.findChild<QAbstractButton*>(QLatin1String(button))->click();
        const double answered = double(clock.nsecsElapsed()) / 1e6;
        if (m_grid.firstRowsPainted() < 0)
            m_grid.viewport()->repaint();
        return {answered, m_grid.firstRowsPainted()};
    }

    void prepare(const Case& searched)
    {
        m_form.findChild<QAbstractButton*>(QLatin1String(searched.criterion))->setChecked(true);
        m_form.findChild<QLineEdit*>(QStringLiteral("EditPoisk"))->setText(searched.word);
    }

    QString outcome() const { return m_form.findChild<QLabel*>(QStringLiteral("LabelNaideno"))->text(); }

private:
    std::unique_ptr<osago::PolicyDatabase> m_database;
    osago::RegisterModel m_model{*m_database};
    TimedGrid m_grid;
    osago::SearchWindow m_form{m_grid};
};

// The shell's runs over one register: their times and the count they gave.
struct ShellRuns
{
    std::vector<double> milliseconds;
    QString count;

    void add(const ShellCount& run)
    {
        milliseconds.push_back(run.milliseconds);
        count = run.count;
    }
};

// Nothing found paints no rows: those cells read "-".
void printRow(const QString& what, const QString& outcome, const ShellRuns& shell, const ShellRuns& plainShell,
              const std::vector<double>& answered, const std::vector<double>& painted)
{
    const bool plain = !plainShell.milliseconds.empty();
    const double floor = median(plain ? plainShell.milliseconds : shell.milliseconds);
    const bool paintedRows = median(painted) >= 0;
    const QString dash = QStringLiteral("-");
    std::printf("| %s | %s | %s | %s | %s | %s | %s | %s | %.3f |\n", qPrintable(what), qPrintable(outcome),
                qPrintable(plain ? plainShell.count : shell.count),
                qPrintable(plain ? range(plainShell.milliseconds) : dash), qPrintable(range(shell.milliseconds)),
                qPrintable(paintedRows ? range(painted) : dash), qPrintable(range(answered)),
                qPrintable(paintedRows ? QString::number(median(painted) / floor, 'f', 3) : dash),
                median(answered) / floor);
}

int searchCommand(const QString& location, const QString& plainLocation)
{
    Bench bench(location);
    const char* scan = servedByPostgres(location) ? "psql ILIKE" : "sqlite3 LIKE";
    std::printf("| Search | Shown | Shell's count | %s, plain (ms) | %s, this register (ms) | First rows painted (ms) "
                "| Answer and count (ms) | Painted / plain scan | Answer / plain scan |\n"
                "|---|---|---|---|---|---|---|---|---|\n",
                scan, scan);
    for (const Case& searched : cases()) {
        ShellRuns shell, plainShell;
        std::vector<double> answered, painted;
        for (int run = 0; run < kRuns; ++run) {
            shell.add(shellCount(location, likeCount(location, searched)));
            if (!plainLocation.isEmpty())
                plainShell.add(shellCount(plainLocation, likeCount(plainLocation, searched)));
            bench.prepare(searched);
            const auto [answer, paint] = bench.click("ButtonStart");
            answered.push_back(answer);
            painted.push_back(paint);
        }
        printRow(QStringLiteral("%1 \"%2\"").arg(QString::fromUtf8(searched.column), searched.word), bench.outcome(),
                 shell, plainShell, answered, painted);
    }

    ShellRuns shell, plainShell;
    std::vector<double> answered, painted;
    const QString count = QStringLiteral("SELECT count(*) FROM \"TableStrah\"");
    for (int run = 0; run < kRuns; ++run) {
        shell.add(shellCount(location, count));
        if (!plainLocation.isEmpty())
            plainShell.add(shellCount(plainLocation, count));
        bench.click("ButtonStart");
        const auto [answer, paint] = bench.click("ButtonTable");
        answered.push_back(answer);
        painted.push_back(paint);
    }
    printRow(QStringLiteral("\"Вся таблица\" (shell: count(*))"), bench.outcome(), shell, plainShell, answered, painted);
    return 0;
}

int buildCommand(const QString& location)
{
    const std::unique_ptr<osago::PolicyDatabase> opened = openRegister(location);
    osago::PolicyDatabase& database = *opened;
    for (int column : osago::searchedColumns()) {
        if (database.hasSearchIndex(column))
            continue;
        QList<int> reports;
        QElapsedTimer timer;
        timer.start();
        const osago::StorageStatus built
            = database.buildSearchIndex(column, [&](int percent) { reports << percent; });
        std::printf("| %s | %s | %.1f | %lld | %d-%d |\n", qPrintable(osago::policyColumnNames().at(column)),
                    built.ok ? "built" : qPrintable(built.error), double(timer.elapsed()) / 1000.0,
                    static_cast<long long>(reports.size()), reports.isEmpty() ? 0 : reports.first(),
                    reports.isEmpty() ? 0 : reports.last());
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 3 && args[1] == u"search")
        return searchCommand(args[2], args.value(3));
    if (args.size() == 3 && args[1] == u"build")
        return buildCommand(args[2]);
    std::fprintf(stderr, "usage: bench_search search LOCATION [PLAIN_LOCATION] | bench_search build LOCATION\n");
    return 2;
}
