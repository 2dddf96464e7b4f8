// bench_search search FILE [PLAIN_FILE]: times the search window over a large register against the sqlite3 shell's
// own LIKE count on FILE (and on PLAIN_FILE, the same rows without the search indexes), three runs of each.
// bench_search build FILE: builds the search indexes a register lacks, timing each and its progress reports.
// Run headless (QT_QPA_PLATFORM=offscreen) from a Release build; see BENCHMARKS.md, "Search".

#include "FormPoisk.h"
#include "PolicyColumns.h"
#include "SqliteDatabase.h"
#include "RegisterModel.h"
#include "SearchIndex.h"
#include "WindowedGrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>

#include <algorithm>
#include <cstdio>
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

// The sqlite3 shell's count over the file, as a separate process, in milliseconds.
double shellCount(const QString& file, const QString& sql)
{
    QElapsedTimer timer;
    timer.start();
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {file, sql});
    shell.waitForFinished(-1);
    return double(timer.nsecsElapsed()) / 1e6;
}

QString likeCount(const Case& searched)
{
    QString word = searched.word;
    word.replace(u'\'', QStringLiteral("''"));
    return QStringLiteral("SELECT count(*) FROM TableStrah WHERE \"%1\" LIKE '%%2%'").arg(QString::fromUtf8(searched.column), word);
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
    explicit Bench(const QString& file)
    {
        const osago::StorageStatus opened = m_database.open(file);
        if (!opened.ok)
            qFatal("%s", qPrintable(opened.error));
        m_grid.setSourceModel(&m_model);
        m_grid.resize(1000, 700);
        m_grid.show();
        m_form.attachRegister(m_database, m_model);
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
    osago::SqliteDatabase m_database;
    osago::RegisterModel m_model{m_database};
    TimedGrid m_grid;
    osago::FormPoisk m_form{m_grid};
};

// Nothing found paints no rows: those cells read "-".
void printRow(const QString& what, const QString& outcome, const std::vector<double>& shell,
              const std::vector<double>& plainShell, const std::vector<double>& answered,
              const std::vector<double>& painted)
{
    const double floor = plainShell.empty() ? median(shell) : median(plainShell);
    const bool paintedRows = median(painted) >= 0;
    const QString dash = QStringLiteral("-");
    std::printf("| %s | %s | %s | %s | %s | %s | %s | %.3f |\n", qPrintable(what), qPrintable(outcome),
                qPrintable(plainShell.empty() ? dash : range(plainShell)), qPrintable(range(shell)),
                qPrintable(paintedRows ? range(painted) : dash), qPrintable(range(answered)),
                qPrintable(paintedRows ? QString::number(median(painted) / floor, 'f', 3) : dash),
                median(answered) / floor);
}

int searchCommand(const QString& file, const QString& plainFile)
{
    Bench bench(file);
    std::printf("| Search | Shown | sqlite3 LIKE, plain file (ms) | sqlite3 LIKE, this file (ms) | First rows painted (ms) "
                "| Answer and count (ms) | Painted / plain LIKE | Answer / plain LIKE |\n|---|---|---|---|---|---|---|---|\n");
    for (const Case& searched : cases()) {
        std::vector<double> shell, plainShell, answered, painted;
        for (int run = 0; run < kRuns; ++run) {
            shell.push_back(shellCount(file, likeCount(searched)));
            if (!plainFile.isEmpty())
                plainShell.push_back(shellCount(plainFile, likeCount(searched)));
            bench.prepare(searched);
            const auto [answer, paint] = bench.click("ButtonStart");
            answered.push_back(answer);
            painted.push_back(paint);
        }
        printRow(QStringLiteral("%1 \"%2\"").arg(QString::fromUtf8(searched.column), searched.word), bench.outcome(),
                 shell, plainShell, answered, painted);
    }

    std::vector<double> shell, plainShell, answered, painted;
    const QString count = QStringLiteral("SELECT count(*) FROM TableStrah");
    for (int run = 0; run < kRuns; ++run) {
        shell.push_back(shellCount(file, count));
        if (!plainFile.isEmpty())
            plainShell.push_back(shellCount(plainFile, count));
        bench.click("ButtonStart");
        const auto [answer, paint] = bench.click("ButtonTable");
        answered.push_back(answer);
        painted.push_back(paint);
    }
    printRow(QStringLiteral("\"Вся таблица\" (shell: count(*))"), bench.outcome(), shell, plainShell, answered, painted);
    return 0;
}

int buildCommand(const QString& file)
{
    osago::SqliteDatabase database;
    const osago::StorageStatus opened = database.open(file);
    if (!opened.ok)
        qFatal("%s", qPrintable(opened.error));
    for (int column : osago::searchedColumns()) {
        if (database.hasSearchIndex(column))
            continue;
        QList<int> reports;
        QElapsedTimer timer;
        timer.start();
        const osago::StorageStatus built
            = database.buildSearchIndex(column, [&](int percent) { reports << percent; });
        std::printf("| %s | %s | %.1f | %lld | %d-%d |\n", qPrintable(osago::policyColumns()[std::size_t(column)].name),
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
    std::fprintf(stderr, "usage: bench_search search FILE [PLAIN_FILE] | bench_search build FILE\n");
    return 2;
}
