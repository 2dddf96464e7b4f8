#include "blanks/BlankRanges.h"
#include "blanks/BlankReceiving.h"
#include "blanks/BlankReport.h"
#include "storage/BlankJournalRules.h"
#include "storage/BlankNumbers.h"

#include <QTest>

#include <map>
#include <set>

using namespace osago;

Q_DECLARE_METATYPE(osago::BlankKind)
Q_DECLARE_METATYPE(osago::ReceiptField)

class BlankRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void rangesAreWrittenAsRuns_data()
    {
        QTest::addColumn<BlankKind>("kind");
        QTest::addColumn<QList<qint64>>("numbers");
        QTest::addColumn<QString>("written");
        QTest::newRow("a run and a single") << BlankKind::Policy << QList<qint64>{123456053, 123456001, 123456002,
                                                                                  123456003}
                                            << QString("0123456001–0123456003, 0123456053");
        QTest::newRow("receipt digits") << BlankKind::Receipt << QList<qint64>{7, 9, 8, 11}
                                        << QString("000007–000009, 000011");
        QTest::newRow("repeats once") << BlankKind::Sign << QList<qint64>{5, 5, 6} << QString("0000000005–0000000006");
        QTest::newRow("singles") << BlankKind::Receipt << QList<qint64>{1, 3} << QString("000001, 000003");
        QTest::newRow("none") << BlankKind::Policy << QList<qint64>{} << QString();
    }
    void rangesAreWrittenAsRuns()
    {
        QFETCH(BlankKind, kind);
        QFETCH(QList<qint64>, numbers);
        QFETCH(QString, written);
        QCOMPARE(rangesText(kind, std::vector<qint64>(numbers.begin(), numbers.end())), written);
    }

    void fieldsNameTheirBlanks_data()
    {
        QTest::addColumn<BlankKind>("kind");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("series");
        QTest::addColumn<qint64>("number");
        QTest::newRow("as the mask writes") << BlankKind::Policy << "ААА№0123456789" << "ААА" << qint64(123456789);
        QTest::newRow("spaces around the sign") << BlankKind::Sign << " ввв № 0000000001 " << "ВВВ" << qint64(1);
        QTest::newRow("latin look-alikes") << BlankKind::Policy << "XKT№0000000042" << "ХКТ" << qint64(42);
        QTest::newRow("latin lower case") << BlankKind::Policy << "aeo№0000000042" << "АЕО" << qint64(42);
        QTest::newRow("receipt") << BlankKind::Receipt << "012345" << "" << qint64(12345);
        QTest::newRow("left empty") << BlankKind::Policy << "   №          " << "" << qint64(-1);
        QTest::newRow("too few digits") << BlankKind::Policy << "ААА№012345678" << "" << qint64(-1);
        QTest::newRow("not look-alike latin") << BlankKind::Policy << "ZZZ№0123456789" << "" << qint64(-1);
        QTest::newRow("receipt too long") << BlankKind::Receipt << "0123456" << "" << qint64(-1);
    }
    void fieldsNameTheirBlanks()
    {
        QFETCH(BlankKind, kind);
        QFETCH(QString, field);
        QFETCH(QString, series);
        QFETCH(qint64, number);
        const std::optional<BlankNumber> blank = blankOfField(kind, field);
        QCOMPARE(blank.has_value(), number >= 0);
        if (blank) {
            QCOMPARE(blank->series, series);
            QCOMPARE(blank->number, number);
        }
    }

    void receiptsAreRefusedNamingTheField_data()
    {
        QTest::addColumn<BlankKind>("kind");
        QTest::addColumn<QString>("series");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<bool>("dated");
        QTest::addColumn<ReceiptField>("field");
        QTest::newRow("empty series") << BlankKind::Policy << "  " << "0000000001" << "0000000002" << true
                                      << ReceiptField::Series;
        QTest::newRow("series of digits") << BlankKind::Sign << "123" << "0000000001" << "0000000002" << true
                                          << ReceiptField::Series;
        QTest::newRow("first short") << BlankKind::Policy << "ААА" << "1" << "0000000002" << true << ReceiptField::First;
        QTest::newRow("last not digits") << BlankKind::Receipt << "" << "000001" << "00000x" << true
                                         << ReceiptField::Last;
        QTest::newRow("first above last") << BlankKind::Receipt << "" << "000009" << "000001" << true
                                          << ReceiptField::First;
        QTest::newRow("no date") << BlankKind::Receipt << "" << "000001" << "000002" << false << ReceiptField::Date;
        QTest::newRow("fine") << BlankKind::Policy << "ttt" << "0000000001" << "0000000002" << true
                              << ReceiptField::None;
    }
    void receiptsAreRefusedNamingTheField()
    {
        QFETCH(BlankKind, kind);
        QFETCH(QString, series);
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(bool, dated);
        QFETCH(ReceiptField, field);
        const CheckedReceipt checked =
            checkReceipt({kind, series, first, last, dated ? QDate(2026, 3, 1) : QDate(), {}, {}});
        QCOMPARE(checked.field, field);
        QCOMPARE(checked.receipt.has_value(), field == ReceiptField::None);
        if (field != ReceiptField::None)
            QVERIFY2(checked.refusal.contains(QStringLiteral("«%1»").arg(receiptFieldName(field))), qPrintable(checked.refusal));
        else
            QCOMPARE(checked.receipt->series, QString("ТТТ"));
    }

    void aLongRangeNeedsTheQuestion()
    {
        const auto count = [](const QString& last) {
            return checkReceipt({BlankKind::Policy, "ААА", "0000000001", last, QDate(2026, 3, 1), {}, {}});
        };
        QCOMPARE(count("0000100000").count, 100000);
        QVERIFY(!count("0000100000").needsQuestion());
        QVERIFY(count("0000100001").needsQuestion());
    }

    // One blank of each history, and the groups each lands in over March.
    void theReportPlacesEachBlank_data()
    {
        QTest::addColumn<QDate>("received");
        QTest::addColumn<int>("status");
        QTest::addColumn<QDate>("statusDate");
        QTest::addColumn<QDate>("spoiledOn");
        QTest::addColumn<QList<int>>("groups");
        const QDate before(2026, 2, 10), inside(2026, 3, 15), after(2026, 4, 2);
        using G = BlankGroup;
        const auto groups = [](std::initializer_list<G> list) {
            QList<int> all;
            for (G group : list)
                all << int(group);
            return all;
        };
        QTest::newRow("on hand throughout") << before << 0 << before << QDate() << groups({G::AtStart, G::AtEnd});
        QTest::newRow("received and kept") << inside << 0 << inside << QDate() << groups({G::Received, G::AtEnd});
        QTest::newRow("used inside") << before << 1 << inside << QDate() << groups({G::AtStart, G::Used});
        QTest::newRow("used after") << before << 1 << after << QDate() << groups({G::AtStart, G::AtEnd});
        QTest::newRow("spoiled inside") << inside << 2 << inside << inside << groups({G::Received, G::Spoiled});
        QTest::newRow("lost inside") << before << 3 << inside << QDate() << groups({G::AtStart, G::Lost});
        QTest::newRow("returned from hand") << before << 4 << inside << QDate() << groups({G::AtStart, G::Returned});
        QTest::newRow("spoiled before, returned inside")
            << before << 4 << inside << before << groups({G::Returned});
        QTest::newRow("received after") << after << 0 << after << QDate() << groups({});
    }
    void theReportPlacesEachBlank()
    {
        QFETCH(QDate, received);
        QFETCH(int, status);
        QFETCH(QDate, statusDate);
        QFETCH(QDate, spoiledOn);
        QFETCH(QList<int>, groups);
        const IssuePeriod march{QDate(2026, 3, 1), QDate(2026, 3, 31)};
        const BlankHistoryRow blank{{BlankKind::Policy, "ААА", 7}, received, BlankStatus(status), statusDate,
                                    spoiledOn, {}};
        const BlankReport report = buildBlankReport(march, {blank}, {});
        QCOMPARE(report.lines.size(), std::size_t(1));
        QList<int> found;
        for (int group = 0; group < kBlankGroupCount; ++group) {
            if (report.lines[0].count(BlankGroup(group)) == 1)
                found << group;
        }
        QCOMPARE(found, groups);
        QVERIFY(report.lines[0].balanced());
    }

    // Which status each journal command may change: spoiled and lost only from the hand, handed back also when
    // spoiled; nothing is marked on hand or used by a command.
    void journalCommandsChangeOnlyTheirStatuses()
    {
        using S = BlankStatus;
        const std::map<S, std::set<S>> allowed{{S::Spoiled, {S::OnHand}},
                                               {S::Lost, {S::OnHand}},
                                               {S::Returned, {S::OnHand, S::Spoiled}},
                                               {S::OnHand, {}},
                                               {S::Used, {}}};
        for (const auto& [wanted, from] : allowed) {
            for (BlankStatus current : kBlankStatuses)
                QCOMPARE(markAllowed(current, wanted), from.contains(current));
            QCOMPARE(markEntryRefusal({wanted, QDate(2026, 3, 1), "причина", "акт"}).isEmpty(), !from.empty());
        }
        QVERIFY(!markEntryRefusal({S::Lost, QDate(2026, 3, 1), " ", {}}).isEmpty());
        QVERIFY(markEntryRefusal({S::Returned, QDate(2026, 3, 1), {}, {}}).isEmpty());
        QVERIFY(!markEntryRefusal({S::Returned, QDate(), {}, "акт"}).isEmpty());
    }

    // A record's write through the engine's two statements: what each gives decides whether the write goes on.
    void aRecordsBlanksStopAtTheFirstRefusal_data()
    {
        QTest::addColumn<bool>("releaseFails");
        QTest::addColumn<bool>("takeFails");
        QTest::addColumn<qint64>("changed");
        QTest::addColumn<int>("taken");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("blankTaken");
        QTest::newRow("both on hand") << false << false << qint64(1) << 2 << true << false;
        QTest::newRow("another desk took it") << false << false << qint64(0) << 1 << false << true;
        QTest::newRow("the release fails") << true << false << qint64(1) << 0 << false << false;
        QTest::newRow("the take fails") << false << true << qint64(1) << 1 << false << false;
    }

    void aRecordsBlanksStopAtTheFirstRefusal()
    {
        QFETCH(bool, releaseFails);
        QFETCH(bool, takeFails);
        QFETCH(qint64, changed);
        QFETCH(int, taken);
        QFETCH(bool, ok);
        QFETCH(bool, blankTaken);
        RecordBlanks blanks;
        blanks.release.push_back({{BlankKind::Policy, QStringLiteral("ААА"), 9}, false});
        blanks.take = {{BlankKind::Policy, QStringLiteral("ААА"), 1}, {BlankKind::Policy, QStringLiteral("ААА"), 2}};
        int tries = 0;
        const StorageStatus status = markRecordBlanks(
            blanks,
            [&](const BlankRelease&) {
                return releaseFails ? StorageStatus::failure(QStringLiteral("нет связи")) : StorageStatus{};
            },
            [&](const BlankNumber&) {
                ++tries;
                return takeFails ? StorageResult<qint64>::failure(StorageStatus::failure(QStringLiteral("нет связи")))
                                 : StorageResult<qint64>::success(changed);
            });
        QCOMPARE(status.ok, ok);
        QCOMPARE(status.blankTaken, blankTaken);
        QCOMPARE(tries, taken);
        if (blankTaken)
            QVERIFY(status.error.contains(blankText(blanks.take.front())));
    }

    void recordsOnOneNumberAreADiscrepancy()
    {
        const BlankNumber number{BlankKind::Receipt, {}, 5};
        const BlankUser first{"a", "Иванов", "01.03.2026"}, second{"b", "Петров", "02.03.2026"};
        const std::vector<RecordBlankChecks> records{
            {first, {{number, BlankVerdict::UsedByThisRecord, {}, first}}},
            {second, {{number, BlankVerdict::UsedByAnother, {}, first}}},
        };
        const BlankReport report = buildBlankReport({QDate(2026, 3, 1), QDate(2026, 3, 31)}, {}, records);
        QCOMPARE(report.discrepancies.size(), std::size_t(2));
        QCOMPARE(report.discrepancies[0].records, std::vector<BlankUser>{second});
        QVERIFY(report.discrepancies[0].reason.contains("Иванов"));
        QCOMPARE(report.discrepancies[1].records, (std::vector<BlankUser>{first, second}));
    }
};

QTEST_APPLESS_MAIN(BlankRulesTest)
#include "BlankRulesTest.moc"
