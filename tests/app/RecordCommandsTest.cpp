#include "app/AgentSettings.h"
#include "print/PrintPreviewWindow.h"
#include "print/PdfExport.h"
#include "PdfText.h"
#include "print/PolicyDocuments.h"
#include "print/PrintService.h"
#include "app/RecordCommands.h"
#include "RecordingPrinter.h"
#include "storage/PolicyDatabase.h"
#include "RegisterTestSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

using namespace osago;
using namespace osago::test;

namespace {

const QString kAgent = QStringLiteral("Петрова А. В.");

// Puts `count` rows into the register of `t`, the n-th with the surname "Запись n", and shows them.
void storeRows(TestProgram& t, int count, const RecordShape& shape = {})
{
    for (int n = 1; n <= count; ++n) {
        PolicyRow row = distinctiveRow(shape, kAgent);
        row.setValue(u"Страхователь_фамилия_фирма", QStringLiteral("Запись %1").arg(n));
        QVERIFY(t.program.database().insert(row).ok);
    }
    QVERIFY(t.model().refresh().ok);
}

QStringList surnamesOnDisk(TestProgram& t)
{
    QStringList surnames;
    for (const PolicyRow& row : rowsOnDisk(t.location))
        surnames << row.value(u"Страхователь_фамилия_фирма");
    return surnames;
}

QList<QWidget*> inputsOfPages(const PolicyEditor& editor)
{
    QList<QWidget*> inputs;
    for (QWidget* widget : editor.findChildren<QWidget*>()) {
        if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget) || qobject_cast<QCheckBox*>(widget)
            || qobject_cast<QRadioButton*>(widget) || qobject_cast<QListWidget*>(widget))
            inputs << widget;
    }
    for (const char* button : {"ButtonDobS", "ButtonDobV", "ButtonDobD", "ButtonIzmen", "ButtonUdal", "ButtonRavno",
                               "ButtonSumma", "ButtonZPr"})
        inputs << control<QWidget>(editor, QString::fromLatin1(button));
    return inputs;
}

} // namespace

// The main window's commands over the selected row, the editor's closing, and the printing commands.
class RecordCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { useTestSettings("test_record_commands"); }

    void init()
    {
        QSettings().clear();
        AgentSettings{kAgent, QStringLiteral("Росгарант")}.save();
    }

    void viewShowsTheRowReadOnlyAndClosesWithoutAQuestion()
    {
        TestProgram t;
        storeRows(t, 2, {true, false, false, 3, false});
        const PolicyRow before = t.storedRow(1);

        t.selectRow(1);
        t.trigger("N16");
        PolicyEditor& editor = t.editor();
        QVERIFY(editor.isVisible());
        QCOMPARE(editor.windowTitle(), QStringLiteral("Просмотр записи"));
        QCOMPARE(controlText(editor, QStringLiteral("LabeledEditFamil")), QStringLiteral("Запись 2"));
        QCOMPARE(control<QListWidget>(editor, QStringLiteral("ListBoxVodit"))->count(), 3);
        for (QWidget* input : inputsOfPages(editor))
            QVERIFY2(!input->isEnabled(), qPrintable(input->objectName()));
        QVERIFY(control<QWidget>(editor, QStringLiteral("ButtonClose"))->isVisible());
        QVERIFY(!control<QWidget>(editor, QStringLiteral("ButtonNo"))->isVisible());
        QVERIFY(!control<QWidget>(editor, QStringLiteral("ButtonSave"))->isVisible());

        // The pages can still be looked through.
        clickButton(editor, "ButtonVper");
        QCOMPARE(control<QTabWidget>(editor, QStringLiteral("PageControl"))->currentIndex(), 1);

        clickButton(editor, "ButtonClose");
        QVERIFY(!editor.isVisible());
        QVERIFY(t.seam.questions().isEmpty());
        QVERIFY(t.main().isEnabled());
        compareRows(t.storedRow(1), before, true);

        // The next record takes input and offers "Отмена" and "Сохранить" again.
        t.trigger("N2");
        for (QWidget* input : {control<QWidget>(editor, QStringLiteral("LabeledEditFamil")),
                               control<QWidget>(editor, QStringLiteral("ComboBoxTipTS")),
                               control<QWidget>(editor, QStringLiteral("ButtonDobD"))})
            QVERIFY2(input->isEnabled(), qPrintable(input->objectName()));
        QVERIFY(control<QWidget>(editor, QStringLiteral("ButtonNo"))->isVisible());
        QVERIFY(!control<QWidget>(editor, QStringLiteral("ButtonClose"))->isVisible());
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QStringList>("remaining");
        QTest::addColumn<int>("selectedAfter");
        QTest::newRow("no") << 1 << false << QStringList{"Запись 1", "Запись 2", "Запись 3"} << 1;
        QTest::newRow("yes, a middle row") << 1 << true << QStringList{"Запись 1", "Запись 3"} << 1;
        QTest::newRow("yes, the last row") << 2 << true << QStringList{"Запись 1", "Запись 2"} << 1;
    }

    void deleteAsksFirst()
    {
        QFETCH(int, selected);
        QFETCH(bool, yes);
        QFETCH(QStringList, remaining);
        QFETCH(int, selectedAfter);
        TestProgram t;
        storeRows(t, 3);

        t.selectRow(selected);
        t.seam.answerNext(yes);
        t.trigger("N12");

        QCOMPARE(t.seam.questions(), QStringList{"Confirm: Удалить запись?"});
        QCOMPARE(surnamesOnDisk(t), remaining);
        QCOMPARE(t.model().rowCount(), remaining.size());
        QCOMPARE(t.main().grid().selectedSourceRow(), selectedAfter);
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    // Rows far below the first screen are reached by the keys, and the commands work on the row the agent sees
    // selected there; after a deletion the grid stays where it was.
    void commandsWorkOnRowsFarDownTheGrid()
    {
        TestProgram t;
        storeRows(t, 300);
        WindowedGrid& grid = t.main().grid();
        QVERIFY(QTest::qWaitForWindowExposed(&t.main()));
        grid.setFocus();
        QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(grid.selectedSourceRow(), 299);
        QCOMPARE(grid.lastShownRow(), 299);

        t.trigger("N16");
        QCOMPARE(controlText(t.editor(), QStringLiteral("LabeledEditFamil")), QStringLiteral("Запись 300"));
        clickButton(t.editor(), "ButtonClose");

        grid.setFocus();
        QTest::keyClick(&grid, Qt::Key_Up);
        QTest::keyClick(&grid, Qt::Key_Up);
        const int firstShown = grid.firstShownRow();
        QVERIFY(firstShown > 200);
        t.seam.answerNext(true);
        t.trigger("N12");
        QVERIFY(!surnamesOnDisk(t).contains(QStringLiteral("Запись 298")));
        QCOMPARE(surnamesOnDisk(t).size(), 299);
        QCOMPARE(grid.selectedSourceRow(), 297);
        QCOMPARE(t.model().data(t.model().index(297, 0)).toString(), QStringLiteral("Запись 299"));
        QVERIFY(grid.firstShownRow() >= firstShown - 1 && grid.firstShownRow() <= 297);
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    // The grid is a snapshot: a row another desk adds appears on F5, and the agent's row stays selected.
    void f5ShowsRowsAnotherDeskAdded()
    {
        TestProgram t;
        storeRows(t, 3);
        WindowedGrid& grid = t.main().grid();
        QVERIFY(activate(t.main()));
        grid.selectSourceCell(1, 0);

        const std::unique_ptr<PolicyDatabase> otherDesk = makeDatabase(t.location);
        QVERIFY(otherDesk->open(t.location).ok);
        PolicyRow row = distinctiveRow({}, kAgent);
        row.setValue(u"Страхователь_фамилия_фирма", QStringLiteral("С другого места"));
        QVERIFY(otherDesk->insert(row).ok);
        QCOMPARE(t.model().rowCount(), 3);

        pressKey(Qt::Key_F5);
        QCOMPARE(t.model().rowCount(), 4);
        QCOMPARE(t.model().data(t.model().index(3, 0)).toString(), QStringLiteral("С другого места"));
        QCOMPARE(grid.selectedSourceRow(), 1);
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void cancelAsksBeforeLeaving_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("no") << false;
        QTest::newRow("yes") << true;
    }

    void cancelAsksBeforeLeaving()
    {
        QFETCH(bool, yes);
        TestProgram t;
        storeRows(t, 1);
        t.selectRow(0);
        t.trigger("N3");
        PolicyEditor& editor = t.editor();
        clickButton(editor, "ButtonVper");
        clickButton(editor, "ButtonVper");
        setControlText(editor, QStringLiteral("LabeledEditF"), QStringLiteral("Новый"));

        t.seam.answerNext(yes);
        clickButton(editor, "ButtonNo");

        QCOMPARE(t.seam.questions(), QStringList{"Confirm: Выйти без сохранения?"});
        QCOMPARE(editor.isVisible(), !yes);
        QCOMPARE(t.main().isEnabled(), yes);
        if (!yes) {
            QCOMPARE(control<QTabWidget>(editor, QStringLiteral("PageControl"))->currentIndex(), 2);
            QCOMPARE(controlText(editor, QStringLiteral("LabeledEditF")), QStringLiteral("Новый"));
            QCOMPARE(editor.recordMode(), PolicyEditor::RecordMode::Change);
        }
        QCOMPARE(surnamesOnDisk(t), QStringList{"Запись 1"});
        QCOMPARE(t.storedRow(0).value(u"Владелец_фамилия_фирма"), QStringLiteral("т4"));
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void closingFromTheResultsPageReopensOnPageOne()
    {
        TestProgram t;
        storeRows(t, 1);
        t.selectRow(0);
        t.trigger("N3");
        PolicyEditor& editor = t.editor();
        auto* pages = control<QTabWidget>(editor, QStringLiteral("PageControl"));
        while (pages->currentIndex() < pages->count() - 1)
            clickButton(editor, "ButtonVper");
        t.seam.answerNext(true);
        clickButton(editor, "ButtonNo");

        t.trigger("N2");
        QCOMPARE(pages->currentIndex(), 0);
        QVERIFY(!control<QWidget>(editor, QStringLiteral("ButtonNaz"))->isEnabled());
        QVERIFY(control<QWidget>(editor, QStringLiteral("ButtonVper"))->isEnabled());
        QCOMPARE(editor.windowTitle(), QStringLiteral("Создание записи"));
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void sixDriversAreGoneFromTheNextNewRecord()
    {
        TestProgram t;
        storeRows(t, 1, {true, false, false, 6, false});
        t.selectRow(0);
        t.trigger("N3");
        PolicyEditor& editor = t.editor();
        QCOMPARE(control<QListWidget>(editor, QStringLiteral("ListBoxVodit"))->count(), 6);
        QVERIFY(!control<QWidget>(editor, QStringLiteral("ButtonDobD"))->isEnabled());
        t.seam.answerNext(true);
        clickButton(editor, "ButtonNo");

        t.trigger("N2");
        QCOMPARE(control<QListWidget>(editor, QStringLiteral("ListBoxVodit"))->count(), 0);
        for (const char* add : {"ButtonDobS", "ButtonDobV", "ButtonDobD"})
            QVERIFY2(control<QWidget>(editor, QString::fromLatin1(add))->isEnabled(), add);
        saveFromEditor(editor);
        QCOMPARE(t.storedRow(1).driverCount(), 0);
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void commandsWithoutASelectedRowOnlySaySo_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("message");
        QTest::newRow("edit") << "N3" << kNoSelectionMessage;
        QTest::newRow("copy") << "N15" << kNoSelectionMessage;
        QTest::newRow("view") << "N16" << kNoSelectionMessage;
        QTest::newRow("delete") << "N12" << kNoSelectionMessage;
        QTest::newRow("print") << "N7" << kNoRecordMessage;
        QTest::newRow("print directly") << "N8" << kNoRecordMessage;
    }

    void commandsWithoutASelectedRowOnlySaySo()
    {
        QFETCH(QString, command);
        QFETCH(QString, message);
        auto printer = std::make_unique<RecordingPrinter>();
        RecordingPrinter& printed = *printer;
        TestProgram t({}, std::move(printer));
        storeRows(t, 2);

        t.trigger(command.toLatin1().constData());

        QCOMPARE(t.seam.shownTexts(), QStringList{message});
        QVERIFY(t.seam.questions().isEmpty());
        QVERIFY(!t.editor().isVisible());
        QVERIFY(!t.program.printService().previewWindow());
        QVERIFY(printed.attempts().isEmpty());
        QCOMPARE(surnamesOnDisk(t).size(), 2);
        QVERIFY(t.main().isEnabled());
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void directPrintPrintsPageOneThenPageTwo()
    {
        auto printer = std::make_unique<RecordingPrinter>();
        RecordingPrinter& printed = *printer;
        TestProgram t({}, std::move(printer));
        storeRows(t, 2);

        t.selectRow(1);
        t.trigger("N8");

        QCOMPARE(printed.attempts(), (QStringList{documentTitle(ApplicationPage1), documentTitle(ApplicationPage2)}));
        PrintPreviewWindow* preview = t.program.printService().previewWindow();
        QVERIFY(preview && preview->isVisible());
        QCOMPARE(preview->documents().size(), std::size_t(kDocumentCount));
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void printPreviewsTheSelectedRowAndTheEditorsRecord()
    {
        TestProgram t({}, std::make_unique<RecordingPrinter>());
        storeRows(t, 1);
        t.selectRow(0);
        t.trigger("N7");
        PrintPreviewWindow* preview = t.program.printService().previewWindow();
        QVERIFY(preview && preview->isVisible());
        QVERIFY(!t.main().isEnabled());
        preview->close();
        QTRY_VERIFY(t.main().isEnabled());

        t.trigger("N2");
        setControlText(t.editor(), QStringLiteral("LabeledEditFamil"), QStringLiteral("Печатная"));
        auto* pages = control<QTabWidget>(t.editor(), QStringLiteral("PageControl"));
        pages->setCurrentIndex(pages->count() - 1);
        clickButton(t.editor(), "ButtonZPr");
        QVERIFY(preview->isVisible());
        QVERIFY(!t.editor().isEnabled());
        // The application shows the record as the editor holds it, and the insurer of the settings.
        const QString pdf = t.folder.filePath(QStringLiteral("application.pdf"));
        QString error;
        QVERIFY2(writePdf({preview->documents().at(ApplicationPage1)}, pdf, &error), qPrintable(error));
        const QString page = pdfPages(pdf).value(0);
        QVERIFY2(page.contains(QStringLiteral("Печатная")) && page.contains(QStringLiteral("Страховщик: Росгарант")),
                 qPrintable(page));
        preview->close();
        QTRY_VERIFY(t.editor().isEnabled());
        QVERIFY(t.editor().isVisible());
        QCOMPARE(t.model().rowCount(), 1);
        OSAGO_VERIFY_MESSAGES(t.seam);
    }
};

QTEST_MAIN(RecordCommandsTest)
#include "RecordCommandsTest.moc"
