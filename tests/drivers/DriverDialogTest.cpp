#include "DriversHarness.h"

#include <QApplication>
#include <QStandardPaths>
#include <QWindow>

using osago::MaskedEdit;
using osago::test::DriversHarness;
using osago::test::kEmptyDate;
using osago::test::kEmptyPermit;
using osago::test::ScriptedMessages;
using osago::test::someone;
using osago::test::TypedDriver;

namespace {

const QString kIssueDate = QStringLiteral("15.03.2012");

} // namespace

class DriverDialogTest : public QObject
{
    Q_OBJECT

    // Every field of the dialog holds its default and "Добавить" stands in place of "Сохранить".
    static void verifyEmptyInAddMode(const DriversHarness& h)
    {
        QCOMPARE(h.inDialog<QLineEdit>("LabeledEditFIO")->text(), QString());
        QCOMPARE(h.inDialog<MaskedEdit>("LabeledEditDR")->maskedText(), kEmptyDate);
        QCOMPARE(h.inDialog<QComboBox>("ComboBoxPol")->currentText(), QStringLiteral("М"));
        QCOMPARE(h.inDialog<QLineEdit>("LabeledEditAdres")->text(), QString());
        QCOMPARE(h.inDialog<MaskedEdit>("LabeledEditVU")->maskedText(), kEmptyPermit);
        QCOMPARE(h.inDialog<QLineEdit>("LabeledEditStazh")->text(), QString());
        QCOMPARE(h.inDialog<QComboBox>("ComboBoxKlass")->currentText(), QStringLiteral("3"));
        QVERIFY(!h.inDialog<QCheckBox>("CheckBox2g")->isChecked());
        QVERIFY(!h.inDialog<QCheckBox>("CheckBoxGrub")->isChecked());
        QVERIFY(!h.inDialog("ButtonOk")->isHidden());
        QVERIFY(h.inDialog("ButtonSoxran")->isHidden());
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void theDialogDisablesTheEditorWhileItIsShown()
    {
        ScriptedMessages seam;
        DriversHarness h(seam);
        OSAGO_STEP(h.openEditor(kIssueDate));
        OSAGO_STEP(h.openDialogBy("ButtonDobD"));
        QCOMPARE(h.dialog.windowTitle(), QStringLiteral("Сведения о водителе"));
        QCOMPARE(h.dialog.size(), QSize(387, 296));
        QVERIFY(h.dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!h.dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QTRY_VERIFY(!h.editor.isEnabled());
        OSAGO_STEP(verifyEmptyInAddMode(h));

        // Leaving from another field: the next opening still starts in the name field.
        h.click(h.inDialog("LabeledEditAdres"));
        h.click(h.inDialog("ButtonCancel"));
        QTRY_VERIFY(!h.dialog.isVisible());
        QVERIFY(h.editor.isEnabled());
        OSAGO_STEP(h.openDialogBy("ButtonDobD"));
        QTRY_COMPARE(QApplication::focusWidget(), h.inDialog("LabeledEditFIO"));
        OSAGO_VERIFY_MESSAGES(seam);
    }

    void theTabKeyWalksTheFieldsInOrder()
    {
        ScriptedMessages seam;
        DriversHarness h(seam);
        OSAGO_STEP(h.openEditor(kIssueDate));
        OSAGO_STEP(h.openDialogBy("ButtonDobD"));
        QTRY_COMPARE(QApplication::focusWidget(), h.inDialog("LabeledEditFIO"));
        // "Сохранить" is hidden in add mode and so left out.
        for (const char* next : {"LabeledEditDR", "ComboBoxPol", "LabeledEditAdres", "LabeledEditVU",
                                 "LabeledEditStazh", "CheckBox2g", "ComboBoxKlass", "CheckBoxGrub", "ButtonOk",
                                 "ButtonCancel"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY2(QApplication::focusWidget() == h.inDialog(next), next);
        }
        QVERIFY(seam.shownTexts().isEmpty());
    }

    void typingLimits_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        const QString latin46 = QStringLiteral("abcdefghij").repeated(4) + QStringLiteral("klmnop");
        QTest::newRow("name stops at 45") << QByteArray("LabeledEditFIO") << latin46 << latin46.left(45);
        QTest::newRow("address stops at 25")
            << QByteArray("LabeledEditAdres") << QString(26, QChar(u'д')) << QString(25, QChar(u'д'));
        QTest::newRow("experience has no limit")
            << QByteArray("LabeledEditStazh") << QString(60, QChar(u'с')) << QString(60, QChar(u'с'));
        QTest::newRow("sex takes one character") << QByteArray("ComboBoxPol") << "ЖМ" << "Ж";
        QTest::newRow("sex takes any character") << QByteArray("ComboBoxPol") << "x" << "x";
        QTest::newRow("class takes any text") << QByteArray("ComboBoxKlass") << "14" << "14";
    }
    void typingLimits()
    {
        QFETCH(QByteArray, field);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        ScriptedMessages seam;
        DriversHarness h(seam);
        OSAGO_STEP(h.openEditor(kIssueDate));
        OSAGO_STEP(h.openDialogBy("ButtonDobD"));
        QWidget* target = h.inDialog(field.constData());
        if (auto* dropDown = qobject_cast<QComboBox*>(target))
            target = dropDown->lineEdit();
        h.type(target, typed);
        QCOMPARE(osago::controlText(h.inDialog(field.constData())), kept);
    }

    void changeModeFillsTheDialogAndSavesInPlace()
    {
        ScriptedMessages seam;
        DriversHarness h(seam);
        OSAGO_STEP(h.openEditor(kIssueDate));
        const TypedDriver first = someone(QStringLiteral("Первый"), QStringLiteral("15.03.1990"));
        const TypedDriver second{QStringLiteral("Второй Водитель"), QStringLiteral("15.03.1990"), QStringLiteral("М"),
                                 QStringLiteral("Озёрск"), QStringLiteral("ZX9876543203.04.2009"),
                                 QStringLiteral("2009"), QStringLiteral("7"), true, true};
        OSAGO_STEP(h.addOther(first));
        OSAGO_STEP(h.addOther(second));
        QCOMPARE(h.column(10), (QStringList{QStringLiteral("Да"), QStringLiteral("Да")}));

        // A day earlier both would be 21; only the entry stored again gets a new flag.
        OSAGO_STEP(h.typeInEditor("LabeledEditVydan", QStringLiteral("14.03.2012")));
        OSAGO_STEP(h.goToPageOf(&h.page));
        OSAGO_STEP(h.selectLine(1));
        OSAGO_STEP(h.openDialogBy("ButtonIzmen"));
        QVERIFY(h.inDialog("ButtonOk")->isHidden());
        QVERIFY(!h.inDialog("ButtonSoxran")->isHidden());
        QCOMPARE(h.inDialog<QLineEdit>("LabeledEditFIO")->text(), second.name);
        QCOMPARE(h.inDialog<MaskedEdit>("LabeledEditDR")->maskedText(), second.birthDate);
        QCOMPARE(h.inDialog<QComboBox>("ComboBoxPol")->currentText(), second.sex);
        QCOMPARE(h.inDialog<QLineEdit>("LabeledEditAdres")->text(), second.address);
        const QString permitText = QStringLiteral("ZX98765432  03.04.2009");
        QCOMPARE(h.inDialog<MaskedEdit>("LabeledEditVU")->maskedText(), permitText);
        QCOMPARE(h.inDialog<QLineEdit>("LabeledEditStazh")->text(), second.experience);
        QCOMPARE(h.inDialog<QComboBox>("ComboBoxKlass")->currentText(), second.driverClass);
        QVERIFY(h.inDialog<QCheckBox>("CheckBox2g")->isChecked());
        QVERIFY(h.inDialog<QCheckBox>("CheckBoxGrub")->isChecked());

        OSAGO_STEP(h.pick(h.inDialog<QComboBox>("ComboBoxPol"), QStringLiteral("Ж")));
        h.click(h.inDialog("ButtonSoxran"));
        QTRY_VERIFY(!h.dialog.isVisible());
        QVERIFY(h.editor.isEnabled());
        QCOMPARE(h.listLines(), (QStringList{first.name, second.name}));
        QCOMPARE(h.column(3), (QStringList{QStringLiteral("М"), QStringLiteral("Ж")}));
        QCOMPARE(h.column(5), (QStringList{kEmptyPermit, permitText}));
        QCOMPARE(h.column(8), (QStringList{QStringLiteral("Нет"), QStringLiteral("Да")}));
        QCOMPARE(h.column(10), (QStringList{QStringLiteral("Да"), QStringLiteral("Нет")}));
        OSAGO_VERIFY_MESSAGES(seam);
    }

    void cancelInChangeModeLeavesTheEntry_data()
    {
        QTest::addColumn<bool>("byWindowSystem");
        QTest::newRow("Отмена") << false;
        QTest::newRow("the window system's close") << true;
    }
    void cancelInChangeModeLeavesTheEntry()
    {
        QFETCH(bool, byWindowSystem);
        ScriptedMessages seam;
        DriversHarness h(seam);
        OSAGO_STEP(h.openEditor(kIssueDate));
        OSAGO_STEP(h.addOther(someone(QStringLiteral("Прежнее имя"), QStringLiteral("01.01.1980"))));
        const QList<QStringList> before = h.allColumns();
        OSAGO_STEP(h.selectLine(0));
        OSAGO_STEP(h.openDialogBy("ButtonIzmen"));
        h.type(h.inDialog("LabeledEditFIO"), QStringLiteral("Новое имя"));
        h.click(h.inDialog<QCheckBox>("CheckBoxGrub"));
        if (byWindowSystem)
            h.dialog.windowHandle()->close();
        else
            h.click(h.inDialog("ButtonCancel"));
        QTRY_VERIFY(!h.dialog.isVisible());
        QCOMPARE(h.allColumns(), before);
        QVERIFY(h.editor.isEnabled());
        OSAGO_STEP(verifyEmptyInAddMode(h));
        OSAGO_VERIFY_MESSAGES(seam);
    }

    void addOtherAfterAChangeOpensEmptyInAddMode_data()
    {
        QTest::addColumn<QByteArray>("wayOut");
        QTest::newRow("after Отмена") << QByteArray("ButtonCancel");
        QTest::newRow("after Сохранить") << QByteArray("ButtonSoxran");
    }
    void addOtherAfterAChangeOpensEmptyInAddMode()
    {
        QFETCH(QByteArray, wayOut);
        ScriptedMessages seam;
        DriversHarness h(seam);
        OSAGO_STEP(h.openEditor(kIssueDate));
        OSAGO_STEP(h.addOther({QStringLiteral("Кто-то"), QStringLiteral("01.01.1980"), QStringLiteral("Ж"),
                               QStringLiteral("Тальград"), QStringLiteral("AB1234567801.02.2008"),
                               QStringLiteral("2008"), QStringLiteral("9"), true, true}));
        OSAGO_STEP(h.selectLine(0));
        OSAGO_STEP(h.openDialogBy("ButtonIzmen"));
        h.click(h.inDialog(wayOut.constData()));
        QTRY_VERIFY(!h.dialog.isVisible());

        OSAGO_STEP(h.openDialogBy("ButtonDobD"));
        OSAGO_STEP(verifyEmptyInAddMode(h));
        QCOMPARE(h.listLines().size(), 1);
        OSAGO_VERIFY_MESSAGES(seam);
    }

    // The age rule reads day and month with their leading blanks skipped, so a one-digit day or month typed
    // for a driver exactly 22 years older than the issue year gives a flag.
    void typedDatesTakeTheirBlanksInFront_data()
    {
        QTest::addColumn<QString>("birthDate");
        QTest::addColumn<QString>("permit");
        QTest::addColumn<QString>("storedBirthDate");
        QTest::addColumn<QString>("storedPermit");
        QTest::addColumn<QString>("ageFlag");
        QTest::newRow("birthday before the issue day") << "5.3.1990" << "AB123456781.2.2008" << " 5. 3.1990"
                                                       << "AB12345678   1. 2.2008" << "Да";
        QTest::newRow("birthday after the issue day") << "20.3.1990" << QString() << "20. 3.1990" << kEmptyPermit
                                                      << "Нет";
        QTest::newRow("birthday in a later month") << "1.4.1990" << QString() << " 1. 4.1990" << kEmptyPermit << "Нет";
    }
    void typedDatesTakeTheirBlanksInFront()
    {
        QFETCH(QString, birthDate);
        QFETCH(QString, permit);
        QFETCH(QString, storedBirthDate);
        QFETCH(QString, storedPermit);
        QFETCH(QString, ageFlag);
        ScriptedMessages seam;
        DriversHarness h(seam);
        OSAGO_STEP(h.openEditor(kIssueDate));
        TypedDriver driver = someone(QStringLiteral("Водитель"), birthDate);
        driver.permit = permit;
        OSAGO_STEP(h.addOther(driver));
        QCOMPARE(h.column(2), QStringList{storedBirthDate});
        QCOMPARE(h.column(5), QStringList{storedPermit});
        QCOMPARE(h.column(10), QStringList{ageFlag});
        OSAGO_VERIFY_MESSAGES(seam);
        QVERIFY(seam.shownTexts().isEmpty());
    }

    void anIncompleteMaskedFieldCannotBeConfirmed_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("retyped");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("stored");
        QTest::newRow("birth date without its whole year")
            << QByteArray("LabeledEditDR") << "15.03.19" << "15.03.1980" << 2 << "15.03.1980";
        QTest::newRow("permit without its whole number")
            << QByteArray("LabeledEditVU") << "AB123" << "AB12345678" << 5 << "AB12345678    .  .    ";
    }
    void anIncompleteMaskedFieldCannotBeConfirmed()
    {
        QFETCH(QByteArray, field);
        QFETCH(QString, typed);
        QFETCH(QString, retyped);
        QFETCH(int, column);
        QFETCH(QString, stored);
        ScriptedMessages seam;
        DriversHarness h(seam);
        OSAGO_STEP(h.openEditor(kIssueDate));
        OSAGO_STEP(h.openDialogBy("ButtonDobD"));
        OSAGO_STEP(h.fillDialog(someone(QStringLiteral("Водитель"), QStringLiteral("01.01.1980"))));
        h.type(h.inDialog(field.constData()), typed);
        h.click(h.inDialog("ButtonOk"));

        QCOMPARE(seam.shownTexts(), QStringList{MaskedEdit::kInvalidInputMessage});
        QVERIFY(h.dialog.isVisible());
        QVERIFY(h.listLines().isEmpty());
        QVERIFY(h.column(1).isEmpty());
        QTRY_COMPARE(QApplication::focusWidget(), h.inDialog(field.constData()));

        // Once the field is complete the driver is added.
        h.type(h.inDialog(field.constData()), retyped);
        h.click(h.inDialog("ButtonOk"));
        QTRY_VERIFY(!h.dialog.isVisible());
        QCOMPARE(h.listLines(), QStringList{QStringLiteral("Водитель")});
        QCOMPARE(h.column(column), QStringList{stored});
        OSAGO_VERIFY_MESSAGES(seam);
    }
};

QTEST_MAIN(DriverDialogTest)
#include "DriverDialogTest.moc"
