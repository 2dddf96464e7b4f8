#include "ExportTestSupport.h"
#include "MoneyArithmetic.h"
#include "TestRegister.h"
#include "report/AgentReport.h"
#include "report/CommissionCommand.h"
#include "report/ReportCommand.h"
#include "report/ReportOutput.h"
#include "storage/RegisterCopies.h"
#include "transfer/RegisterCopy.h"

#include <QFile>
#include <QTest>
#include <QTextStream>

#include <algorithm>
#include <tuple>

using namespace osago;
using namespace osago::test;

namespace {

// The rates start on 10.02.2026 (10 %) and 01.03.2026 (12,5 %).
const AgentIssue kIssues[] = {
    {"09.02.2026", "1000", "Петров П. П."},         // before any rate
    {"10.02.2026", "100,04", "Иванова А. А."},       // the first rate's day
    {"28.02.2026", "6968,8838", "Петров П. П."},
    {"01.03.2026", "8174,0899", "Иванова А. А."},    // the second rate's day
    {"15.03.2026", "1497,74625", "Иванова А. А."},
    {"31.03.2026", "0,0049", ""},
    {"20.03.2026", "12a", "Петров П. П."},           // premium unreadable
    {"01.04.2026", "5000", "Сидоров С. С."},         // after the period
};

const CommissionRates kRates{{QDate(2026, 2, 10), 1000}, {QDate(2026, 3, 1), 1250}};
const IssuePeriod kPeriod{QDate(2026, 2, 1), QDate(2026, 3, 31)};

const AgentIssue* issueOf(const QString& policy)
{
    return &kIssues[policy.mid(3).toInt()];
}

QString fileText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

// The commission rates in the register and the report's money, on a register file and on the test server alike.
class CommissionRegisterTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_register = std::make_unique<TestRegister>();
        m_database = m_register->makeDatabase();
        const StorageStatus opened = m_database->open(m_register->location());
        QVERIFY2(opened.ok, qPrintable(opened.error));
        int n = 0;
        for (const AgentIssue& issue : kIssues) {
            PolicyRow row = awkwardRow(n, QString::fromUtf8(issue.issued), QString::fromUtf8(issue.premium));
            row.setValue(u"ФИО_агента", QString::fromUtf8(issue.agent));
            row.setValue(u"Номер_серия_полиса", QStringLiteral("ПОЛ%1").arg(n++));
            QVERIFY(m_database->insert(row).ok);
        }
    }
    void cleanup()
    {
        m_database.reset();
        m_register.reset();
    }

    // Rates go on after the last one only; another desk reads the same schedule; a register opened for reading
    // takes none.
    void ratesGrowForwardOnly()
    {
        QCOMPARE(m_database->readCommissionRates().value, CommissionRates{});
        for (const CommissionRate& rate : kRates)
            QVERIFY(m_database->addCommissionRate(rate).ok);
        for (const CommissionRate& refused : {CommissionRate{QDate(2026, 3, 1), 900}, {QDate(2026, 2, 20), 900}}) {
            const StorageStatus status = m_database->addCommissionRate(refused);
            QVERIFY(!status.ok);
            QVERIFY2(status.error.contains(QStringLiteral("только после последней")), qPrintable(status.error));
        }
        const auto desk = m_register->makeDatabase();
        QVERIFY(desk->open(m_register->location(), PolicyDatabase::Access::ReadOnly).ok);
        QCOMPARE(desk->readCommissionRates().value, kRates);
        QVERIFY(!desk->addCommissionRate({QDate(2027, 1, 1), 500}).ok);
        QCOMPARE(m_database->readCommissionRates().value, kRates);
    }

    // Each policy's rate is the one in force on its issue day; commission and transfer are those worked out in the
    // test, the totals their sums; the policies without a rate and the unreadable premium stand apart.
    void reportSettlesEachPolicyByItsIssueDay()
    {
        for (const CommissionRate& rate : kRates)
            QVERIFY(m_database->addCommissionRate(rate).ok);
        const auto report = makeAgentReport(*m_database, kPeriod, QStringLiteral("Агент"), QString());
        QVERIFY2(report.ok, qPrintable(report.error));
        QCOMPARE(int(report.value.policies.size()), 6);
        Wide commissions = 0;
        Wide transfers = 0;
        for (const AgentReport::Policy& policy : report.value.policies) {
            const AgentIssue& issue = *issueOf(policy.policy);
            const std::optional<int> rate = rateInForce(kRates, *registerDate(QString::fromUtf8(issue.issued)));
            QCOMPARE(policy.settlement.has_value(), rate.has_value());
            if (!rate)
                continue;
            QCOMPARE(policy.settlement->rate, *rate);
            const QString premium = QString::fromUtf8(issue.premium);
            const Wide commission = commissionKopecks(premium, *rate);
            QCOMPARE(kopeckText(policy.settlement->commission), kopecks(commission));
            QCOMPARE(kopeckText(policy.settlement->transfer), kopecks(roundedKopecks(premium) - commission));
            commissions += commission;
            transfers += roundedKopecks(premium) - commission;
        }
        QCOMPARE(kopeckText(report.value.commissions), kopecks(commissions));
        QCOMPARE(kopeckText(report.value.transfers), kopecks(transfers));
        QCOMPARE(int(report.value.withoutRate.size()), 1);
        QCOMPARE(report.value.withoutRate.front().policy, QStringLiteral("ПОЛ0"));
        QCOMPARE(int(report.value.unreadable.size()), 1);
        QCOMPARE(report.value.unreadable.front().policy, QStringLiteral("ПОЛ6"));
    }

    // A rate added later leaves the report of the period before it as it was, byte for byte.
    void laterRateLeavesEarlierPeriodAlone()
    {
        for (const CommissionRate& rate : kRates)
            QVERIFY(m_database->addCommissionRate(rate).ok);
        const QString before = m_register->folder() + QStringLiteral("/before.csv");
        const QString after = m_register->folder() + QStringLiteral("/after.csv");
        QString error;
        QVERIFY(writeAgentReportCsv(makeAgentReport(*m_database, kPeriod, {}, {}).value, before, &error));
        QVERIFY(m_database->addCommissionRate({QDate(2026, 4, 1), 2000}).ok);
        QVERIFY(writeAgentReportCsv(makeAgentReport(*m_database, kPeriod, {}, {}).value, after, &error));
        QCOMPARE(fileText(after), fileText(before));
        QVERIFY(fileText(before).contains(QStringLiteral("\"Вознаграждение агента\";\"")));
    }

    // The agents of a period, and a report of one of them: its heading names the agent, only the agent's
    // policies are in it; `osago report --agent` writes the same.
    void reportOfOneAgent()
    {
        const auto agents = m_database->readAgentsIssuedIn(kPeriod);
        QVERIFY(agents.ok);
        QCOMPARE(agents.value, (QStringList{QStringLiteral("Иванова А. А."), QStringLiteral("Петров П. П.")}));
        const QString agent = QStringLiteral("Иванова А. А.");
        const auto report = makeAgentReport(*m_database, kPeriod, QStringLiteral("Агент"), QString(), agent);
        QVERIFY(report.ok);
        QCOMPARE(report.value.agent, agent);
        QStringList policies;
        for (const AgentReport::Policy& policy : report.value.policies)
            policies << policy.policy;
        QCOMPARE(policies, (QStringList{QStringLiteral("ПОЛ1"), QStringLiteral("ПОЛ3"), QStringLiteral("ПОЛ4")}));

        const QString csv = m_register->folder() + QStringLiteral("/agent.csv");
        QString errors;
        QTextStream stream(&errors);
        QCOMPARE(runReportCommand({"--database", m_register->location(), "--from", "01.02.2026", "--to", "31.03.2026",
                                   "--agent", agent, csv},
                                  stream, {}),
                 0);
        QVERIFY2(errors.startsWith(QStringLiteral("Полисов: 3,")), qPrintable(errors));
        QVERIFY(!fileText(csv).contains(QStringLiteral("ПОЛ2")));
    }

    // A period's rows and its agents are the same through the issue index and by reading the table; a row whose
    // issue date is no readable date is always among the rows, never among the agents; the owner builds the index.
    void periodReadsAreTheSameWithAndWithoutTheIssueIndex()
    {
        const QString odd[][2] = {{"29.02.2026", "Чужой Ч. Ч."}, {"15.03.0999", "Чужой Ч. Ч."}, {"", "Без даты"},
                                  {"29.02.2024", "Високосный В. В."}, {"31.03.2026", "Мартовский М. М."}};
        for (const auto& [date, agent] : odd) {
            PolicyRow row = awkwardRow(0, date, QStringLiteral("1"));
            row.setValue(u"ФИО_агента", agent);
            QVERIFY(m_database->insert(row).ok);
        }
        const int columns[] = {policyColumnIndex(u"Дата_выдачи"), policyColumnIndex(u"ФИО_агента")};
        const auto read = [&] {
            std::vector<QStringList> rows;
            const StorageStatus status = m_database->readIssuedIn(kPeriod, columns, rows);
            const auto agents = m_database->readAgentsIssuedIn(kPeriod);
            std::vector<QStringList> ofAgent;
            const StorageStatus byAgent =
                m_database->readIssuedByAgent(kPeriod, QStringLiteral("Без даты"), columns, ofAgent);
            return status.ok && agents.ok && byAgent.ok ? std::tuple(rows, agents.value, ofAgent)
                                                        : std::tuple(rows, QStringList{status.error}, ofAgent);
        };
        QVERIFY(m_database->hasIssueDayIndex());
        const auto indexed = read();
        const auto& [rows, agents, ofAgent] = indexed;
        QStringList expectedAgents;
        for (const QString* date : {&odd[0][0], &odd[2][0]}) {
            QVERIFY(std::any_of(rows.begin(), rows.end(), [&](const QStringList& row) { return row[0] == *date; }));
        }
        for (const QStringList& row : rows) {
            const std::optional<QDate> day = registerDate(row[0]);
            if (day && kPeriod.contains(*day) && !row[1].isEmpty())
                expectedAgents << row[1];
        }
        expectedAgents.sort();
        expectedAgents.removeDuplicates();
        QCOMPARE(agents, expectedAgents);
        QVERIFY(agents.contains(QStringLiteral("Мартовский М. М.")) && !agents.contains(QStringLiteral("Чужой Ч. Ч."))
                && !agents.contains(QStringLiteral("Без даты")) && !agents.contains(QStringLiteral("Високосный В. В.")));
        QCOMPARE(int(ofAgent.size()), 1);

        m_database->close();
        QVERIFY(RawRegister(*m_register).exec(QStringLiteral("DROP INDEX \"TableStrah_issued\"")));
        QVERIFY(m_database->open(m_register->location()).ok);
        QVERIFY(!m_database->hasIssueDayIndex());
        QVERIFY(read() == indexed);
        int highest = -1;
        QVERIFY(m_database->buildIssueDayIndex([&](int percent) { highest = std::max(highest, percent); }).ok);
        QVERIFY(highest <= 99);
        QVERIFY(m_database->hasIssueDayIndex());
        QVERIFY(read() == indexed);
    }

    // `osago commission`: its exits and its one line.
    void commissionCommand_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");
        QTest::newRow("add") << QStringList{"add", "--from", "10.04.2026", "--rate", "12,5"} << 0 << "12,5 % действует";
        QTest::newRow("add not after the last")
            << QStringList{"add", "--from", "01.03.2026", "--rate", "7"} << 1 << "только после последней";
        QTest::newRow("add without a rate") << QStringList{"add", "--from", "01.05.2026"} << 2 << "использование";
        QTest::newRow("rate over a hundred")
            << QStringList{"add", "--from", "01.05.2026", "--rate", "100,5"} << 2 << "--rate 100,5";
        QTest::newRow("rate without its value") << QStringList{"add", "--from", "01.05.2026", "--rate"} << 2 << "--rate";
        QTest::newRow("bad date") << QStringList{"add", "--from", "31.02.2026", "--rate", "1"} << 2 << "--from";
        QTest::newRow("list with a date") << QStringList{"list", "--from", "01.05.2026"} << 2 << "использование";
        QTest::newRow("unknown word") << QStringList{"remove"} << 2 << "использование";
        QTest::newRow("list") << QStringList{"list"} << 0 << "";
    }
    void commissionCommand()
    {
        QFETCH(QStringList, words);
        QFETCH(int, status);
        QFETCH(QString, said);
        QVERIFY(m_database->addCommissionRate({QDate(2026, 3, 1), 1000}).ok);
        QString output;
        QString errors;
        QTextStream out(&output);
        QTextStream err(&errors);
        QCOMPARE(runCommissionCommand(words + QStringList{"--database", m_register->location()}, out, err), status);
        QVERIFY2(errors.contains(said), qPrintable(errors));
        const bool listing = words == QStringList{"list"};
        QCOMPARE(int(errors.count(u'\n')), listing ? 0 : 1);
        if (listing)
            QCOMPARE(output, QStringLiteral("01.03.2026 10\n"));
    }

    // A copy of the register and copy-register carry the schedule; a register with one of its own keeps it.
    void copiesCarryTheRates()
    {
        for (const CommissionRate& rate : kRates)
            QVERIFY(m_database->addCommissionRate(rate).ok);
        const CopyPlace place{m_register->folder() + QStringLiteral("/Архив"), QStringLiteral("copy")};
        const auto copy = m_database->backup(place, QDateTime::currentDateTime(), OnDisk::BeforeReport);
        QVERIFY2(copy.ok, qPrintable(copy.error));
        const auto copied = openDatabase(copy.value, PolicyDatabase::Access::ReadOnly);
        QVERIFY(copied.ok);
        QCOMPARE(copied.value->readCommissionRates().value, kRates);

        for (const bool ownSchedule : {false, true}) {
            const QString target = m_register->folder() + QStringLiteral("/to-%1.mdb").arg(ownSchedule);
            const auto to = openDatabase(target, PolicyDatabase::Access::ReadWrite);
            QVERIFY(to.ok);
            const CommissionRates own{{QDate(2020, 1, 1), 500}};
            if (ownSchedule)
                QVERIFY(to.value->addCommissionRate(own.front()).ok);
            QVERIFY(copyRegister(*m_database, *to.value, false, [](qint64, qint64) {}).ok);
            QCOMPARE(to.value->readCommissionRates().value, ownSchedule ? own : kRates);
        }
    }

    // A register made before the rates' table gets it at its first writable open, not at a read-only one.
    void olderRegisterGetsTheTableWhenOpenedForWriting()
    {
        m_database->close();
        QVERIFY(RawRegister(*m_register).exec(QStringLiteral("DROP TABLE \"Ставки_вознаграждения\"")));
        QVERIFY(m_database->open(m_register->location(), PolicyDatabase::Access::ReadOnly).ok);
        const auto unread = m_database->readCommissionRates();
        // A file without the table has no rates; a server's other desks hear that the owner must open it.
        QCOMPARE(unread.ok, !m_register->onServer());
        QVERIFY(!m_database->addCommissionRate(kRates.front()).ok);
        QVERIFY(m_database->open(m_register->location()).ok);
        QVERIFY(m_database->addCommissionRate(kRates.front()).ok);
        QCOMPARE(m_database->readCommissionRates().value, CommissionRates{kRates.front()});
    }

private:
    std::unique_ptr<TestRegister> m_register;
    std::unique_ptr<PolicyDatabase> m_database;
};

QTEST_GUILESS_MAIN(CommissionRegisterTest)
#include "CommissionRegisterTest.moc"
