#include "DriversHarness.h"

#include <QApplication>
#include <QStandardPaths>

using osago::DriverEntry;
using osago::test::DriversHarness;
using osago::test::expectedRow;
using osago::test::ScriptedMessages;
using osago::test::someone;
using osago::test::TypedDriver;

namespace {

const char* const kAddButtons[] = {"ButtonDobS", "ButtonDobV", "ButtonDobD"};
const char* const kListButtons[] = {"ButtonDobS", "ButtonDobV", "ButtonDobD", "ButtonIzmen", "ButtonUdal"};

// One row of texts per column (list lines first) from one row of texts per driver.
QList<QStringList> byColumn(const QList<QStringList>& rows)
{
    QList<QStringList> columns(11);
    for (const QStringList& row : rows) {
        for (int i = 0; i < 11; ++i)
            columns[i] << row[i];
    }
    return columns;
}

} // namespace

class DriversPageTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void sixDriversFillTheListAndASeventhCannotBeAdded()
    {
        ScriptedMessages seam;
        DriversHarness h(seam);
        OSAGO_STEP(h.openEditor(QStringLiteral("15.03.2012")));
        for (int i = 1; i <= 6; ++i) {
            QVERIFY(h.enabledOnPage("ButtonDobD"));
            OSAGO_STEP(h.addOther(someone(QStringLiteral("Водитель %1").arg(i), QStringLiteral("01.01.1980"))));
        }
        for (const char* add : kAddButtons) {
            QVERIFY2(!h.enabledOnPage(add), add);
            h.clickOnPage(add);
        }
        QVERIFY(!h.dialog.isVisible());
        QVERIFY(h.enabledOnPage("ButtonIzmen"));
        QVERIFY(h.enabledOnPage("ButtonUdal"));
        for (const QStringList& column : h.allColumns())
            QCOMPARE(column.size(), 6);

        OSAGO_STEP(h.selectLine(5));
        h.clickOnPage("ButtonUdal");
        QCOMPARE(h.listLines().size(), 5);
        for (const char* add : kAddButtons)
            QVERIFY2(h.enabledOnPage(add), add);
        QVERIFY(seam.shownTexts().isEmpty());
        OSAGO_VERIFY_MESSAGES(seam);
    }

    void deletingTheSecondOfFourKeepsEveryColumnAligned()
    {
        ScriptedMessages seam;
        DriversHarness h(seam);
        OSAGO_STEP(h.openEditor(QStringLiteral("15.03.2012")));
        const QList<TypedDriver> drivers = {
            {QStringLiteral("Иванов Иван Иванович"), QStringLiteral("15.03.1990"), QStringLiteral("М"),
             QStringLiteral("Тальград"), QStringLiteral("ab1234567801.02.2008"), QStringLiteral("2008"),
             QStringLiteral("5"), true, false},
            {QStringLiteral("Петрова Анна"), QStringLiteral("16.03.1990"), QStringLiteral("Ж"),
             QStringLiteral("Озёрск"), QStringLiteral("CD8765432110.10.2010"), QStringLiteral("2010"),
             QStringLiteral("M"), false, true},
            {QStringLiteral("Сидоров"), QStringLiteral("01.12.1985"), QStringLiteral("М"), QString(),
             QStringLiteral("еж0000000105.05.2005"), QString(), QStringLiteral("0"), true, true},
            // A typed sex and class are kept as typed.
            {QStringLiteral("Кузнецова Ольга"), QStringLiteral("20.07.1995"), QStringLiteral("ж"),
             QStringLiteral("Берёзовка"), QStringLiteral("1234567890"), QStringLiteral("с 2014"),
             QStringLiteral("14"), false, false},
        };
        for (const TypedDriver& driver : drivers)
            OSAGO_STEP(h.addOther(driver));

        OSAGO_STEP(h.selectLine(1));
        h.clickOnPage("ButtonUdal");

        // Born 15.03.1990: 22 on the issue date itself; 01.12.1985: 26; 20.07.1995: 16.
        const QString yes = QStringLiteral("Да");
        const QString no = QStringLiteral("Нет");
        const QList<QStringList> rows = {
            expectedRow(drivers[0], drivers[0].birthDate, QStringLiteral("AB12345678  01.02.2008"), yes),
            expectedRow(drivers[2], drivers[2].birthDate, QStringLiteral("ЕЖ00000001  05.05.2005"), yes),
            expectedRow(drivers[3], drivers[3].birthDate, QStringLiteral("1234567890    .  .    "), no),
        };
        QCOMPARE(h.allColumns(), byColumn(rows));
        OSAGO_STEP(h.selectLine(1));
        h.clickOnPage("ButtonUdal");
        QCOMPARE(h.listLines(), (QStringList{drivers[0].name, drivers[3].name}));
        QCOMPARE(h.column(10), (QStringList{QStringLiteral("Да"), QStringLiteral("Нет")}));
        OSAGO_VERIFY_MESSAGES(seam);
    }

    void ageFlagAgainstTheIssueDate_data()
    {
        QTest::addColumn<QString>("issueDate");
        QTest::addColumn<QString>("birthDate");
        QTest::addColumn<QString>("ageFlag");
        QTest::newRow("22nd birthday on the issue date") << "15.03.2012" << "15.03.1990" << "Да";
        QTest::newRow("22nd birthday the day after") << "14.03.2012" << "15.03.1990" << "Нет";
        QTest::newRow("22nd birthday a month before") << "15.03.2012" << "16.02.1990" << "Да";
        QTest::newRow("22nd birthday a month after") << "15.03.2012" << "14.04.1990" << "Нет";
        QTest::newRow("born 1989, issued on New Year's Day") << "01.01.2012" << "31.12.1989" << "Да";
        QTest::newRow("born 1989, issued on New Year's Eve") << "31.12.2012" << "31.12.1989" << "Да";
        QTest::newRow("born 1991, issued on New Year's Eve") << "31.12.2012" << "01.01.1991" << "Нет";
        QTest::newRow("born 1991, issued on New Year's Day") << "01.01.2012" << "01.01.1991" << "Нет";
        QTest::newRow("born after the issue") << "01.01.2012" << "01.01.2013" << "Нет";
    }
    void ageFlagAgainstTheIssueDate()
    {
        QFETCH(QString, issueDate);
        QFETCH(QString, birthDate);
        QFETCH(QString, ageFlag);
        ScriptedMessages seam;
        DriversHarness h(seam);
        OSAGO_STEP(h.openEditor(issueDate));
        OSAGO_STEP(h.addOther(someone(QStringLiteral("Водитель"), birthDate)));
        QCOMPARE(h.column(2), QStringList{birthDate});
        QCOMPARE(h.column(10), QStringList{ageFlag});
        QVERIFY(seam.shownTexts().isEmpty());
    }

    void aFlagThatCannotBeDerivedStoresNothing_data()
    {
        QTest::addColumn<QString>("issueDate");
        QTest::addColumn<QString>("birthDate");
        QTest::addColumn<QString>("message");
        QTest::newRow("untouched birth date")
            << "15.03.2012" << QString() << "'    ' is not a valid integer value";
        QTest::newRow("issue date in another form")
            << "2012-03-15" << "15.03.1990" << "'3-15' is not a valid integer value";
        QTest::newRow("issue date emptied") << QString() << "15.03.1990" << "'' is not a valid integer value";
    }
    void aFlagThatCannotBeDerivedStoresNothing()
    {
        QFETCH(QString, issueDate);
        QFETCH(QString, birthDate);
        QFETCH(QString, message);
        ScriptedMessages seam;
        DriversHarness h(seam);
        OSAGO_STEP(h.openEditor(QStringLiteral("15.03.2012")));
        const TypedDriver first = someone(QStringLiteral("Первый"), QStringLiteral("01.01.1970"));
        for (int i = 0; i < 5; ++i)
            OSAGO_STEP(h.addOther(first));
        const QList<QStringList> before = h.allColumns();

        OSAGO_STEP(h.typeInEditor("LabeledEditVydan", issueDate));
        OSAGO_STEP(h.goToPageOf(&h.page));
        OSAGO_STEP(h.openDialogBy("ButtonDobD"));
        const TypedDriver sixth = someone(QStringLiteral("Шестой"), birthDate);
        OSAGO_STEP(h.fillDialog(sixth));
        h.click(h.inDialog("ButtonOk"));

        QCOMPARE(seam.shownTexts(), QStringList{message});
        QVERIFY(h.dialog.isVisible());
        QCOMPARE(h.inDialog<QLineEdit>("LabeledEditFIO")->text(), sixth.name);
        QCOMPARE(h.inDialog<osago::MaskedEdit>("LabeledEditDR")->maskedText(),
                 birthDate.isEmpty() ? osago::test::kEmptyDate : birthDate);
        QCOMPARE(h.allColumns(), before);
        for (const char* add : kAddButtons)
            QVERIFY2(h.enabledOnPage(add), add);

        h.click(h.inDialog("ButtonCancel"));
        QTRY_VERIFY(!h.dialog.isVisible());
        QCOMPARE(h.allColumns(), before);
        OSAGO_VERIFY_MESSAGES(seam);
    }

    void unrestrictedSwitchBothWays()
    {
        ScriptedMessages seam;
        DriversHarness h(seam);
        OSAGO_STEP(h.openEditor(QStringLiteral("15.03.2012")));
        for (const QString& name : {QStringLiteral("Один"), QStringLiteral("Два"), QStringLiteral("Три")})
            OSAGO_STEP(h.addOther(someone(name, QStringLiteral("01.01.1980"))));
        auto* unrestricted = h.onPage<QCheckBox>("CheckBoxDopusk");
        auto* pageClass = h.onPage<QComboBox>("ComboBoxKlass");
        auto* pageGross = h.onPage<QCheckBox>("CheckBoxGrub");

        h.click(unrestricted);
        QVERIFY(unrestricted->isChecked());
        for (const QStringList& column : h.allColumns())
            QVERIFY(column.isEmpty());
        for (const char* button : kListButtons)
            QVERIFY2(!h.enabledOnPage(button), button);
        QVERIFY(pageClass->isEnabled());
        QVERIFY(pageGross->isEnabled());
        QCOMPARE(pageClass->currentText(), QStringLiteral("3"));
        OSAGO_STEP(h.pick(pageClass, QStringLiteral("M")));
        h.click(pageGross);
        QVERIFY(pageGross->isChecked());

        h.click(unrestricted);
        QVERIFY(!unrestricted->isChecked());
        for (const QStringList& column : h.allColumns())
            QVERIFY(column.isEmpty());
        for (const char* button : kListButtons)
            QVERIFY2(h.enabledOnPage(button), button);
        QCOMPARE(pageClass->currentText(), QStringLiteral("3"));
        QVERIFY(!pageClass->isEnabled());
        QVERIFY(!pageGross->isChecked());
        QVERIFY(!pageGross->isEnabled());

        OSAGO_STEP(h.addOther(someone(QStringLiteral("Четыре"), QStringLiteral("01.01.1980"))));
        QCOMPARE(h.listLines(), QStringList{QStringLiteral("Четыре")});
        OSAGO_VERIFY_MESSAGES(seam);
    }

    void editorResetStepsReturnThePageToAnEmptyList()
    {
        ScriptedMessages seam;
        DriversHarness h(seam);
        OSAGO_STEP(h.openEditor(QStringLiteral("15.03.2012")));
        for (int i = 0; i < 6; ++i)
            OSAGO_STEP(h.addOther(someone(QStringLiteral("Водитель"), QStringLiteral("01.01.1980"))));
        h.page.resetUnrestricted();
        h.page.clearDrivers();
        for (const QStringList& column : h.allColumns())
            QVERIFY(column.isEmpty());
        for (const char* button : kListButtons)
            QVERIFY2(h.enabledOnPage(button), button);

        auto* unrestricted = h.onPage<QCheckBox>("CheckBoxDopusk");
        auto* pageClass = h.onPage<QComboBox>("ComboBoxKlass");
        auto* pageGross = h.onPage<QCheckBox>("CheckBoxGrub");
        h.click(unrestricted);
        OSAGO_STEP(h.pick(pageClass, QStringLiteral("13")));
        h.click(pageGross);
        h.page.resetUnrestricted();
        h.page.clearDrivers();
        QVERIFY(!unrestricted->isChecked());
        QCOMPARE(pageClass->currentText(), QStringLiteral("3"));
        QVERIFY(!pageClass->isEnabled());
        QVERIFY(!pageGross->isChecked());
        QVERIFY(!pageGross->isEnabled());
        for (const char* button : kListButtons)
            QVERIFY2(h.enabledOnPage(button), button);
        OSAGO_VERIFY_MESSAGES(seam);
    }

    void theTabKeyWalksThePageInOrder()
    {
        ScriptedMessages seam;
        DriversHarness h(seam);
        OSAGO_STEP(h.openEditor(QStringLiteral("15.03.2012")));
        QTRY_VERIFY(h.editor.isActiveWindow());
        h.onPage("CheckBoxDopusk")->setFocus(Qt::TabFocusReason);
        // The class and the violations mark are disabled and so left out.
        for (const char* next :
             {"ButtonDobS", "ButtonDobV", "ButtonDobD", "ButtonIzmen", "ButtonUdal", "ListBoxVodit"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY2(QApplication::focusWidget() == h.onPage(next), next);
        }
        h.click(h.onPage<QCheckBox>("CheckBoxDopusk"));
        h.onPage("CheckBoxDopusk")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), h.onPage("ComboBoxKlass"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), h.onPage("ListBoxVodit"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), h.onPage("CheckBoxGrub"));
    }

    void changeAndDeleteWithoutASelectedLineDoNothing()
    {
        ScriptedMessages seam;
        DriversHarness h(seam);
        OSAGO_STEP(h.openEditor(QStringLiteral("15.03.2012")));
        OSAGO_STEP(h.addOther(someone(QStringLiteral("Один"), QStringLiteral("01.01.1980"))));
        OSAGO_STEP(h.addOther(someone(QStringLiteral("Два"), QStringLiteral("01.01.1980"))));
        const QList<QStringList> before = h.allColumns();
        h.clickOnPage("ButtonIzmen");
        h.clickOnPage("ButtonUdal");
        QVERIFY(!h.dialog.isVisible());
        QVERIFY(h.editor.isEnabled());
        QCOMPARE(h.allColumns(), before);

        // A deletion leaves no line selected for the next one.
        OSAGO_STEP(h.selectLine(0));
        h.clickOnPage("ButtonUdal");
        h.clickOnPage("ButtonUdal");
        QCOMPARE(h.listLines(), QStringList{QStringLiteral("Два")});
        QVERIFY(seam.shownTexts().isEmpty());
        OSAGO_VERIFY_MESSAGES(seam);
    }

    void openersFillTheDialogFromThePolicyholderAndTheOwner_data()
    {
        QTest::addColumn<QByteArray>("opener");
        QTest::addColumn<QByteArrayList>("fields"); // surname, first name, patronymic, birth date, locality
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("fullName");
        const QByteArrayList policyholder = {"LabeledEditFamil", "LabeledEditImia", "LabeledEditOtch", "LabeledEditDR",
                                             "ComboBoxNasel"};
        const QByteArrayList owner = {"LabeledEditF", "LabeledEditI", "LabeledEditO", "LabeledEditDeR",
                                      "ComboBoxPunkt"};
        QTest::newRow("policyholder, a person")
            << QByteArray("ButtonDobS") << policyholder
            << QStringList{"Смирнов", "Олег", "Юрьевич", "12.04.1975", "Тальград"} << "Смирнов Олег Юрьевич";
        QTest::newRow("policyholder, a firm keeps both blanks")
            << QByteArray("ButtonDobS") << policyholder << QStringList{"ООО Ромашка", "", "", "01.01.1990", "Озёрск"}
            << "ООО Ромашка  ";
        QTest::newRow("owner, a person")
            << QByteArray("ButtonDobV") << owner << QStringList{"Петрова", "Мария", "", "30.11.1992", "Берёзовка"}
            << "Петрова Мария ";
        const QString surname(20, QChar(u'Щ'));
        const QString firstName(15, QChar(u'Ж'));
        const QString patronymic(15, QChar(u'Ы'));
        QTest::newRow("owner, the longest name of 52 characters")
            << QByteArray("ButtonDobV") << owner
            << QStringList{surname, firstName, patronymic, "01.01.1980", "Тальград"}
            << surname + " " + firstName + " " + patronymic;
    }
    void openersFillTheDialogFromThePolicyholderAndTheOwner()
    {
        QFETCH(QByteArray, opener);
        QFETCH(QByteArrayList, fields);
        QFETCH(QStringList, texts);
        QFETCH(QString, fullName);
        ScriptedMessages seam;
        DriversHarness h(seam);
        OSAGO_STEP(h.openEditor(QStringLiteral("15.03.2012")));
        for (int i = 0; i < fields.size(); ++i)
            OSAGO_STEP(h.typeInEditor(fields[i].constData(), texts[i]));
        OSAGO_STEP(h.goToPageOf(&h.page));

        OSAGO_STEP(h.openDialogBy(opener.constData()));
        QCOMPARE(h.inDialog<QLineEdit>("LabeledEditFIO")->text(), fullName);
        QCOMPARE(h.inDialog<osago::MaskedEdit>("LabeledEditDR")->maskedText(), texts[3]);
        QCOMPARE(h.inDialog<QLineEdit>("LabeledEditAdres")->text(), texts[4]);
        QCOMPARE(h.inDialog<QComboBox>("ComboBoxPol")->currentText(), QStringLiteral("М"));
        QCOMPARE(h.inDialog<QComboBox>("ComboBoxKlass")->currentText(), QStringLiteral("3"));
        QCOMPARE(h.inDialog<osago::MaskedEdit>("LabeledEditVU")->maskedText(), osago::test::kEmptyPermit);

        h.click(h.inDialog("ButtonOk"));
        QTRY_VERIFY(!h.dialog.isVisible());
        QCOMPARE(h.listLines(), QStringList{fullName});
        QCOMPARE(h.column(1), QStringList{fullName});
        QCOMPARE(h.column(2), QStringList{texts[3]});
        QCOMPARE(h.column(4), QStringList{texts[4]});
        QVERIFY(seam.shownTexts().isEmpty());
        OSAGO_VERIFY_MESSAGES(seam);
    }

    void loadedEntriesGetTheirAgeFlagsAgain()
    {
        ScriptedMessages seam;
        DriversHarness h(seam);
        OSAGO_STEP(h.openEditor(QStringLiteral("15.03.2012")));
        const DriverEntry turned22{"Один", "15.03.1990", "М", "Тальград", "AB12345678  01.02.2008", "2008", "M",
                                   "Да", "Нет"};
        DriverEntry notYet = turned22;
        notYet.fullName = QStringLiteral("Два");
        notYet.birthDate = QStringLiteral("16.03.1990");
        notYet.grossFlag = QStringLiteral("Да");
        QList<DriverEntry> six(5, turned22);
        six << notYet;

        QVERIFY(h.page.loadEntries(six));
        QCOMPARE(h.page.entries(), six);
        QCOMPARE(h.column(10), (QStringList(5, QStringLiteral("Да")) << QStringLiteral("Нет")));
        QCOMPARE(h.column(7), (QStringList(6, QStringLiteral("M"))));
        for (const char* add : kAddButtons)
            QVERIFY2(!h.enabledOnPage(add), add);

        QVERIFY(h.page.loadEntries({notYet}));
        QCOMPARE(h.listLines(), QStringList{QStringLiteral("Два")});
        for (const char* add : kAddButtons)
            QVERIFY2(h.enabledOnPage(add), add);
        QVERIFY(seam.shownTexts().isEmpty());
    }

    void entriesWithADateThatDoesNotConvertAreNotLoaded()
    {
        ScriptedMessages seam;
        DriversHarness h(seam);
        OSAGO_STEP(h.openEditor(QStringLiteral("15.03.2012")));
        OSAGO_STEP(h.addOther(someone(QStringLiteral("Прежний"), QStringLiteral("01.01.1980"))));
        const QList<QStringList> before = h.allColumns();
        DriverEntry undated{"Без даты", "  .  .    ", "М", "", "              .  .    ", "", "3", "Нет", "Нет"};
        DriverEntry dated = undated;
        dated.birthDate = QStringLiteral("01.01.1980");

        QVERIFY(!h.page.loadEntries({dated, undated}));
        QCOMPARE(seam.shownTexts(), QStringList{QStringLiteral("'    ' is not a valid integer value")});
        QCOMPARE(h.allColumns(), before);
        OSAGO_VERIFY_MESSAGES(seam);
    }
};

QTEST_MAIN(DriversPageTest)
#include "DriversPageTest.moc"
