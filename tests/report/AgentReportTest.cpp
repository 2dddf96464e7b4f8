#include "report/AgentReport.h"
#include "ExportTestSupport.h"
#include "PdfText.h"
#include "report/ReportCommand.h"
#include "report/ReportOutput.h"
#include "StorageTestSupport.h"
#include "tariff/Conversions.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

using namespace osago;
using namespace osago::test;

namespace {

struct Issue
{
    const char* issued;
    const char* premium;
    const char* type;
};

// Inside 01.03.2026-31.03.2026 unless marked: two rows without a readable date or premium.
const Issue kIssues[] = {
    {"15.03.2026", "1497,7462", "Легковой"}, {"01.03.2026", "2851,2", "Грузовой"},
    {"31.03.2026", "0,0001", "Легковой"},    {"28.02.2026", "999", "Легковой"}, // before the period
    {"01.04.2026", "5", "Легковой"},         // after it
    {"10.03.2026", "145000,6215", "Автобус"}, {"3.03.2026", "100", "Легковой"}, // date unreadable
    {"12.03.2026", "12a", "Легковой"},      // premium unreadable
};

// The sum in ten-thousandths, computed from the texts without the program's arithmetic.
qint64 tenThousandths(const QString& text)
{
    const QStringList parts = text.split(u',');
    const QString fraction = (parts.value(1) + QStringLiteral("0000")).left(4);
    return parts[0].toLongLong() * 10000 + fraction.toLongLong();
}

} // namespace

class AgentReportTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        m_path = m_folder->filePath(QStringLiteral("Baza.mdb"));
        QVERIFY(m_database.open(m_path).ok);
        // One rate in force over every issue day, so every policy is settled and none is listed apart.
        QVERIFY(m_database.addCommissionRate({QDate(2020, 1, 1), 1000}).ok);
        int n = 0;
        for (const Issue& issue : kIssues)
            QVERIFY(insertIssue(issue, QStringLiteral("ААА%1").arg(n++)));
    }
    void cleanup()
    {
        m_database.close();
        m_folder.reset();
    }

    void countsAndSumsArePreciseAndUnreadableRowsListedApart()
    {
        const IssuePeriod march{QDate(2026, 3, 1), QDate(2026, 3, 31)};
        const auto report = makeAgentReport(m_database, march, QStringLiteral("Агент"), QStringLiteral("Страховщик"));
        QVERIFY(report.ok);
        qint64 expected = 0;
        int inPeriod = 0;
        for (const Issue& issue : kIssues) {
            const auto date = registerDate(QString::fromUtf8(issue.issued));
            bool numeric = true;
            QString(QString::fromUtf8(issue.premium)).remove(u',').toLongLong(&numeric);
            if (date && march.contains(*date) && numeric) {
                expected += tenThousandths(QString::fromUtf8(issue.premium));
                ++inPeriod;
            }
        }
        QCOMPARE(int(report.value.policies.size()), inPeriod);
        const QString expectedText =
            QStringLiteral("%1,%2").arg(expected / 10000).arg(expected % 10000, 4, 10, QLatin1Char('0'));
        QCOMPARE(report.value.total, *parseExactDecimal(expectedText.toStdString()));
        QCOMPARE(premiumText(report.value.total), QStringLiteral("149349,5678"));
        QCOMPARE(groupedMoneyText(report.value.total), QStringLiteral("149\u00A0349,57"));

        QStringList order;
        for (const auto& policy : report.value.policies)
            order << policy.policy;
        QCOMPARE(order, (QStringList{"ААА1", "ААА5", "ААА0", "ААА2"}));

        QCOMPARE(int(report.value.unreadable.size()), 2);
        QCOMPARE(report.value.unreadable[0].policy, QStringLiteral("ААА6"));
        QCOMPARE(report.value.unreadable[1].policy, QStringLiteral("ААА7"));

        QCOMPARE(int(report.value.byVehicleType.size()), 3);
        const auto& cars = report.value.byVehicleType[2];
        QCOMPARE(cars.vehicleType, QStringLiteral("Легковой"));
        QCOMPARE(cars.count, 2);
        QCOMPARE(premiumText(cars.premiums), QStringLiteral("1497,7463"));
    }

    void commandWritesPdfAndCsv()
    {
        const ReportParties parties{QStringLiteral("Петров П.П."), QStringLiteral("Страховая компания")};
        QString err;
        QTextStream errors(&err);
        const QString pdf = m_folder->filePath(QStringLiteral("march.pdf"));
        const QStringList period{"--database", m_path, "--from", "01.03.2026", "--to", "31.03.2026"};
        QCOMPARE(runReportCommand(period + QStringList{pdf}, errors, parties), 0);
        QVERIFY2(err.contains(QStringLiteral("Полисов: 4, сумма премий: 149349,5678, не вошли в отчёт строк: 2")),
                 qPrintable(err));
        const QString text = pdfPages(pdf).join(u'\n');
        for (const QString& expected : {QStringLiteral("Петров П.П."), QStringLiteral("149349,5678"),
                                        QStringLiteral("ААА7"), QStringLiteral("Автобус")})
            QVERIFY2(text.contains(expected), qPrintable(expected));

        const QString csv = m_folder->filePath(QStringLiteral("march.csv"));
        QCOMPARE(runReportCommand(period + QStringList{csv}, errors, parties), 0);
        bool wellFormed = false;
        const auto rows = readCsv(QString::fromUtf8(fileBytes(csv).mid(3)), &wellFormed);
        QVERIFY(wellFormed);
        // The header, the policies, the unreadable rows, the count and the premiums, the two money totals, the rule.
        QCOMPARE(qsizetype(rows.size()), 1 + 4 + 2 + 2 + 2 + 1);
        QCOMPARE(rows.at(rows.size() - 4), (QStringList{"Сумма премий", "149349,5678"}));

        QCOMPARE(popplerOutput(QStringLiteral("pdfinfo"), {pdf}).section(u'\n', 0, 0).simplified(),
                 QStringLiteral("Title: Отчёт агента 01.03.2026-31.03.2026"));

        QCOMPARE(runReportCommand({"--from", "01.03.2026", csv}, errors, parties), 2);
        QCOMPARE(runReportCommand(period + QStringList{m_folder->filePath("r.txt")}, errors, parties), 2);
        QCOMPARE(runReportCommand({"--database", m_folder->filePath("none.mdb"), "--from", "01.03.2026", "--to",
                                   "31.03.2026", csv},
                                  errors, parties),
                 1);
    }

    // Premiums written with more places than four are summed as written, each marked; only totals are rounded.
    void premiumsOfMorePlacesAreSummedExactlyAndMarked()
    {
        const Issue may[] = {{"04.05.2026", "12,34567", "Легковой"}, {"05.05.2026", "0,00005", "Грузовой"},
                             {"06.05.2026", "0,00025", "Легковой"},  {"07.05.2026", "1,000001", "Легковой"},
                             {"08.05.2026", "2,50000", "Автобус"}};
        for (const Issue& issue : may)
            QVERIFY(insertIssue(issue, QStringLiteral("ВВВ%1").arg(QString::fromUtf8(issue.premium)), true));
        const QStringList period{"--database", m_path, "--from", "01.05.2026", "--to", "31.05.2026"};
        const IssuePeriod mayPeriod{QDate(2026, 5, 1), QDate(2026, 5, 31)};
        const auto report = makeAgentReport(m_database, mayPeriod, QString(), QString());
        QVERIFY(report.ok);
        QCOMPARE(QString::fromStdString(report.value.total.format()), QStringLiteral("15,845971"));
        QCOMPARE(premiumText(report.value.total), QStringLiteral("15,846"));
        QCOMPARE(groupedMoneyText(report.value.total), QStringLiteral("15,85"));
        QCOMPARE(premiumText(report.value.byVehicleType[1].premiums), QStringLiteral("0,0001"));
        QCOMPARE(premiumText(report.value.byVehicleType[2].premiums), QStringLiteral("13,3459"));

        QString err;
        QTextStream errors(&err);
        const QString csv = m_folder->filePath(QStringLiteral("may.csv"));
        QCOMPARE(runReportCommand(period + QStringList{csv}, errors, {}), 0);
        QVERIFY2(err.contains(QStringLiteral("сумма премий: 15,846")), qPrintable(err));
        bool wellFormed = false;
        const auto rows = readCsv(QString::fromUtf8(fileBytes(csv).mid(3)), &wellFormed);
        QVERIFY(wellFormed);
        QCOMPARE(rows.at(1).mid(6, 2), (QStringList{"12,34567", "сумма записана с 5 знаками после запятой"}));
        QCOMPARE(rows.at(4).mid(6, 2), (QStringList{"1,000001", "сумма записана с 6 знаками после запятой"}));
        QCOMPARE(rows.at(5).mid(6, 2), (QStringList{"2,5", ""}));
        QCOMPARE(rows.at(rows.size() - 4), (QStringList{"Сумма премий", "15,846"}));

        const QString pdf = m_folder->filePath(QStringLiteral("may.pdf"));
        QCOMPARE(runReportCommand(period + QStringList{pdf}, errors, {}), 0);
        const QString text = pdfPages(pdf).join(u' ');
        QCOMPARE(text.count(QStringLiteral("сумма записана с 5 знаками после запятой")), 3);
        QCOMPARE(text.count(QStringLiteral("сумма записана с 6 знаками после запятой")), 1);
        QVERIFY2(text.contains(QStringLiteral("Сумма премий: 15,846 (15,85 руб.)")), qPrintable(text));
    }

    // A row taller than a page goes on over the next pages, each of its lines drawn once, nothing cut.
    void longRowGoesOnOverPages()
    {
        QStringList words;
        for (int n = 1; n <= 300; ++n)
            words << QStringLiteral("слово%1").arg(n, 4, 10, QLatin1Char('0'));
        const QString longText = words.join(u' ');
        QCOMPARE(longText.size(), 2999);
        for (int n = 0; n < 3; ++n) {
            PolicyRow row = awkwardRow(n, QStringLiteral("1%1.06.2026").arg(n), QStringLiteral("100"));
            row.setValue(u"Номер_серия_полиса", QStringLiteral("ГГГ%1").arg(n));
            row.setValue(u"Страхователь_фамилия_фирма", n == 1 ? longText : QStringLiteral("Короткий"));
            row.setValue(u"Страхователь_имя", QString());
            row.setValue(u"Страхователь_отчество", QString());
            row.setValue(u"Марка_модель", n == 1 ? longText.left(1500) : QStringLiteral("ВАЗ"));
            QVERIFY(m_database.insert(row).ok);
        }
        const QString pdf = m_folder->filePath(QStringLiteral("june.pdf"));
        QString err;
        QTextStream errors(&err);
        QCOMPARE(runReportCommand({"--database", m_path, "--from", "01.06.2026", "--to", "30.06.2026", pdf}, errors,
                                  {}),
                 0);
        const QStringList pages = pdfPages(pdf);
        QVERIFY2(pages.size() >= 3, qPrintable(QString::number(pages.size())));
        QStringList tokens;
        for (int page = 0; page < pages.size(); ++page) {
            QVERIFY2(pages[page].contains(QStringLiteral("Страница %1 из %2").arg(page + 1).arg(pages.size())),
                     qPrintable(pages[page]));
            tokens += pages[page].split(u' ');
        }
        for (int n = 0; n < words.size(); ++n) {
            const int expected = n < 150 ? 2 : 1; // the make holds the first half again
            QVERIFY2(tokens.count(words[n]) == expected, qPrintable(words[n]));
        }
        QVERIFY(pages.back().contains(QStringLiteral("ГГГ2")));
        QVERIFY(pages.back().contains(QStringLiteral("Сумма премий: 300")));
    }

private:
    // With `oneLine`, the row's other cells in the report hold a line each, so that its text reads in order.
    bool insertIssue(const Issue& issue, const QString& policy, bool oneLine = false)
    {
        PolicyRow row = awkwardRow(0, QString::fromUtf8(issue.issued), QString::fromUtf8(issue.premium));
        if (oneLine) {
            for (const char16_t* column : {u"Страхователь_фамилия_фирма", u"Страхователь_имя", u"Страхователь_отчество",
                                           u"Марка_модель", u"Регистрационный_знак"})
                row.setValue(column, QStringLiteral("А"));
        }
        row.setValue(u"Номер_серия_полиса", policy);
        row.setValue(u"Тип_ТС", QString::fromUtf8(issue.type));
        return m_database.insert(row).ok;
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_path;
    SqliteDatabase m_database;
};

QTEST_MAIN(AgentReportTest)
#include "AgentReportTest.moc"
