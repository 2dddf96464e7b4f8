#include "report/AgentReport.h"
#include "ExportTestSupport.h"
#include "PdfText.h"
#include "report/ReportCommand.h"
#include "report/ReportOutput.h"
#include "StorageTestSupport.h"

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
        int n = 0;
        for (const Issue& issue : kIssues) {
            PolicyRow row = awkwardRow(n, QString::fromUtf8(issue.issued), QString::fromUtf8(issue.premium));
            row.setValue(u"Номер_серия_полиса", QStringLiteral("ААА%1").arg(n++));
            row.setValue(u"Тип_ТС", QString::fromUtf8(issue.type));
            QVERIFY(m_database.insert(row).ok);
        }
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
        QCOMPARE(report.value.total.tenThousandths(), expected);
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
        QCOMPARE(qsizetype(rows.size()), 1 + 4 + 2 + 2);
        QCOMPARE(rows.back(), (QStringList{"Сумма премий", "149349,5678"}));

        QCOMPARE(runReportCommand({"--from", "01.03.2026", csv}, errors, parties), 2);
        QCOMPARE(runReportCommand(period + QStringList{m_folder->filePath("r.txt")}, errors, parties), 2);
        QCOMPARE(runReportCommand({"--database", m_folder->filePath("none.mdb"), "--from", "01.03.2026", "--to",
                                   "31.03.2026", csv},
                                  errors, parties),
                 1);
    }

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_path;
    SqliteDatabase m_database;
};

QTEST_MAIN(AgentReportTest)
#include "AgentReportTest.moc"
