#include "EditorTestSupport.h"

#include <QCheckBox>
#include <QRadioButton>

#include <memory>

using namespace osago;
using namespace osago::test;

namespace {

const QString kCancel = QStringLiteral("ButtonNo");
const QString kClose = QStringLiteral("ButtonClose");
const QString kSave = QStringLiteral("ButtonSave");
const QString kQuestion = QStringLiteral("Confirm: Выйти без сохранения?");

} // namespace

class EditorResetTest : public EditorTestCase
{
    Q_OBJECT

    void cancelWith(bool yes)
    {
        editor().seam.answerNext(yes);
        editor().click(kCancel);
    }

private slots:
    void showingDisablesTheMainWindow()
    {
        QVERIFY(!editor().mainWindow.isEnabled());
        editor().form.closeRecord();
        QVERIFY(editor().mainWindow.isEnabled());
        editor().form.show();
        QVERIFY(!editor().mainWindow.isEnabled());
    }

    void cancelAnsweredNoKeepsEverything()
    {
        editor().walkTo(2);
        editor().retypeField(QStringLiteral("LabeledEditF"), QStringLiteral("Сидоров"));
        cancelWith(false);
        QCOMPARE(editor().seam.questions(), QStringList{kQuestion});
        QVERIFY(editor().form.isVisible());
        QVERIFY(!editor().mainWindow.isEnabled());
        QCOMPARE(editor().pages()->currentIndex(), 2);
        QCOMPARE(editor().text(QStringLiteral("LabeledEditF")), QStringLiteral("Сидоров"));
        QVERIFY(editor().get(QStringLiteral("ButtonNaz"))->isEnabled());
    }

    void cancelAnsweredYesClosesAndResets()
    {
        editor().walkTo(2);
        editor().retypeField(QStringLiteral("LabeledEditF"), QStringLiteral("Сидоров"));
        cancelWith(true);
        QCOMPARE(editor().seam.questions(), QStringList{kQuestion});
        QVERIFY(!editor().form.isVisible());
        QVERIFY(editor().mainWindow.isEnabled());
        QCOMPARE(editor().text(QStringLiteral("LabeledEditF")), QString());
    }

    void closeButtonClosesWithoutAQuestion()
    {
        editor().get(kCancel)->hide();
        editor().get(kSave)->hide();
        editor().get(kClose)->show();
        editor().click(kClose);
        QVERIFY(editor().seam.questions().isEmpty());
        QVERIFY(!editor().form.isVisible());
        QVERIFY(editor().mainWindow.isEnabled());
        QVERIFY(editor().get(kClose)->isHidden());
        QVERIFY(!editor().get(kCancel)->isHidden());
        QVERIFY(!editor().get(kSave)->isHidden());
    }

    void reopensOnTheFirstPage()
    {
        editor().walkTo(5);
        QVERIFY(editor().get(kSave)->isEnabled());
        cancelWith(true);

        QVERIFY(editor().show());
        QCOMPARE(editor().pages()->currentIndex(), 0);
        QVERIFY(!editor().get(QStringLiteral("ButtonNaz"))->isEnabled());
        QVERIFY(editor().get(QStringLiteral("ButtonVper"))->isEnabled());
        QVERIFY(!editor().get(kSave)->isEnabled());
        QVERIFY(editor().pages()->hasFocus() || editor().pages()->isAncestorOf(QApplication::focusWidget()));
    }

    void clearedRegistrationIsRestored()
    {
        editor().typeDate(QStringLiteral("EditS"), QStringLiteral("01022024"));
        editor().click(QStringLiteral("CheckBoxReg"));
        editor().typeDate(QStringLiteral("EditPo"), QStringLiteral("15022024"));
        QVERIFY(!editor().get(QStringLiteral("ComboBoxTranzit"))->isHidden());
        cancelWith(true);

        QVERIFY(editor().get<QCheckBox>(QStringLiteral("CheckBoxReg"))->isChecked());
        QVERIFY(!editor().get(QStringLiteral("ComboBoxSrok"))->isHidden());
        QCOMPARE(editor().text(QStringLiteral("ComboBoxSrok")), QStringLiteral("12"));
        QVERIFY(editor().get(QStringLiteral("ComboBoxTranzit"))->isHidden());
        QCOMPARE(editor().text(QStringLiteral("ComboBoxTranzit")), QStringLiteral("15 дней"));
        for (const char* date : {"EditS", "EditPo", "EditIS", "EditIPo"})
            QCOMPARE(editor().text(QString::fromUtf8(date)), kEmptyDate);
        QVERIFY(!editor().get(QStringLiteral("EditIS"))->isEnabled());
        QVERIFY(!editor().get(QStringLiteral("EditIPo"))->isEnabled());

        // The next record's start date reaches the period of use again.
        editor().write(QStringLiteral("EditS"), QStringLiteral("20.02.2024"));
        QCOMPARE(editor().text(QStringLiteral("EditIS")), QStringLiteral("20.02.2024"));
    }

    void openedPeriodOfUseIsClosedAgain()
    {
        QVERIFY(pickItem(editor().get<QComboBox>(QStringLiteral("ComboBoxSrok")), QStringLiteral("7")));
        editor().typeDate(QStringLiteral("EditIS"), QStringLiteral("01032024"));
        cancelWith(true);
        QCOMPARE(editor().text(QStringLiteral("ComboBoxSrok")), QStringLiteral("12"));
        QCOMPARE(editor().text(QStringLiteral("EditIS")), kEmptyDate);
        QVERIFY(!editor().get(QStringLiteral("EditIS"))->isEnabled());
    }

    void typesBackToPersons()
    {
        editor().click(QStringLiteral("RadioButtonUr"));
        editor().click(QStringLiteral("RadioButtonU"));
        cancelWith(true);
        QVERIFY(editor().get<QRadioButton>(QStringLiteral("RadioButtonFiz"))->isChecked());
        QVERIFY(editor().get<QRadioButton>(QStringLiteral("RadioButtonF"))->isChecked());
    }

    void fieldsAfterClosing_data()
    {
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QString>("afterReset");
        const QString policy = "   №          ";
        QTest::newRow("LabeledEditPolis") << "ААА№0123456789" << policy;
        QTest::newRow("LabeledEditZnak") << "ВВВ№12" << policy;
        QTest::newRow("LabeledEditKvit") << "123456" << "      ";
        QTest::newRow("LabeledEditOtmet") << "повреждён бампер" << "";
        const char* const emptied[] = {"LabeledEditFamil", "LabeledEditImia", "LabeledEditOtch", "LabeledEditTel",
                                       "LabeledEditSerNo",  "EditRayon",       "EditUlitsa",      "LabeledEditF",
                                       "LabeledEditI",      "LabeledEditO",    "LabeledEditTelV", "LabeledEditSeriya",
                                       "EditRay",           "EditUlica"};
        for (const char* name : emptied)
            QTest::newRow(name) << "Текст" << "";
        QTest::newRow("LabeledEditDR") << "12.03.1980" << kEmptyDate;
        QTest::newRow("LabeledEditDeR") << "12.03.1980" << kEmptyDate;
        QTest::newRow("ComboBoxDoc") << "Военный билет" << "Паспорт РФ";
        QTest::newRow("ComboBoxPas") << "Иной документ" << "Паспорт РФ";
        QTest::newRow("LabeledEditIndex") << "101000" << "394000";
        QTest::newRow("LabeledEditIndeks") << "" << "394000";
        QTest::newRow("ComboBoxStrana") << "Украина" << "РФ";
        QTest::newRow("ComboBoxStran") << "Польша" << "РФ";
        QTest::newRow("ComboBoxRegion") << "Москва" << kHomeRegionText;
        QTest::newRow("ComboBoxReg") << "" << kHomeRegionText;
        QTest::newRow("ComboBoxNasel") << "Энск" << "Тальград";
        QTest::newRow("ComboBoxPunkt") << "" << "Тальград";
        // Set anew whenever a record is opened, so the reset leaves them.
        QTest::newRow("LabeledEditVrem") << "10:11:12" << "10:11:12";
        QTest::newRow("LabeledEditData") << "01.02.2024" << "01.02.2024";
        QTest::newRow("LabeledEditVydan") << "01.02.2024" << "01.02.2024";
    }

    void fieldsAfterClosing()
    {
        QFETCH(QString, changed);
        QFETCH(QString, afterReset);
        const QString name = QString::fromUtf8(QTest::currentDataTag());
        editor().write(name, changed);
        cancelWith(true);
        QCOMPARE(editor().text(name), afterReset);
    }

    // The reset writes the localities' texts but leaves their lists to the region rule.
    void localityListsKeptByTheReset()
    {
        editor().walkTo(1);
        QVERIFY(pickItem(editor().get<QComboBox>(QStringLiteral("ComboBoxRegion")), QStringLiteral("Москва")));
        editor().walkTo(2);
        QVERIFY(pickItem(editor().get<QComboBox>(QStringLiteral("ComboBoxReg")), kHomeRegionText));
        cancelWith(true);
        QCOMPARE(editor().get<QComboBox>(QStringLiteral("ComboBoxNasel"))->count(), 0);
        QCOMPARE(editor().get<QComboBox>(QStringLiteral("ComboBoxPunkt"))->count(), 19);
        QCOMPARE(editor().text(QStringLiteral("ComboBoxNasel")), QStringLiteral("Тальград"));
        QCOMPARE(editor().text(QStringLiteral("ComboBoxPunkt")), QStringLiteral("Тальград"));
    }
};

QTEST_MAIN(EditorResetTest)
#include "EditorResetTest.moc"
