#include "RecordingPrinter.h"
#include "RegisterTestSupport.h"
#include "ExportTestSupport.h"
#include "ScriptedFileChoices.h"
#include "StorageTestSupport.h"
#include "app/RenewalCommands.h"
#include "app/RegisterSettings.h"
#include "app/RegisterWindow.h"
#include "app/RenewalsWindow.h"
#include "app/ReportWindow.h"
#include "widgets/MaskedEdit.h"

#include <QLabel>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>

using namespace osago;
using namespace osago::test;

namespace {

QString dayText(int daysFromToday)
{
    return registerDateText(QDate::currentDate().addDays(daysFromToday));
}

// A policy of one vehicle over one term, the rest of its columns distinctive.
PolicyRow policy(const QString& holder, const QString& vin, const QString& plate, const QString& from, const QString& to)
{
    PolicyRow row = distinctiveRow({}, QStringLiteral("Агент"));
    row.setValue(u"Страхователь_фамилия_фирма", holder);
    row.setValue(u"Страхователь_имя", {});
    row.setValue(u"Страхователь_отчество", {});
    row.setValue(u"VIN", vin);
    row.setValue(u"Регистрационный_знак", plate);
    row.setValue(u"Страх_с", from);
    row.setValue(u"Страх_по", to);
    row.setValue(u"Использ_с", from);
    row.setValue(u"Использ_по", to);
    return row;
}

// A year's policy ending `daysFromToday` days from today.
PolicyRow endingIn(int daysFromToday, const QString& holder, const QString& vin, const QString& plate)
{
    const QDate end = QDate::currentDate().addDays(daysFromToday);
    return policy(holder, vin, plate, registerDateText(end.addYears(-1).addDays(1)), registerDateText(end));
}

} // namespace

// "Окончание договоров...": the policies ending in a period and not renewed, on a register file and on the server.
class RenewalCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { useTestSettings("test_renewals"); }

    void cleanup()
    {
        m_program.reset();
        m_register.reset();
    }

    // Ctrl+L lists today and the next 30 days by end date, leaving out the vehicles renewed already: by VIN, by plate
    // where the VIN is empty; an older record of the vehicle, or another vehicle's record on the same plate, renews
    // nothing.
    void renewedVehiclesAreLeftOut()
    {
        startProgram({
            endingIn(10, QStringLiteral("Renewed by VIN"), QStringLiteral("VIN1"), QStringLiteral("A111AA")),
            policy(QStringLiteral("Renewal 1"), QStringLiteral("VIN1"), QStringLiteral("A999AA"), dayText(11), dayText(375)),
            endingIn(5, QStringLiteral("Renewed by plate"), QString(), QStringLiteral("B222BB")),
            policy(QStringLiteral("Renewal 2"), QStringLiteral("VIN7"), QStringLiteral("B222BB"), dayText(6), dayText(370)),
            endingIn(20, QStringLiteral("Older record"), QStringLiteral("VIN2"), QStringLiteral("C333CC")),
            policy(QStringLiteral("Before"), QStringLiteral("VIN2"), QStringLiteral("C333CC"), dayText(-700), dayText(-336)),
            endingIn(15, QStringLiteral("Same plate, own VIN"), QStringLiteral("VIN3"), QStringLiteral("B222BB")),
            endingIn(30, QStringLiteral("Last day"), QStringLiteral("  "), QStringLiteral("D444DD")),
            endingIn(31, QStringLiteral("Too late"), QStringLiteral("VIN4"), QStringLiteral("E555EE")),
            endingIn(-1, QStringLiteral("Ended"), QStringLiteral("VIN5"), QStringLiteral("F666FF")),
        });
        QTest::keyClick(&m_program->mainWindow(), Qt::Key_L, Qt::ControlModifier);
        RenewalsWindow& window = m_program->renewalCommands().window();
        QVERIFY(window.isVisible());
        QCOMPARE(window.findChild<MaskedEdit*>(QStringLiteral("EditFrom"))->maskedText(), dayText(0));
        QCOMPARE(window.findChild<MaskedEdit*>(QStringLiteral("EditTo"))->maskedText(), dayText(30));
        const QStringList listed{QStringLiteral("Same plate, own VIN"), QStringLiteral("Older record"),
                                 QStringLiteral("Last day")};
        QCOMPARE(shownColumn(1).join(u'|'), listed.join(u'|'));
        QCOMPARE(shownColumn(6), (QStringList{QStringLiteral("15"), QStringLiteral("20"), QStringLiteral("30")}));
        QCOMPARE(shownColumn(5), (QStringList{dayText(15), dayText(20), dayText(30)}));
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("LabelCount"))->text(),
                 QStringLiteral("К продлению: 3. Уже продлены: 2."));
        OSAGO_VERIFY_MESSAGES(*m_messages);
        QVERIFY(m_messages->shown().isEmpty());
    }

    void renewMovesTheTermOn_data()
    {
        QTest::addColumn<QString>("oldFrom");
        QTest::addColumn<QString>("oldTo");
        QTest::addColumn<QString>("newFrom");
        QTest::addColumn<QString>("newTo");
        QTest::newRow("year") << "01.03.2025" << "28.02.2026" << "01.03.2026" << "28.02.2027";
        QTest::newRow("31.01 + 1 month") << "31.12.2025" << "30.01.2026" << "31.01.2026" << "28.02.2026";
        QTest::newRow("31.01 + 1 month, leap year") << "31.12.2027" << "30.01.2028" << "31.01.2028" << "29.02.2028";
        QTest::newRow("from 29.02") << "01.03.2027" << "28.02.2028" << "29.02.2028" << "28.02.2029";
        QTest::newRow("after a year from 29.02") << "29.02.2024" << "28.02.2025" << "01.03.2025" << "28.02.2026";
        QTest::newRow("six months") << "15.07.2025" << "14.01.2026" << "15.01.2026" << "14.07.2026";
        QTest::newRow("to a month's end") << "01.03.2026" << "30.03.2026" << "31.03.2026" << "30.04.2026";
        QTest::newRow("start unreadable") << "  .  .    " << "31.12.2025" << "01.01.2026" << "31.12.2026";
    }

    // "Продлить..." opens the editor on a new record: the term moved on, issued today, the blanks and the premium
    // empty, the rest as it was.
    void renewMovesTheTermOn()
    {
        QFETCH(QString, oldFrom);
        QFETCH(QString, oldTo);
        QFETCH(QString, newFrom);
        QFETCH(QString, newTo);
        startProgram({policy(QStringLiteral("Renewed"), QStringLiteral("VIN1"), QStringLiteral("A111AA"), oldFrom, oldTo)});
        listPeriod(oldTo, oldTo);
        clickButton(m_program->renewalCommands().window(), "ButtonRenew");
        PolicyEditor& editor = m_program->policyEditor();
        QVERIFY(editor.isVisible());
        QCOMPARE(editor.recordMode(), PolicyEditor::RecordMode::New);
        QCOMPARE(editor.windowTitle(), QStringLiteral("Создание записи"));
        QCOMPARE(controlText(editor, QStringLiteral("EditS")), newFrom);
        QCOMPARE(controlText(editor, QStringLiteral("EditPo")), newTo);
        QCOMPARE(controlText(editor, QStringLiteral("LabeledEditVydan")), dayText(0));
        for (const char* blank : {"LabeledEditPolis", "LabeledEditKvit", "LabeledEditZnak", "LabeledEditSuma"})
            QVERIFY2(controlText(editor, QString::fromLatin1(blank)).trimmed().remove(u'№').isEmpty(), blank);
        QCOMPARE(controlText(editor, QStringLiteral("LabeledEditFamil")), QStringLiteral("Renewed"));
        QCOMPARE(controlText(editor, QStringLiteral("LabeledEditVin")), QStringLiteral("VIN1"));
        QVERIFY(!m_program->renewalCommands().window().isEnabled());
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

    // The renewal saved is a new row; the old policy leaves the list, which is read again as the editor closes.
    // "Просмотр..." shows the old record as it stands.
    void savedRenewalLeavesTheListAndViewShowsTheOld()
    {
        startProgram({endingIn(3, QStringLiteral("Holder"), QStringLiteral("VIN1"), QStringLiteral("A111AA")),
                      endingIn(4, QStringLiteral("Other"), QStringLiteral("VIN2"), QStringLiteral("B222BB"))});
        m_program->renewalCommands().showRenewals();
        RenewalsWindow& window = m_program->renewalCommands().window();
        QCOMPARE(shownColumn(1), (QStringList{QStringLiteral("Holder"), QStringLiteral("Other")}));

        clickButton(window, "ButtonView");
        PolicyEditor& editor = m_program->policyEditor();
        QCOMPARE(editor.recordMode(), PolicyEditor::RecordMode::View);
        QCOMPARE(controlText(editor, QStringLiteral("EditPo")), dayText(3));
        QCOMPARE(controlText(editor, QStringLiteral("LabeledEditPolis")), QStringLiteral("ААА№0123456789"));
        editor.closeRecord();

        clickButton(window, "ButtonRenew");
        setControlText(editor, QStringLiteral("LabeledEditSuma"), QStringLiteral("1500"));
        saveFromEditor(editor);
        QTRY_VERIFY(!editor.isVisible());
        QTRY_COMPARE(shownColumn(1), QStringList{QStringLiteral("Other")});
        QCOMPARE(m_program->registerModel().rowCount(), 3);
        const PolicyRow renewal = m_program->database().load(*m_program->registerModel().keyAt(2)).value;
        QCOMPARE(renewal.value(u"Страх_с"), dayText(4));
        QCOMPARE(renewal.value(u"Дата_выдачи"), dayText(0));
        QCOMPARE(renewal.value(u"Сумма_страхования"), QStringLiteral("1500"));
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

    // The status bar counts today and the next 30 days, renewed policies left out, once the window has been painted.
    void statusBarCountsTheComingMonth()
    {
        startProgram({endingIn(0, QStringLiteral("Today"), QStringLiteral("VIN1"), QString()),
                      endingIn(30, QStringLiteral("Day 30"), QStringLiteral("VIN2"), QString()),
                      endingIn(31, QStringLiteral("Day 31"), QStringLiteral("VIN3"), QString()),
                      endingIn(12, QStringLiteral("Renewed"), QStringLiteral("VIN4"), QString()),
                      policy(QStringLiteral("Renewal"), QStringLiteral("VIN4"), QString(), dayText(13), dayText(377))});
        QLabel& count = m_program->renewalCommands().countLabel();
        QTRY_COMPARE(count.text(), kComingRenewalsText.arg(2));
        QVERIFY(m_program->mainWindow().statusBar()->isAncestorOf(&count));
        OSAGO_VERIFY_MESSAGES(*m_messages);
        QVERIFY(m_messages->shown().isEmpty());
    }

    // "Реестр..." moving the program to another register while the count is read never shows the old register's
    // count: the label is empty at once, then holds the new register's count.
    void anotherRegisterIsCountedAnew()
    {
        startProgram({endingIn(3, QStringLiteral("One"), QStringLiteral("VIN1"), QString()),
                      endingIn(4, QStringLiteral("Two"), QStringLiteral("VIN2"), QString())});
        QLabel& count = m_program->renewalCommands().countLabel();
        QTRY_COMPARE(count.text(), kComingRenewalsText.arg(2));

        QTemporaryDir other;
        RegisterSettings chosen;
        chosen.file = other.filePath(QStringLiteral("Other.mdb"));
        {
            const auto file = openDatabase(chosen.file, PolicyDatabase::Access::ReadWrite);
            QVERIFY(file.ok);
            for (int day : {1, 5, 9})
                QVERIFY(file.value->insert(endingIn(day, QStringLiteral("Other"), QString(), QStringLiteral("A%1").arg(day))).ok);
        }
        control<QAction>(m_program->mainWindow(), QStringLiteral("N25"))->trigger();
        QVERIFY(m_program->registerWindow());
        emit m_program->registerWindow()->chosen(chosen);
        QCOMPARE(m_program->database().path(), chosen.file);
        QVERIFY(count.text().isEmpty());
        QTRY_COMPARE(count.text(), kComingRenewalsText.arg(3));
        QTest::qWait(50);
        QCOMPARE(count.text(), kComingRenewalsText.arg(3));
    }

    // The program closed while its count is still being read closes at once and cleanly; the register is left
    // free, and the next program counts it.
    void closingWhileCountingLeavesTheRegisterFree()
    {
        std::vector<PolicyRow> rows;
        for (int day = 0; day < 20; ++day)
            rows.push_back(endingIn(day, QStringLiteral("Soon"), QStringLiteral("VIN%1").arg(day), QString()));
        startProgram(rows);
        m_program.reset();
        m_program = std::make_unique<Program>(*m_messages, ProgramOptions{m_register->location(), nullptr,
                                                                          std::make_unique<ScriptedFileChoices>()});
        m_program->start();
        QTRY_COMPARE(m_program->renewalCommands().countLabel().text(), kComingRenewalsText.arg(20));
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

    // "Печать" shows the list in the report's preview, which prints it through the program's printer; "Экспорт..."
    // writes a table with a header row and one row a policy.
    void listIsPrintedAndExported()
    {
        startProgram({endingIn(7, QStringLiteral("First"), QStringLiteral("VIN1"), QStringLiteral("A111AA")),
                      endingIn(9, QStringLiteral("Second"), QStringLiteral("VIN2"), QStringLiteral("B222BB"))});
        m_program->renewalCommands().showRenewals();
        RenewalsWindow& window = m_program->renewalCommands().window();
        clickButton(window, "ButtonPrint");
        ReportWindow& preview = m_program->renewalCommands().preview();
        QVERIFY(preview.isVisible());
        clickButton(preview, "ButtonPrint");
        QCOMPARE(m_printer->attempts(), QStringList{QStringLiteral("Окончание договоров (стр.1 из 1)")});

        const QString csv = m_files.path() + QStringLiteral("/renewals.csv");
        m_fileChoices->answerNext(csv);
        clickButton(window, "ButtonExport");
        bool wellFormed = false;
        const std::vector<QStringList> rows = readCsvFile(csv, &wellFormed);
        QVERIFY(wellFormed);
        QCOMPARE(int(rows.size()), 3);
        QCOMPARE(rows[0].value(1), QStringLiteral("Страхователь"));
        QCOMPARE(rows[1].value(1), QStringLiteral("First"));
        QCOMPARE(rows[2].value(4), QStringLiteral("B222BB"));
        QCOMPARE(rows[2].value(6), QStringLiteral("9"));
        OSAGO_VERIFY_MESSAGES(*m_messages);
        QVERIFY(m_messages->shown().isEmpty());
    }

    // A register file without the renewals' indexes shows no count at start and builds no index there; the first
    // list builds them, after which the count is read.
    void indexesAreBuiltAtTheFirstListNotAtStart()
    {
        if (onTestServer())
            QSKIP("the server's owner builds the indexes with the empty table");
        startProgram({endingIn(2, QStringLiteral("Soon"), QStringLiteral("VIN1"), QString())}, true);
        QTest::qWait(50);
        QVERIFY(m_program->renewalCommands().countLabel().text().isEmpty());
        QVERIFY(!m_program->database().hasRenewalIndexes());
        m_program->renewalCommands().showRenewals();
        QVERIFY(m_program->database().hasRenewalIndexes());
        QCOMPARE(shownColumn(1), QStringList{QStringLiteral("Soon")});
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

private:
    // The program started over a fresh register holding `rows`; with `withoutIndexes` a file made before the
    // renewals' indexes.
    void startProgram(const std::vector<PolicyRow>& rows, bool withoutIndexes = false)
    {
        m_register = std::make_unique<TestRegister>();
        const QString location = m_register->location();
        {
            const auto database = m_register->makeDatabase();
            QVERIFY(database->open(location).ok);
            for (const PolicyRow& row : rows)
                QVERIFY(database->insert(row).ok);
        }
        if (withoutIndexes) {
            RawConnection raw(location);
            for (const char* index : {"TableStrah_ending", "TableStrah_vin", "TableStrah_plate"})
                QVERIFY(raw.exec(QStringLiteral("DROP INDEX %1").arg(QLatin1String(index))));
        }
        m_messages = std::make_unique<ScriptedMessages>();
        auto files = std::make_unique<ScriptedFileChoices>();
        m_fileChoices = files.get();
        auto printer = std::make_unique<RecordingPrinter>();
        m_printer = printer.get();
        m_program = std::make_unique<Program>(*m_messages, ProgramOptions{location, std::move(printer), std::move(files)});
        m_program->start();
        QVERIFY(QTest::qWaitForWindowExposed(&m_program->mainWindow()));
    }

    void listPeriod(const QString& from, const QString& to)
    {
        m_program->renewalCommands().showRenewals();
        RenewalsWindow& window = m_program->renewalCommands().window();
        window.findChild<MaskedEdit*>(QStringLiteral("EditFrom"))->setMaskedText(from);
        auto* toEdit = window.findChild<MaskedEdit*>(QStringLiteral("EditTo"));
        toEdit->setMaskedText(to);
        toEdit->setFocus();
        QTest::keyClick(toEdit, Qt::Key_Return);
    }

    QStringList shownColumn(int column) const
    {
        auto* table = m_program->renewalCommands().window().findChild<QTableWidget*>(QStringLiteral("GridRenewals"));
        QStringList texts;
        for (int row = 0; row < table->rowCount(); ++row)
            texts << table->item(row, column)->text();
        return texts;
    }

    QTemporaryDir m_files;
    std::unique_ptr<TestRegister> m_register;
    std::unique_ptr<ScriptedMessages> m_messages;
    ScriptedFileChoices* m_fileChoices = nullptr;
    RecordingPrinter* m_printer = nullptr;
    std::unique_ptr<Program> m_program;
};

QTEST_MAIN(RenewalCommandsTest)
#include "RenewalCommandsTest.moc"
