#include "blanks/BlankReport.h"
#include "storage/BlankJournal.h"
#include "storage/BlankNumbers.h"
#include "storage/PolicyColumns.h"
#include "transfer/RegisterCopy.h"
#include "TestRegister.h"

#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <latch>
#include <memory>
#include <thread>

using namespace osago;

Q_DECLARE_METATYPE(osago::BlankVerdict)
Q_DECLARE_METATYPE(osago::BlankFilter)

namespace {

const QDate kMarch1(2026, 3, 1);

PolicyRow recordOn(const QString& policy, const QString& holder, const QString& issued = "10.03.2026")
{
    PolicyRow row;
    row.setValue(blankColumn(BlankKind::Policy), policy);
    row.setValue(policyColumnIndex(u"Страхователь_фамилия_фирма"), holder);
    row.setValue(policyColumnIndex(u"Дата_выдачи"), issued);
    return row;
}

BlankReceipt policies(const QString& series, qint64 first, qint64 last, QDate date = kMarch1)
{
    return {BlankKind::Policy, series, first, last, date, QStringLiteral("акт 7"), QStringLiteral("от страховщика")};
}

BlankNumber policy(qint64 number, const QString& series = QStringLiteral("ААА"))
{
    return {BlankKind::Policy, series, number};
}

RecordBlanks taking(std::vector<BlankNumber> numbers, QDate today = QDate(2026, 3, 10))
{
    RecordBlanks blanks;
    blanks.take = std::move(numbers);
    blanks.today = today;
    return blanks;
}

} // namespace

class BlankJournalTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestRegister> m_register;
    std::unique_ptr<PolicyDatabase> m_database;

    BlankJournal& journal() { return m_database->blanks(); }

    BlankCheck checkOf(const BlankNumber& number, const QString& recordCode = {})
    {
        std::vector<BlankCheck> checks;
        const StorageStatus checked = journal().check(std::span(&number, 1), recordCode, checks);
        if (!checked.ok || checks.size() != 1)
            qWarning("check failed: %s", qPrintable(checked.error));
        return checks.empty() ? BlankCheck{} : checks.front();
    }

    std::vector<BlankRow> allRows()
    {
        std::vector<qint64> ids;
        std::vector<BlankRow> rows;
        if (!journal().readIds({}, ids).ok || !journal().readRows(ids, rows).ok)
            qWarning("journal not read");
        return rows;
    }

    std::vector<qint64> idsOf(const BlankFilter& filter)
    {
        std::vector<qint64> ids;
        const StorageStatus read = journal().readIds(filter, ids);
        if (!read.ok)
            qWarning("%s", qPrintable(read.error));
        return ids;
    }

private slots:
    void init()
    {
        m_register = std::make_unique<test::TestRegister>();
        m_database = m_register->makeDatabase();
        const StorageStatus opened = m_database->open(m_register->location());
        QVERIFY2(opened.ok, qPrintable(opened.error));
    }
    void cleanup()
    {
        m_database.reset();
        m_register.reset();
    }

    void aReceiptAddsOneBlankANumberOnHand()
    {
        QVERIFY(!journal().anyReceived().value);
        const StorageResult<ReceiveOutcome> received = journal().receive(policies("ААА", 123456001, 123456050));
        QVERIFY2(received.ok, qPrintable(received.error));
        QCOMPARE(received.value.received, 50);
        QCOMPARE(received.value.markedUsed, 0);
        QVERIFY(journal().anyReceived().value);
        const std::vector<BlankRow> rows = allRows();
        QCOMPARE(rows.size(), std::size_t(50));
        QCOMPARE(rows.front().number, policy(123456001));
        QCOMPARE(rows.back().number, policy(123456050));
        QCOMPARE(rows.front().status, BlankStatus::OnHand);
        QCOMPARE(rows.front().statusDate, kMarch1);
        QCOMPARE(rows.front().receiptAct, QString("акт 7"));
        QCOMPARE(rows.front().note, QString("от страховщика"));
        QCOMPARE(journal().readExtent().value.rows, 50);
    }

    void anOverlapIsRefusedNamingTheEarlierReceipt()
    {
        QVERIFY(journal().receive(policies("ААА", 1, 100)).ok);
        const StorageResult<ReceiveOutcome> overlapping = journal().receive(policies("ААА", 100, 150));
        QVERIFY(!overlapping.ok);
        QVERIFY2(overlapping.error.contains("0000000001–0000000100") && overlapping.error.contains("01.03.2026"),
                 qPrintable(overlapping.error));
        QCOMPARE(journal().readExtent().value.rows, 100);
        // Another series, or another kind, has numbers of its own.
        QVERIFY(journal().receive(policies("ААБ", 1, 100)).ok);
        QVERIFY(journal().receive({BlankKind::Sign, "ААА", 1, 100, kMarch1, {}, {}}).ok);
    }

    void latinLookAlikesAreTheCyrillicSeries()
    {
        QVERIFY(journal().receive(policies("aek", 1, 10)).ok);
        QCOMPARE(allRows().front().number.series, QString("АЕК"));
        QVERIFY(!journal().receive(policies("АЕК", 5, 5)).ok);
        QCOMPARE(checkOf(policy(3, "AeK")).verdict, BlankVerdict::OnHand);
        QCOMPARE(idsOf({std::nullopt, std::nullopt, "aek", {}}).size(), std::size_t(10));
    }

    void aReceiptMarksTheNumbersSavedRecordsHold()
    {
        const StorageResult<QString> first = m_database->insert(recordOn("ААА№0000000005", "Иванов"));
        const StorageResult<QString> latin = m_database->insert(recordOn("aaa№0000000007", "Петров"));
        const StorageResult<QString> twice = m_database->insert(recordOn("ААА№0000000005", "Сидоров"));
        QVERIFY(m_database->insert(recordOn("ААА№0000000050", "Вне диапазона")).ok);
        QVERIFY(first.ok && latin.ok && twice.ok);
        const StorageResult<ReceiveOutcome> received = journal().receive(policies("ААА", 1, 10));
        QVERIFY2(received.ok, qPrintable(received.error));
        QCOMPARE(received.value.markedUsed, 2);
        QCOMPARE(checkOf(policy(5), first.value).verdict, BlankVerdict::UsedByThisRecord);
        const BlankCheck other = checkOf(policy(5), twice.value);
        QCOMPARE(other.verdict, BlankVerdict::UsedByAnother);
        QCOMPARE(other.user.holder, QString("Иванов"));
        QCOMPARE(other.user.issued, QString("10.03.2026"));
        QCOMPARE(checkOf(policy(7), latin.value).verdict, BlankVerdict::UsedByThisRecord);
        QCOMPARE(checkOf(policy(6)).verdict, BlankVerdict::OnHand);
    }

    void theCheckGivesEachVerdict_data()
    {
        QTest::addColumn<qint64>("number");
        QTest::addColumn<BlankVerdict>("verdict");
        QTest::newRow("not received") << qint64(99) << BlankVerdict::NotReceived;
        QTest::newRow("on hand") << qint64(5) << BlankVerdict::OnHand;
        QTest::newRow("used by another") << qint64(1) << BlankVerdict::UsedByAnother;
        QTest::newRow("spoiled") << qint64(2) << BlankVerdict::Spoiled;
        QTest::newRow("lost") << qint64(3) << BlankVerdict::Lost;
        QTest::newRow("returned") << qint64(4) << BlankVerdict::Returned;
    }
    void theCheckGivesEachVerdict()
    {
        QFETCH(qint64, number);
        QFETCH(BlankVerdict, verdict);
        QVERIFY(journal().receive(policies("ААА", 1, 10)).ok);
        QVERIFY(m_database->insert(recordOn("ААА№0000000001", "Иванов"), taking({policy(1)})).ok);
        const std::vector<qint64> ids = idsOf({});
        const QDate day(2026, 3, 12);
        QVERIFY(journal().mark(std::span(&ids[1], 1), {BlankStatus::Spoiled, day, "опечатка", {}}).ok);
        QVERIFY(journal().mark(std::span(&ids[2], 1), {BlankStatus::Lost, day, "не найден", {}}).ok);
        QVERIFY(journal().mark(std::span(&ids[3], 1), {BlankStatus::Returned, day, {}, "акт 9"}).ok);
        const BlankCheck check = checkOf(policy(number), QStringLiteral("другая запись"));
        QCOMPARE(check.verdict, verdict);
        QCOMPARE(check.user.holder, verdict == BlankVerdict::UsedByAnother ? QString("Иванов") : QString());
    }

    void aSaveMarksItsBlanksInItsOwnTransaction()
    {
        QVERIFY(journal().receive(policies("ААА", 1, 10)).ok);
        const StorageResult<QString> saved = m_database->insert(recordOn("ААА№0000000001", "Иванов"), taking({policy(1)}));
        QVERIFY2(saved.ok, qPrintable(saved.error));
        const BlankRow used = allRows().front();
        QCOMPARE(used.status, BlankStatus::Used);
        QCOMPARE(used.statusDate, QDate(2026, 3, 10));
        QCOMPARE(used.user.code, saved.value);
        QCOMPARE(used.user.holder, QString("Иванов"));

        // A blank no longer on hand fails the save, and the record is not written.
        const StorageResult<QString> again = m_database->insert(recordOn("ААА№0000000001", "Петров"), taking({policy(1)}));
        QVERIFY(!again.ok);
        QVERIFY(again.blankTaken);
        QVERIFY(again.error.contains("ААА №0000000001"));
        QCOMPARE(m_database->readTableExtent().value.rows, 1);
    }

    void anEditOrADeletionReleasesTheOldBlank_data()
    {
        QTest::addColumn<bool>("deleting");
        QTest::addColumn<bool>("spoiled");
        QTest::newRow("edit, spoiled") << false << true;
        QTest::newRow("edit, back on hand") << false << false;
        QTest::newRow("delete, spoiled") << true << true;
        QTest::newRow("delete, back on hand") << true << false;
    }
    void anEditOrADeletionReleasesTheOldBlank()
    {
        QFETCH(bool, deleting);
        QFETCH(bool, spoiled);
        QVERIFY(journal().receive(policies("ААА", 1, 10)).ok);
        const PolicyRow row = recordOn("ААА№0000000001", "Иванов");
        QVERIFY(m_database->insert(row, taking({policy(1)})).ok);
        std::vector<qint64> keys;
        QVERIFY(m_database->readAllIds(keys).ok);
        const StorageResult<PolicyRow> asRead = m_database->load(RowKey(keys.front()));
        RecordBlanks change = taking(deleting ? std::vector<BlankNumber>{} : std::vector{policy(2)}, QDate(2026, 3, 20));
        change.release = {{policy(1), spoiled}};
        const StorageStatus written =
            deleting ? m_database->remove(RowKey(keys.front()), asRead.value, change)
                     : m_database->update(RowKey(keys.front()), asRead.value, recordOn("ААА№0000000002", "Иванов"), change);
        QVERIFY2(written.ok, qPrintable(written.error));
        const std::vector<BlankRow> rows = allRows();
        QCOMPARE(rows[0].status, spoiled ? BlankStatus::Spoiled : BlankStatus::OnHand);
        QCOMPARE(rows[0].statusDate, spoiled ? QDate(2026, 3, 20) : kMarch1);
        QVERIFY(rows[0].user.isEmpty());
        QCOMPARE(rows[1].status, deleting ? BlankStatus::OnHand : BlankStatus::Used);
    }

    // Two desks save on one blank at the same moment: exactly one gets it, the other's record is not written.
    void twoConnectionsSavingOneBlankOneWins()
    {
        QVERIFY(journal().receive(policies("ААА", 1, 10)).ok);
        std::unique_ptr<PolicyDatabase> desks[] = {m_register->makeDatabase(), m_register->makeDatabase()};
        for (auto& desk : desks)
            QVERIFY(desk->open(m_register->location()).ok);
        std::latch start(2);
        StorageResult<QString> results[2];
        const auto save = [&](int desk) {
            start.arrive_and_wait();
            results[desk] = desks[desk]->insert(recordOn("ААА№0000000003", QString::number(desk)), taking({policy(3)}));
        };
        std::thread first(save, 0), second(save, 1);
        first.join();
        second.join();
        QCOMPARE(int(results[0].ok) + int(results[1].ok), 1);
        const StorageResult<QString>& loser = results[0].ok ? results[1] : results[0];
        QVERIFY2(loser.blankTaken, qPrintable(loser.error));
        QCOMPARE(m_database->readTableExtent().value.rows, 1);
        QCOMPARE(checkOf(policy(3), (results[0].ok ? results[0] : results[1]).value).verdict,
                 BlankVerdict::UsedByThisRecord);
    }

    // The check passed, then another desk took the blank before this save: the save is refused, nothing written.
    void aBlankTakenBetweenTheCheckAndTheSaveFailsTheSave()
    {
        QVERIFY(journal().receive(policies("ААА", 1, 10)).ok);
        QCOMPARE(checkOf(policy(5)).verdict, BlankVerdict::OnHand);
        const std::unique_ptr<PolicyDatabase> otherDesk = m_register->makeDatabase();
        QVERIFY(otherDesk->open(m_register->location()).ok);
        const StorageResult<QString> taken = otherDesk->insert(recordOn("ААА№0000000005", "Другой"), taking({policy(5)}));
        QVERIFY2(taken.ok, qPrintable(taken.error));

        const StorageResult<QString> late = m_database->insert(recordOn("ААА№0000000005", "Этот"), taking({policy(5)}));
        QVERIFY(!late.ok);
        QVERIFY(late.blankTaken);
        QCOMPARE(m_database->readTableExtent().value.rows, 1);
        const BlankCheck now = checkOf(policy(5));
        QCOMPARE(now.verdict, BlankVerdict::UsedByAnother);
        QCOMPARE(now.user.code, taken.value);
    }

    void aReceiptIsCancelledOnlyWhileAllItsBlanksAreOnHand()
    {
        QVERIFY(journal().receive(policies("ААА", 1, 10)).ok);
        QVERIFY(journal().receive(policies("ААБ", 1, 10)).ok);
        std::vector<ReceiptRow> receipts;
        QVERIFY(journal().readReceipts(receipts).ok);
        QCOMPARE(receipts.size(), std::size_t(2));
        QVERIFY(m_database->insert(recordOn("ААА№0000000004", "Иванов"), taking({policy(4)})).ok);
        const StorageStatus refused = journal().cancelReceipt(receipts[0].id);
        QVERIFY(!refused.ok);
        QVERIFY2(refused.error.contains(": 1"), qPrintable(refused.error));
        QVERIFY(journal().cancelReceipt(receipts[1].id).ok);
        QCOMPARE(journal().readExtent().value.rows, 10);
        QVERIFY(journal().readReceipts(receipts).ok);
        QCOMPARE(receipts.size(), std::size_t(1));
        QVERIFY(journal().cancelReceipt(receipts[0].id + 100).rowChanged);
    }

    void journalCommandsKeepToTheirStatuses()
    {
        QVERIFY(journal().receive(policies("ААА", 1, 3)).ok);
        QVERIFY(m_database->insert(recordOn("ААА№0000000001", "Иванов"), taking({policy(1)})).ok);
        const std::vector<qint64> ids = idsOf({});
        const QDate day(2026, 3, 12);
        const StorageResult<qint64> usedSpoiled = journal().mark(ids, {BlankStatus::Spoiled, day, "брак", {}});
        QVERIFY(!usedSpoiled.ok);
        QVERIFY2(usedSpoiled.error.contains("ААА №0000000001"), qPrintable(usedSpoiled.error));
        QCOMPARE(journal().readCounts({}).value.of(BlankStatus::OnHand), 2);
        QVERIFY(!journal().mark(std::span(&ids[1], 1), {BlankStatus::Lost, day, "  ", {}}).ok);
        QCOMPARE(journal().mark(std::span(&ids[1], 2), {BlankStatus::Spoiled, day, "брак", {}}).value, 2);
        QCOMPARE(journal().mark(std::span(&ids[1], 2), {BlankStatus::Returned, day, {}, "акт 3"}).value, 2);
        const std::vector<BlankRow> rows = allRows();
        QCOMPARE(rows[2].status, BlankStatus::Returned);
        QCOMPARE(rows[2].reason, QString("брак"));
        QCOMPARE(rows[2].returnAct, QString("акт 3"));
        const BlankCounts counts = journal().readCounts({}).value;
        QCOMPARE(counts.of(BlankStatus::Used), 1);
        QCOMPARE(counts.of(BlankStatus::Returned), 2);
        QCOMPARE(counts.total(), 3);
    }

    void theJournalFilters_data()
    {
        QTest::addColumn<BlankFilter>("filter");
        QTest::addColumn<int>("count");
        QTest::newRow("all") << BlankFilter{} << 30;
        QTest::newRow("kind") << BlankFilter{BlankKind::Receipt, {}, {}, {}} << 10;
        QTest::newRow("status") << BlankFilter{{}, BlankStatus::Used, {}, {}} << 1;
        QTest::newRow("series") << BlankFilter{BlankKind::Policy, {}, "ббб", {}} << 10;
        // "01" is in ААА 0000000001 and 0000000010, and in БББ 0000000010 to 0000000019.
        QTest::newRow("part of number") << BlankFilter{BlankKind::Policy, {}, {}, "01"} << 12;
        // The receipt's six digits: 000010 to 000014.
        QTest::newRow("receipt's zeros") << BlankFilter{BlankKind::Receipt, {}, {}, "00001"} << 5;
    }
    void theJournalFilters()
    {
        QFETCH(BlankFilter, filter);
        QFETCH(int, count);
        QVERIFY(journal().receive(policies("ААА", 1, 10)).ok);
        QVERIFY(journal().receive(policies("БББ", 10, 19)).ok);
        QVERIFY(journal().receive({BlankKind::Receipt, {}, 5, 14, kMarch1, {}, {}}).ok);
        QVERIFY(m_database->insert(recordOn("ААА№0000000002", "Иванов"), taking({policy(2)})).ok);
        QCOMPARE(int(idsOf(filter).size()), count);
        QCOMPARE(journal().readCounts(filter).value.total(), count);
    }

    // The report's groups counted here from the journal's rows, against the report's own.
    void theReportBalancesFromTheBlankRows()
    {
        const IssuePeriod march{kMarch1, QDate(2026, 3, 31)};
        QVERIFY(journal().receive(policies("ААА", 1, 20, QDate(2026, 2, 1))).ok);
        QVERIFY(journal().receive(policies("ААА", 21, 30, QDate(2026, 3, 5))).ok);
        QVERIFY(m_database->insert(recordOn("ААА№0000000001", "Февраль", "20.02.2026"),
                                   taking({policy(1)}, QDate(2026, 2, 20))).ok);
        for (qint64 number : {2, 3, 22})
            QVERIFY(m_database->insert(recordOn(blankText(policy(number)).remove(u' '), "Март"), taking({policy(number)})).ok);
        QVERIFY(m_database->insert(recordOn("ААА№0000000099", "Не поступал")).ok);
        const std::vector<qint64> ids = idsOf({{}, BlankStatus::OnHand, {}, {}});
        QVERIFY(journal().mark(std::span(&ids[0], 2), {BlankStatus::Spoiled, QDate(2026, 3, 12), "брак", {}}).ok);
        QVERIFY(journal().mark(std::span(&ids[2], 1), {BlankStatus::Lost, QDate(2026, 4, 2), "потерян", {}}).ok);

        const StorageResult<BlankReport> report = makeBlankReport(*m_database, march);
        QVERIFY2(report.ok, qPrintable(report.error));
        QCOMPARE(report.value.lines.size(), std::size_t(1));
        const BlankReportLine& line = report.value.lines[0];
        qint64 atStart = 0, received = 0, used = 0, spoiled = 0, atEnd = 0;
        for (const BlankRow& row : allRows()) {
            const bool gone = row.status != BlankStatus::OnHand;
            atStart += row.receivedOn < march.from && (!gone || row.statusDate >= march.from);
            received += march.contains(row.receivedOn);
            used += row.status == BlankStatus::Used && march.contains(row.statusDate);
            spoiled += row.status == BlankStatus::Spoiled && march.contains(row.statusDate);
            atEnd += row.receivedOn <= march.to && (!gone || row.statusDate > march.to);
        }
        QCOMPARE(line.count(BlankGroup::AtStart), atStart);
        QCOMPARE(line.count(BlankGroup::Received), received);
        QCOMPARE(line.count(BlankGroup::Used), used);
        QCOMPARE(line.count(BlankGroup::Spoiled), spoiled);
        QCOMPARE(line.count(BlankGroup::Lost), 0);
        QCOMPARE(line.count(BlankGroup::AtEnd), atEnd);
        QCOMPARE(atEnd, atStart + received - used - spoiled);
        QVERIFY(line.balanced());
        QCOMPARE(report.value.discrepancies.size(), std::size_t(1));
        QCOMPARE(report.value.discrepancies[0].number, policy(99));
    }

    // The report's reading of the journal against the journal's own rows: each blank of the month with its
    // series, days, status and record; none gone before it.
    void theHistoryCarriesEachBlankAsTheJournalHasIt()
    {
        const IssuePeriod march{kMarch1, QDate(2026, 3, 31)};
        QVERIFY(journal().receive(policies("ААА", 1, 4, QDate(2026, 2, 1))).ok);
        QVERIFY(journal().receive(policies("БББ", 1, 3, QDate(2026, 3, 3))).ok);
        QVERIFY(journal().receive(policies("ВВВ", 1, 2, QDate(2026, 4, 1))).ok);
        QVERIFY(m_database->insert(recordOn("ААА№0000000002", "Март"), taking({policy(2)})).ok);
        const std::vector<qint64> onHand = idsOf({{}, BlankStatus::OnHand, {}, {}});
        QVERIFY(journal().mark(std::span(&onHand[0], 1), {BlankStatus::Lost, QDate(2026, 2, 20), "потерян", {}}).ok);
        QVERIFY(journal().mark(std::span(&onHand[3], 1), {BlankStatus::Spoiled, QDate(2026, 3, 12), "брак", {}}).ok);

        std::vector<BlankHistoryRow> history;
        QVERIFY(journal().readHistory(march, history).ok);
        std::vector<BlankRow> expected;
        for (const BlankRow& row : allRows()) {
            if (row.receivedOn <= march.to && (row.status == BlankStatus::OnHand || row.statusDate >= march.from))
                expected.push_back(row);
        }
        QCOMPARE(history.size(), expected.size());
        for (const BlankRow& row : expected) {
            const auto found = std::find_if(history.begin(), history.end(),
                                            [&](const BlankHistoryRow& blank) { return blank.number == row.number; });
            QVERIFY2(found != history.end(), qPrintable(blankText(row.number)));
            QCOMPARE(found->receivedOn, row.receivedOn);
            QCOMPARE(found->status, row.status);
            QCOMPARE(found->statusDate, row.statusDate);
            QCOMPARE(found->recordCode, row.user.code);
            QCOMPARE(found->spoiledOn, row.status == BlankStatus::Spoiled ? row.statusDate : QDate());
        }
    }

    // What a copy must carry of the journal: every blank's number, status, date and record.
    static QStringList journalOf(BlankJournal& journal)
    {
        std::vector<qint64> ids;
        std::vector<BlankRow> rows;
        if (!journal.readIds({}, ids).ok || !journal.readRows(ids, rows).ok)
            qWarning("journal not read");
        QStringList lines;
        for (const BlankRow& row : rows) {
            lines << QStringLiteral("%1 %2 %3 %4 %5 %6").arg(blankText(row.number), blankStatusName(row.status),
                                                            row.statusDate.toString(Qt::ISODate), row.user.code,
                                                            row.reason, row.receiptAct);
        }
        return lines;
    }

    void aBackupCarriesTheJournalAndARestoreBringsItBack()
    {
        QVERIFY(journal().receive(policies("ААА", 1, 5)).ok);
        QVERIFY(m_database->insert(recordOn("ААА№0000000002", "Иванов"), taking({policy(2)})).ok);
        const std::vector<qint64> ids = idsOf({{}, BlankStatus::OnHand, {}, {}});
        QVERIFY(journal().mark(std::span(&ids[0], 1), {BlankStatus::Spoiled, QDate(2026, 3, 3), "брак", {}}).ok);
        const QStringList before = journalOf(journal());
        const QDateTime now(QDate(2026, 3, 31), QTime(12, 0));
        const StorageResult<QString> copy =
            m_database->backup(m_database->copyPlace(), now, OnDisk::BeforeReport);
        QVERIFY2(copy.ok, qPrintable(copy.error));
        std::unique_ptr<PolicyDatabase> file = makeDatabase(copy.value);
        QVERIFY(file->open(copy.value, PolicyDatabase::Access::ReadOnly).ok);
        QCOMPARE(journalOf(file->blanks()), before);
        file.reset();

        QVERIFY(journal().receive(policies("БББ", 1, 5)).ok);
        const StorageStatus restored = m_database->restore(copy.value, now.addSecs(60));
        QVERIFY2(restored.ok, qPrintable(restored.error));
        QCOMPARE(journalOf(journal()), before);
    }

    void copyRegisterCarriesTheJournal()
    {
        QVERIFY(journal().receive(policies("ААА", 1, 5)).ok);
        QVERIFY(journal().receive({BlankKind::Receipt, {}, 1, 3, kMarch1, {}, {}}).ok);
        QVERIFY(m_database->insert(recordOn("ААА№0000000004", "Иванов"), taking({policy(4)})).ok);
        QTemporaryDir folder;
        const QString target = folder.filePath("Копия.mdb");
        std::unique_ptr<PolicyDatabase> to = makeDatabase(target);
        QVERIFY(to->open(target).ok);
        const StorageResult<qint64> copied = copyRegister(*m_database, *to, false, [](qint64, qint64) {});
        QVERIFY2(copied.ok, qPrintable(copied.error));
        QCOMPARE(journalOf(to->blanks()), journalOf(journal()));
        std::vector<ReceiptRow> receipts;
        QVERIFY(to->blanks().readReceipts(receipts).ok);
        QCOMPARE(receipts.size(), std::size_t(2));
    }

    void aRegisterOpenedForReadingTakesNoBlanks()
    {
        QVERIFY(journal().receive(policies("ААА", 1, 3)).ok);
        std::unique_ptr<PolicyDatabase> reader = m_register->makeDatabase();
        QVERIFY(reader->open(m_register->location(), PolicyDatabase::Access::ReadOnly).ok);
        QVERIFY(!reader->blanks().receive(policies("ААА", 10, 12)).ok);
        const std::vector<qint64> ids = idsOf({});
        QVERIFY(!reader->blanks().mark(ids, {BlankStatus::Lost, kMarch1, "потерян", {}}).ok);
        QCOMPARE(reader->blanks().readExtent().value.rows, 3);
    }
};


QTEST_GUILESS_MAIN(BlankJournalTest)
#include "BlankJournalTest.moc"
