#include "app/AgentSettings.h"
#include "widgets/MaskedEdit.h"
#include "RegisterTestSupport.h"

#include <QComboBox>
#include <QRegularExpression>

using namespace osago;
using namespace osago::test;

Q_DECLARE_METATYPE(osago::test::RecordShape)

namespace {

const QString kAgent = QStringLiteral("Петрова А. В.");

QStringList itemsOf(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

} // namespace

// Saving the editor's record, and opening a stored one again for change or as a copy.
class RecordSaveTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { useTestSettings("test_record_save"); }

    void init()
    {
        QSettings().clear();
        AgentSettings{kAgent, QStringLiteral("Страховщик")}.save();
    }

    void savedRecordAppearsInTheGridAndTheEditorCloses()
    {
        TestProgram t;
        t.trigger("N2");
        setControlText(t.editor(), QStringLiteral("LabeledEditFamil"), QStringLiteral("Сидоров"));
        saveFromEditor(t.editor());

        QVERIFY(!t.editor().isVisible());
        QVERIFY(t.main().isEnabled());
        QCOMPARE(t.model().rowCount(), 1);
        const QModelIndex surname = t.model().index(0, policyColumnIndex(u"Страхователь_фамилия_фирма"));
        QCOMPARE(t.model().data(surname).toString(), QStringLiteral("Сидоров"));
        QCOMPARE(t.main().grid().selectedSourceRow(), 0);
        QCOMPARE(rowsOnDisk(t.location).size(), 1);
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void everyColumnSurvivesSavingLoadingAndSavingAgain_data()
    {
        QTest::addColumn<RecordShape>("shape");
        QTest::newRow("persons, six drivers, a truck") << RecordShape{true, false, false, 6, false, "Грузовой автомобиль"};
        QTest::newRow("firms, registered abroad, any driver, a bus") << RecordShape{false, true, true, 0, true, "Автобус"};
        QTest::newRow("a firm insures a person's car, one driver") << RecordShape{true, true, false, 1, false};
    }

    void everyColumnSurvivesSavingLoadingAndSavingAgain()
    {
        QFETCH(RecordShape, shape);
        TestProgram t;
        const PolicyRow entered = distinctiveRow(shape, kAgent);

        t.trigger("N2");
        enterRow(t.editor(), entered);
        saveFromEditor(t.editor());
        QCOMPARE(t.model().rowCount(), 1);
        const PolicyRow saved = t.storedRow(0);
        compareRows(saved, entered, false);
        QVERIFY(QRegularExpression(QStringLiteral("^[0-9a-f]{32}$")).match(saved.code()).hasMatch());

        t.selectRow(0);
        t.trigger("N3");
        QVERIFY(t.editor().isVisible());
        QCOMPARE(t.editor().windowTitle(), QStringLiteral("Редактирование записи"));
        saveFromEditor(t.editor());

        QVERIFY(!t.editor().isVisible());
        const QList<PolicyRow> onDisk = rowsOnDisk(t.location);
        QCOMPARE(onDisk.size(), 1);
        compareRows(onDisk.first(), saved, true);
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    // The driver dialog's class and experience mark land in the columns named for them.
    void driverEnteredInTheDialogIsSavedUnderItsColumns()
    {
        TestProgram t;
        t.trigger("N2");
        setControlText(t.editor(), QStringLiteral("LabeledEditVydan"), QStringLiteral("15.01.2024"));
        clickButton(t.editor(), "ButtonDobD");
        QWidget* dialog = topLevelNamed(QStringLiteral("FormPlus"));
        QVERIFY(dialog && dialog->isVisible());
        setControlText(*dialog, QStringLiteral("LabeledEditFIO"), QStringLiteral("Орлов Олег"));
        setControlText(*dialog, QStringLiteral("LabeledEditDR"), QStringLiteral("02.02.1980"));
        setControlText(*dialog, QStringLiteral("ComboBoxKlass"), QStringLiteral("11"));
        control<QCheckBox>(*dialog, QStringLiteral("CheckBox2g"))->setChecked(true);
        clickButton(*dialog, "ButtonOk");
        QTRY_VERIFY(!dialog->isVisible());
        saveFromEditor(t.editor());

        QCOMPARE(t.model().rowCount(), 1);
        const PolicyRow saved = t.storedRow(0);
        QCOMPARE(saved.value(u"Допущен_ФИО_1"), QStringLiteral("Орлов Олег"));
        QCOMPARE(saved.value(u"Допущен_дата_рождения_1"), QStringLiteral("02.02.1980"));
        QCOMPARE(saved.value(u"Допущен_класс_1"), QStringLiteral("11"));
        QCOMPARE(saved.value(u"Доп_cтаж_более_2_1"), QStringLiteral("Да"));
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void loadedPeriodOfUseOutlivesTheInsurancePeriodRule_data()
    {
        QTest::addColumn<QString>("months");
        QTest::addColumn<bool>("entered");
        QTest::newRow("seven months: entered by the agent") << "7" << true;
        QTest::newRow("a full year: follows the insurance") << "12" << false;
    }

    void loadedPeriodOfUseOutlivesTheInsurancePeriodRule()
    {
        QFETCH(QString, months);
        QFETCH(bool, entered);
        TestProgram t;
        PolicyRow row = distinctiveRow({}, kAgent);
        row.setValue(u"Срок_использ_месяцы", months);
        QVERIFY(t.program.database().insert(row).ok);
        t.model().refresh();

        t.selectRow(0);
        t.trigger("N3");
        QCOMPARE(controlText(t.editor(), QStringLiteral("ComboBoxSrok")), months);
        QCOMPARE(controlText(t.editor(), QStringLiteral("EditS")), row.value(u"Страх_с"));
        QCOMPARE(controlText(t.editor(), QStringLiteral("EditIS")), row.value(u"Использ_с"));
        QCOMPARE(controlText(t.editor(), QStringLiteral("EditIPo")), row.value(u"Использ_по"));
        QCOMPARE(control<QWidget>(t.editor(), QStringLiteral("EditIS"))->isEnabled(), entered);
        QCOMPARE(control<QWidget>(t.editor(), QStringLiteral("EditIPo"))->isEnabled(), entered);
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void loadedLocalityOutlivesTheRegionRule_data()
    {
        QTest::addColumn<QString>("region");
        QTest::addColumn<QString>("locality");
        QTest::addColumn<int>("offered");
        QTest::newRow("home region, not its capital") << "Тальградская область" << "Лиски" << 19;
        QTest::newRow("another region") << "Московская обл." << "Химки" << 0;
    }

    void loadedLocalityOutlivesTheRegionRule()
    {
        QFETCH(QString, region);
        QFETCH(QString, locality);
        QFETCH(int, offered);
        TestProgram t;
        PolicyRow row = distinctiveRow({}, kAgent);
        row.setValue(u"Страхователь_регион", region);
        row.setValue(u"Страхователь_насел_пункт", locality);
        row.setValue(u"Владелец_регион", region);
        row.setValue(u"Владелец_насел_пункт", locality);
        QVERIFY(t.program.database().insert(row).ok);
        t.model().refresh();

        t.selectRow(0);
        t.trigger("N3");
        for (const char* name : {"ComboBoxNasel", "ComboBoxPunkt"}) {
            auto* box = control<QComboBox>(t.editor(), QString::fromLatin1(name));
            QCOMPARE(box->currentText(), locality);
            QCOMPARE(box->count(), offered);
            QCOMPARE(itemsOf(box).contains(locality), offered > 0);
        }
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void changeWritesOverItsRowAndNeverAddsOne()
    {
        TestProgram t;
        for (const char* surname : {"Первый", "Второй", "Третий"}) {
            PolicyRow row;
            row.setValue(u"Страхователь_фамилия_фирма", QString::fromUtf8(surname));
            row.setValue(u"Дата_выдачи", QStringLiteral("15.01.2024"));
            QVERIFY(t.program.database().insert(row).ok);
        }
        t.model().refresh();
        const QString code = t.model().codeAt(1);

        t.selectRow(1);
        t.trigger("N3");
        QCOMPARE(controlText(t.editor(), QStringLiteral("LabeledEditFamil")), QStringLiteral("Второй"));
        setControlText(t.editor(), QStringLiteral("LabeledEditFamil"), QStringLiteral("Изменённый"));
        saveFromEditor(t.editor());

        QCOMPARE(t.model().rowCount(), 3);
        QCOMPARE(t.model().codeAt(1), code);
        QCOMPARE(t.storedRow(1).value(u"Страхователь_фамилия_фирма"), QStringLiteral("Изменённый"));
        QCOMPARE(t.storedRow(0).value(u"Страхователь_фамилия_фирма"), QStringLiteral("Первый"));
        QCOMPARE(t.storedRow(2).value(u"Страхователь_фамилия_фирма"), QStringLiteral("Третий"));
        QCOMPARE(t.main().grid().selectedSourceRow(), 1);

        // The next record opened by "Создать..." is a new one again.
        t.trigger("N2");
        QCOMPARE(t.editor().recordMode(), PolicyEditor::RecordMode::New);
        saveFromEditor(t.editor());
        QCOMPARE(t.model().rowCount(), 4);
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void copyAddsARowUnderANewCode()
    {
        TestProgram t;
        const PolicyRow original = distinctiveRow({true, false, false, 2, false}, kAgent);
        QVERIFY(t.program.database().insert(original).ok);
        t.model().refresh();
        const PolicyRow stored = t.storedRow(0);

        t.selectRow(0);
        t.trigger("N15");
        QCOMPARE(t.editor().windowTitle(), QStringLiteral("Создание записи"));
        saveFromEditor(t.editor());

        QCOMPARE(t.model().rowCount(), 2);
        const PolicyRow copy = t.storedRow(1);
        QVERIFY(copy.code() != stored.code());
        // A copy is a new policy on new blanks: its blank fields are left as the editor's masks leave them empty.
        PolicyRow expected = stored;
        for (const auto& [field, column] : {std::pair{"LabeledEditPolis", u"Номер_серия_полиса"},
                                            std::pair{"LabeledEditKvit", u"Квитанция"},
                                            std::pair{"LabeledEditZnak", u"Номер_серия_спец_знака"}})
            expected.setValue(column, control<MaskedEdit>(t.editor(), QString::fromLatin1(field))->emptyText());
        QVERIFY(expected.value(u"Квитанция") != stored.value(u"Квитанция"));
        compareRows(copy, expected, false);
        compareRows(t.storedRow(0), stored, true);
        QCOMPARE(t.main().grid().selectedSourceRow(), 1);
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void savedRecordCarriesTheAgentOfTheSettings()
    {
        TestProgram t;
        AgentSettings{QStringLiteral("Иванова"), {}}.save();
        PolicyRow row;
        row.setValue(u"ФИО_агента", QStringLiteral("Прежний агент"));
        QVERIFY(t.program.database().insert(row).ok);
        t.model().refresh();

        t.selectRow(0);
        t.trigger("N3");
        saveFromEditor(t.editor());
        QCOMPARE(t.storedRow(0).value(u"ФИО_агента"), QStringLiteral("Иванова"));
        OSAGO_VERIFY_MESSAGES(t.seam);
    }
};

QTEST_MAIN(RecordSaveTest)
#include "RecordSaveTest.moc"
