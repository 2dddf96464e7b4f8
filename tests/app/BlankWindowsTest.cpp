#include "BlankTestSupport.h"
#include "app/AgentSettings.h"
#include "blanks/BlankReceiving.h"
#include "blanks/window/BlankSaveCheck.h"
#include "storage/BlankJournal.h"
#include "storage/BlankNumbers.h"
#include "storage/IssuePeriod.h"
#include "app/PeriodWindow.h"
#include "app/ReportWindow.h"
#include "export/CsvWriter.h"
#include "ScriptedFileChoices.h"

#include <QFile>

using namespace osago;
using namespace osago::test;

namespace {

QString today()
{
    return registerDateText(QDate::currentDate());
}

// A Yes/No question as the message seam records it.
QString asked(const QString& question)
{
    return kConfirmTitle + QStringLiteral(": ") + question;
}

// "Испорчен...", "Утрачен..." or "Сдать страховщику..." on the journal's rows first .. last, `text` typed as the
// reason or the act, the question answered `yes`.
void markRows(TestProgram& t, int first, int last, const char* button, const QString& text, bool yes = true)
{
    BlankJournalWindow& journal = openJournal(t);
    selectJournalRows(journal, first, last);
    clickButton(journal, button);
    QWidget* window = topLevelNamed(QStringLiteral("FormBlankMark"));
    QVERIFY(window && window->isVisible());
    typeOver(control<QLineEdit>(*window, QStringLiteral("EditText")), text);
    t.seam.answerNext(yes);
    clickButton(*window, "ButtonOk");
}

// Ten policy blanks ААА 0000000001-0000000010 on hand, then: 0000000002 spoiled, 0000000003 lost, 0000000004 handed
// back, 0000000005 used by the record of "Сидоров".
void receiveTenAndUseThem(TestProgram& t)
{
    receive(t, {0, QStringLiteral("ААА"), QStringLiteral("0000000001"), QStringLiteral("0000000010")});
    markRows(t, 1, 1, "ButtonSpoiled", QStringLiteral("опечатка"));
    markRows(t, 2, 2, "ButtonLost", QStringLiteral("потерян"));
    markRows(t, 3, 3, "ButtonReturn", QStringLiteral("акт 7"));
    saveNewRecord(t, QStringLiteral("Сидоров"), QStringLiteral("ААА№0000000005"));
    QVERIFY(!t.editor().isVisible());
}

QString policyField(TestProgram& t)
{
    return controlText(t.editor(), QStringLiteral("LabeledEditPolis"));
}

} // namespace

// The menu "Бланки" through its windows, on a register file and on the test server.
class BlankWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { useTestSettings("test_blank_windows"); }

    void init()
    {
        QSettings().clear();
        AgentSettings{QStringLiteral("Петрова А. В."), QStringLiteral("Страховщик")}.save();
    }

    void receivedRangeShowsInTheJournal()
    {
        TestProgram t;
        // Latin look-alikes in lower case are the Cyrillic series.
        receive(t, {0, QStringLiteral("aaa"), QStringLiteral("0000000101"), QStringLiteral("0000000103")});
        QCOMPARE(t.seam.shownTexts().last(), receivedMessage({0, 3, 0}));
        BlankJournalWindow& journal = openJournal(t);
        QCOMPARE(journal.model().rowCount(), 3);
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(journalCell(journal, row, BlankJournalModel::Kind), QStringLiteral("Полис ОСАГО"));
            QCOMPARE(journalCell(journal, row, BlankJournalModel::Series), QStringLiteral("ААА"));
            QCOMPARE(journalCell(journal, row, BlankJournalModel::Number), QStringLiteral("000000010%1").arg(row + 1));
            QCOMPARE(journalCell(journal, row, BlankJournalModel::Status), QStringLiteral("на руках"));
            QCOMPARE(journalCell(journal, row, BlankJournalModel::StatusDate), today());
            QCOMPARE(journalCell(journal, row, BlankJournalModel::Act), QStringLiteral("А-1"));
        }
        QVERIFY(control<QLabel>(journal, QStringLiteral("LabelCounts"))->text().startsWith(u"Показано бланков: 3 "));
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void receiptIsRefusedNamingTheField_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("series");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("focused");
        QTest::newRow("no series") << 0 << "" << "0000000001" << "0000000002" << "Серия" << "EditSeries";
        QTest::newRow("first above last") << 2 << "ВВВ" << "0000000009" << "0000000002" << "Первый номер"
                                          << "EditFirst";
        QTest::newRow("receipt of seven digits") << 1 << "" << "123456" << "1234567" << "Последний номер"
                                                 << "EditLast";
    }

    void receiptIsRefusedNamingTheField()
    {
        QFETCH(int, kind);
        QFETCH(QString, series);
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(QString, field);
        QFETCH(QString, focused);
        TestProgram t;
        typeReceipt(t, {kind, series, first, last});
        BlankReceiveWindow& window = receiveWindow(t);
        QVERIFY(window.isVisible());
        QVERIFY2(t.seam.shownTexts().last().startsWith(QStringLiteral("Поле «%1»").arg(field)),
                 qPrintable(t.seam.shownTexts().last()));
        QCOMPARE(window.focusWidget(), control<QWidget>(window, focused));
        QVERIFY(!t.program.database().blanks().anyReceived().value);
    }

    void longRangeIsAskedFirst()
    {
        TestProgram t;
        const TypedReceipt longRange{1, {}, QStringLiteral("000001"), QStringLiteral("100002")};
        t.seam.answerNext(false);
        typeReceipt(t, longRange);
        QCOMPARE(t.seam.questions().last(), asked(longReceiptQuestion(100'002)));
        QVERIFY(receiveWindow(t).isVisible());
        QVERIFY(!t.program.database().blanks().anyReceived().value);

        t.seam.answerNext(true);
        clickButton(receiveWindow(t), "ButtonOk");
        QVERIFY(!receiveWindow(t).isVisible());
        QCOMPARE(t.seam.shownTexts().last(), receivedMessage({0, 100'002, 0}));
        QCOMPARE(openJournal(t).model().rowCount(), 100'002);
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void receiptOverSavedRecordsMarksTheirBlanksUsed()
    {
        TestProgram t;
        // No blank received yet: nothing is checked.
        saveNewRecord(t, QStringLiteral("Сидоров"), QStringLiteral("ВВВ№0000000005"));
        QVERIFY(!t.editor().isVisible());
        receive(t, {0, QStringLiteral("ВВВ"), QStringLiteral("0000000001"), QStringLiteral("0000000010")});
        QCOMPARE(t.seam.shownTexts().last(), receivedMessage({0, 10, 1}));
        BlankJournalWindow& journal = openJournal(t);
        const int used = journalRowOf(journal, QStringLiteral("0000000005"));
        QCOMPARE(journalCell(journal, used, BlankJournalModel::Status), QStringLiteral("использован"));
        QVERIFY(journalCell(journal, used, BlankJournalModel::Holder).startsWith(u"Сидоров"));
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void journalFiltersAndCounts_data()
    {
        QTest::addColumn<int>("kind");   // place in the drop-down, 0 for every kind
        QTest::addColumn<int>("status"); // the same
        QTest::addColumn<QString>("series");
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("rows");
        QTest::newRow("everything") << 0 << 0 << "" << "" << 15;
        QTest::newRow("receipts") << 2 << 0 << "" << "" << 5;
        QTest::newRow("spoiled") << 0 << 3 << "" << "" << 1;
        QTest::newRow("on hand policies") << 1 << 1 << "" << "" << 6;
        QTest::newRow("series in Latin lower case") << 0 << 0 << "aaa" << "" << 10;
        QTest::newRow("another series") << 0 << 0 << "ЕЕЕ" << "" << 0;
        QTest::newRow("part of a number") << 0 << 0 << "" << "0005" << 1;
        QTest::newRow("part of receipts' numbers") << 0 << 0 << "" << "77700" << 5;
    }

    void journalFiltersAndCounts()
    {
        QFETCH(int, kind);
        QFETCH(int, status);
        QFETCH(QString, series);
        QFETCH(QString, number);
        QFETCH(int, rows);
        TestProgram t;
        receiveTenAndUseThem(t);
        receive(t, {1, {}, QStringLiteral("777001"), QStringLiteral("777005")});
        BlankJournalWindow& journal = openJournal(t);
        pickItem(control<QComboBox>(journal, QStringLiteral("ComboBoxKind")), kind);
        pickItem(control<QComboBox>(journal, QStringLiteral("ComboBoxStatus")), status);
        typeOver(control<QLineEdit>(journal, QStringLiteral("EditSeries")), series);
        typeOver(control<QLineEdit>(journal, QStringLiteral("EditNumber")), number);
        QTest::keyClick(control<QLineEdit>(journal, QStringLiteral("EditNumber")), Qt::Key_Return);
        QCOMPARE(journal.model().rowCount(), rows);
        // The counts are of what is shown, each status counted from the rows themselves.
        QMap<QString, int> byStatus;
        for (int row = 0; row < rows; ++row)
            ++byStatus[journalCell(journal, row, BlankJournalModel::Status)];
        const QString counts = control<QLabel>(journal, QStringLiteral("LabelCounts"))->text();
        QVERIFY2(counts.startsWith(QStringLiteral("Показано бланков: %1 ").arg(rows)), qPrintable(counts));
        for (const QString& name : {QStringLiteral("на руках"), QStringLiteral("использован"),
                                    QStringLiteral("испорчен"), QStringLiteral("утрачен")})
            QVERIFY2(counts.contains(QStringLiteral("%1: %2").arg(name).arg(byStatus.value(name))), qPrintable(counts));
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void marksAskNamingHowManyAndNeedAReason()
    {
        TestProgram t;
        receive(t, {2, QStringLiteral("ВВВ"), QStringLiteral("0000000001"), QStringLiteral("0000000006")});
        BlankJournalWindow& journal = openJournal(t);
        selectJournalRows(journal, 1, 3);
        clickButton(journal, "ButtonSpoiled");
        QWidget* window = topLevelNamed(QStringLiteral("FormBlankMark"));
        QVERIFY(window && window->isVisible());
        // No reason: refused, the window stays.
        clickButton(*window, "ButtonOk");
        QVERIFY(window->isVisible());
        QVERIFY(t.seam.shownTexts().last().startsWith(u"Поле «Причина»"));
        typeOver(control<QLineEdit>(*window, QStringLiteral("EditText")), QStringLiteral("залит водой"));
        t.seam.answerNext(false);
        clickButton(*window, "ButtonOk");
        QCOMPARE(t.seam.questions().last(), asked(QStringLiteral("Отметить выбранные бланки (3) как «испорчен»?")));
        QCOMPARE(statusOf(t, QStringLiteral("0000000002")), QStringLiteral("на руках"));

        markRows(t, 1, 3, "ButtonSpoiled", QStringLiteral("залит водой"));
        const QStringList expected = {"на руках", "испорчен", "испорчен", "испорчен", "на руках", "на руках"};
        for (int row = 0; row < 6; ++row)
            QCOMPARE(journalCell(journal, row, BlankJournalModel::Status), expected[row]);
        QCOMPARE(journalCell(journal, 2, BlankJournalModel::Note), QStringLiteral("залит водой"));

        // Spoiled blanks go back to the insurer too; a lost one is never handed back.
        markRows(t, 0, 0, "ButtonLost", QStringLiteral("потерян"));
        markRows(t, 1, 2, "ButtonReturn", QStringLiteral("акт 12"));
        QCOMPARE(journalCell(journal, 1, BlankJournalModel::Status), QStringLiteral("сдан страховщику"));
        QCOMPARE(journalCell(journal, 1, BlankJournalModel::Act), QStringLiteral("акт 12"));
        markRows(t, 0, 1, "ButtonReturn", QStringLiteral("акт 13"));
        QCOMPARE(t.seam.shown().last().icon, Messages::Icon::Critical);
        QCOMPARE(journalCell(journal, 0, BlankJournalModel::Status), QStringLiteral("утрачен"));
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void receiptIsCancelledOnlyWhileUntouched()
    {
        TestProgram t;
        receiveTenAndUseThem(t);
        receive(t, {1, {}, QStringLiteral("777001"), QStringLiteral("777005")});
        BlankJournalWindow& journal = openJournal(t);
        // The policies' receipt has blanks used and spoiled: refused, nothing taken away.
        journal.grid().selectSourceCell(0);
        t.seam.answerNext(true);
        clickButton(journal, "ButtonCancelReceipt");
        QCOMPARE(t.seam.shown().last().icon, Messages::Icon::Critical);
        QCOMPARE(journal.model().rowCount(), 15);

        journal.grid().selectSourceCell(12);
        t.seam.answerNext(true);
        clickButton(journal, "ButtonCancelReceipt");
        QVERIFY2(t.seam.questions().last().contains(u"«Квитанция» 777001–777005"), qPrintable(t.seam.questions().last()));
        QCOMPARE(journal.model().rowCount(), 10);
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void openRecordShowsTheUserForViewing()
    {
        TestProgram t;
        receiveTenAndUseThem(t);
        BlankJournalWindow& journal = openJournal(t);
        journal.grid().selectSourceCell(0);
        clickButton(journal, "ButtonOpen");
        QVERIFY(t.seam.shownTexts().last().contains(u"не использован"));
        QVERIFY(!t.editor().isVisible());

        journal.grid().selectSourceCell(journalRowOf(journal, QStringLiteral("0000000005")));
        clickButton(journal, "ButtonOpen");
        QVERIFY(t.editor().isVisible());
        QCOMPARE(t.editor().recordMode(), PolicyEditor::RecordMode::View);
        QCOMPARE(controlText(t.editor(), QStringLiteral("LabeledEditFamil")), QStringLiteral("Сидоров"));
        // The journal is the main window's: it takes no input while the editor is open.
        QVERIFY(!journal.isEnabled());
        clickButton(t.editor(), "ButtonClose");
        QVERIFY(journal.isEnabled());
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void saveIsCheckedAgainstTheJournal_data()
    {
        QTest::addColumn<QString>("policy");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<bool>("saveAnyway");
        QTest::addColumn<QString>("statusAfter"); // of the blank's number in the journal; empty: not there
        const QString day = today();
        const struct
        {
            const char* name;
            const char* policy;
            QString reason;
            const char* status;
        } cases[] = {
            {"not received", "ААА№0000000050", QStringLiteral("бланк не поступал"), ""},
            {"used by another", "ААА№0000000005", QStringLiteral("бланк уже использован в записи: Сидоров"),
             "использован"},
            {"spoiled", "ААА№0000000002", QStringLiteral("бланк испорчен ") + day, "испорчен"},
            {"lost", "ААА№0000000003", QStringLiteral("бланк утрачен ") + day, "утрачен"},
            {"handed back", "ААА№0000000004", QStringLiteral("бланк сдан страховщику ") + day, "сдан страховщику"},
        };
        for (const auto& c : cases) {
            for (const bool anyway : {false, true})
                QTest::addRow("%s, %s", c.name, anyway ? "saved anyway" : "not saved")
                    << QString::fromUtf8(c.policy) << c.reason << anyway << QString::fromUtf8(c.status);
        }
    }

    void saveIsCheckedAgainstTheJournal()
    {
        QFETCH(QString, policy);
        QFETCH(QString, reason);
        QFETCH(bool, saveAnyway);
        QFETCH(QString, statusAfter);
        TestProgram t;
        receiveTenAndUseThem(t);
        t.seam.clearRecord();
        t.seam.answerNext(saveAnyway);
        saveNewRecord(t, QStringLiteral("Петров"), policy);
        QCOMPARE(t.seam.defaultNoQuestions().size(), 1);
        const QString question = t.seam.defaultNoQuestions().first();
        QVERIFY2(question.startsWith(QStringLiteral("Полис ОСАГО ") + blankText(*blankOfField(BlankKind::Policy, policy))
                                     + QStringLiteral(": ") + reason),
                 qPrintable(question));
        QVERIFY(question.endsWith(u'\n' + kSaveAnywayQuestion));
        QCOMPARE(t.editor().isVisible(), !saveAnyway);
        QCOMPARE(t.model().rowCount(), saveAnyway ? 2 : 1);
        if (!saveAnyway) {
            QCOMPARE(policyField(t), policy);
            QCOMPARE(controlText(t.editor(), QStringLiteral("LabeledEditFamil")), QStringLiteral("Петров"));
            t.editor().closeRecord();
        }
        // The blank keeps its status either way.
        const QString digits = policy.mid(4);
        QCOMPARE(statusOf(t, digits), statusAfter.isEmpty() ? QStringLiteral("<нет в журнале>") : statusAfter);
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    // A blank on hand is taken by the record at its save, whatever letters its series is typed in.
    void blankOnHandIsTakenByTheRecord()
    {
        TestProgram t;
        receiveTenAndUseThem(t);
        saveNewRecord(t, QStringLiteral("Петров"), QStringLiteral("AAA№0000000007"));
        QVERIFY(!t.editor().isVisible());
        BlankJournalWindow& journal = openJournal(t);
        const int row = journalRowOf(journal, QStringLiteral("0000000007"));
        QCOMPARE(journalCell(journal, row, BlankJournalModel::Status), QStringLiteral("использован"));
        QVERIFY(journalCell(journal, row, BlankJournalModel::Holder).startsWith(u"Петров"));
        QVERIFY(t.seam.defaultNoQuestions().isEmpty());
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    // A second desk on a blank the first used gets the "already used" question.
    void secondDeskIsAskedAboutTheBlankTheFirstUsed()
    {
        TestProgram first;
        receiveTenAndUseThem(first);
        TestProgram second(first.location);
        saveNewRecord(first, QStringLiteral("Первый"), QStringLiteral("ААА№0000000008"));
        QVERIFY(!first.editor().isVisible());
        second.seam.answerNext(false);
        saveNewRecord(second, QStringLiteral("Второй"), QStringLiteral("ААА№0000000008"));
        QVERIFY(second.editor().isVisible());
        QVERIFY2(second.seam.defaultNoQuestions().value(0).contains(u"бланк уже использован в записи: Первый"),
                 qPrintable(second.seam.questions().join(u'\n')));
        second.editor().closeRecord();
        OSAGO_VERIFY_MESSAGES(first.seam);
        OSAGO_VERIFY_MESSAGES(second.seam);
    }

    void oldBlankIsAskedAboutOnEditAndDelete_data()
    {
        QTest::addColumn<bool>("deleting");
        QTest::addColumn<bool>("spoiled");
        QTest::newRow("edited, spoiled") << false << true;
        QTest::newRow("edited, back on hand") << false << false;
        QTest::newRow("deleted, spoiled") << true << true;
        QTest::newRow("deleted, back on hand") << true << false;
    }

    void oldBlankIsAskedAboutOnEditAndDelete()
    {
        QFETCH(bool, deleting);
        QFETCH(bool, spoiled);
        TestProgram t;
        receiveTenAndUseThem(t);
        t.seam.clearRecord();
        t.selectRow(0);
        if (deleting) {
            t.seam.answerNext(true);
            t.seam.answerNext(spoiled);
            t.trigger("N12");
            QCOMPARE(t.model().rowCount(), 0);
        } else {
            t.trigger("N3");
            setControlText(t.editor(), QStringLiteral("LabeledEditPolis"), QStringLiteral("ААА№0000000006"));
            t.seam.answerNext(spoiled);
            saveFromEditor(t.editor());
            QVERIFY(!t.editor().isVisible());
            QCOMPARE(statusOf(t, QStringLiteral("0000000006")), QStringLiteral("использован"));
        }
        QCOMPARE(t.seam.questions().last(), asked(QStringLiteral("Бланк ААА №0000000005 испорчен?")));
        QCOMPARE(statusOf(t, QStringLiteral("0000000005")), spoiled ? QStringLiteral("испорчен") : QStringLiteral("на руках"));
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    // An edit that keeps the record's blank asks nothing.
    void editKeepingTheBlankAsksNothing()
    {
        TestProgram t;
        receiveTenAndUseThem(t);
        t.seam.clearRecord();
        t.selectRow(0);
        t.trigger("N3");
        setControlText(t.editor(), QStringLiteral("LabeledEditFamil"), QStringLiteral("Сидорова"));
        saveFromEditor(t.editor());
        QVERIFY(!t.editor().isVisible());
        QVERIFY(t.seam.questions().isEmpty());
        QCOMPARE(statusOf(t, QStringLiteral("0000000005")), QStringLiteral("использован"));
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void copyCarriesNoBlankNumbers()
    {
        TestProgram t;
        const PolicyRow row = distinctiveRow({}, QStringLiteral("Петрова А. В."));
        QVERIFY(t.program.database().insert(row).ok);
        QVERIFY(t.model().refresh().ok);
        t.selectRow(0);
        t.trigger("N15");
        QVERIFY(t.editor().isVisible());
        for (const char* field : {"LabeledEditPolis", "LabeledEditKvit", "LabeledEditZnak"}) {
            auto* edit = control<MaskedEdit>(t.editor(), QString::fromLatin1(field));
            QCOMPARE(edit->maskedText(), edit->emptyText());
        }
        QCOMPARE(controlText(t.editor(), QStringLiteral("LabeledEditFamil")), row.value(u"Страхователь_фамилия_фирма"));
        t.editor().closeRecord();
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    // "Отчёт по бланкам..." over today: each group counted as the journal's rows show them, and the record saved
    // on a blank never received among the discrepancies.
    void reportCountsWhatTheJournalShows()
    {
        auto files = std::make_unique<ScriptedFileChoices>();
        ScriptedFileChoices& choices = *files;
        TestProgram t({}, {}, std::move(files));
        receiveTenAndUseThem(t);
        t.seam.answerNext(true);
        saveNewRecord(t, QStringLiteral("Петров"), QStringLiteral("ААА№0000000050"));
        QMap<QString, int> byStatus;
        BlankJournalWindow& journal = openJournal(t);
        for (int row = 0; row < journal.model().rowCount(); ++row)
            ++byStatus[journalCell(journal, row, BlankJournalModel::Status)];

        t.trigger("N29");
        PeriodWindow& period = t.program.blankCommands().periodWindow();
        QVERIFY(period.isVisible());
        period.findChild<MaskedEdit*>(QStringLiteral("EditFrom"))->setMaskedText(today());
        period.findChild<MaskedEdit*>(QStringLiteral("EditTo"))->setMaskedText(today());
        clickButton(period, "ButtonOk");
        ReportWindow& report = t.program.blankCommands().reportWindow();
        QVERIFY(report.isVisible());
        QCOMPARE(report.windowTitle(), QStringLiteral("Отчёт по бланкам"));
        QVERIFY(!report.pages().empty());
        const QString csv = t.folder.filePath(QStringLiteral("blanks.csv"));
        choices.answerNext(csv);
        clickButton(report, "ButtonCsv");
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        const QList<int> counts = {0, journal.model().rowCount(), byStatus.value(QStringLiteral("использован")),
                                   byStatus.value(QStringLiteral("испорчен")), byStatus.value(QStringLiteral("утрачен")),
                                   byStatus.value(QStringLiteral("сдан страховщику")),
                                   byStatus.value(QStringLiteral("на руках"))};
        QStringList line{QStringLiteral("Полис ОСАГО"), QStringLiteral("ААА")};
        for (int count : counts)
            line << QString::number(count);
        QVERIFY2(written.contains(csvLine(line)), written.constData());
        QVERIFY2(written.contains(csvLine({QStringLiteral("Расхождение"), QStringLiteral("ААА №0000000050")}).chopped(2)),
                 written.constData());
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void readOnlyRegisterRefusesReceivingAndMarks()
    {
        TestProgram t;
        receive(t, {1, {}, QStringLiteral("000001"), QStringLiteral("000002")});
        QVERIFY(t.program.database().open(t.location, PolicyDatabase::Access::ReadOnly).ok);
        t.seam.clearRecord();
        t.trigger("N27");
        QVERIFY(!receiveWindow(t).isVisible());
        QVERIFY2(t.seam.shownTexts().value(0).contains(u"только для чтения"), qPrintable(t.seam.shownTexts().join(u'\n')));
        // The journal is still read, but marks nothing.
        BlankJournalWindow& journal = openJournal(t);
        QCOMPARE(journal.model().rowCount(), 2);
        journal.grid().selectSourceCell(0);
        clickButton(journal, "ButtonSpoiled");
        QVERIFY(!topLevelNamed(QStringLiteral("FormBlankMark"))->isVisible());
        QCOMPARE(t.seam.shownTexts().size(), 2);
        QVERIFY(t.seam.shownTexts().last().contains(u"только для чтения"));
        OSAGO_VERIFY_MESSAGES(t.seam);
    }
};

QTEST_MAIN(BlankWindowsTest)
#include "BlankWindowsTest.moc"
