#include "drivers/DriversPage.h"
#include "EditorTestSupport.h"
#include "drivers/DriverDialog.h"
#include "app/Program.h"
#include "editor/ResultsPage.h"
#include "tariff/calc/CalcCommand.h"

#include <QBuffer>
#include <QCheckBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <memory>

using namespace osago;
using osago::test::Editor;
using osago::test::EditorTestCase;

namespace {

const QString kResultsPage = QStringLiteral("TabSheetRez");

const QStringList kFactorFields = {
    QStringLiteral("LabeledEditTB"), QStringLiteral("LabeledEditKT"), QStringLiteral("LabeledEditKBM"),
    QStringLiteral("LabeledEditKVS"), QStringLiteral("LabeledEditKO"), QStringLiteral("LabeledEditKM"),
    QStringLiteral("LabeledEditKS"), QStringLiteral("LabeledEditKP"), QStringLiteral("LabeledEditKN"),
};

DriverEntry driver(const QString& birthDate, const QString& driverClass, const QString& experienceFlag)
{
    DriverEntry entry;
    entry.fullName = QStringLiteral("Иванов Иван Иванович");
    entry.birthDate = birthDate;
    entry.driverClass = driverClass;
    entry.experienceFlag = experienceFlag;
    entry.grossFlag = kNo.toString();
    return entry;
}

} // namespace

class PremiumCalculationTest : public EditorTestCase
{
    Q_OBJECT

    // Factor texts and the premium, in the order of the results page.
    QStringList results()
    {
        QStringList texts;
        for (const QString& name : kFactorFields)
            texts << editor().text(name);
        return texts << editor().text(QStringLiteral("LabeledEditSuma"));
    }

    bool checked(const char* name) { return editor().get<QCheckBox>(QString::fromUtf8(name))->isChecked(); }

    // A passenger car of a person living in the home region, as a new record starts it.
    void prepareHomeOwner(const QString& locality)
    {
        editor().write(QStringLiteral("ComboBoxReg"), QStringLiteral("Тальградская область"));
        editor().write(QStringLiteral("ComboBoxPunkt"), locality);
        editor().write(QStringLiteral("ComboBoxStran"), QStringLiteral("РФ"));
        editor().write(QStringLiteral("LabeledEditVydan"), QStringLiteral("01.06.2024"));
    }

    void calculate()
    {
        editor().walkTo(5);
        editor().click(QStringLiteral("ButtonSumma"));
    }

    // Class "M" gives the malus; the young driver with short experience gives "1,3"; 40 hp, nine months.
    void enterWorkedExample()
    {
        prepareHomeOwner(QStringLiteral("Анна"));
        DriversPage& drivers = editor().form.driversPage();
        QVERIFY(drivers.appendEntry(driver(QStringLiteral("15.03.1970"), QStringLiteral("M"), kYes.toString())));
        QVERIFY(drivers.appendEntry(driver(QStringLiteral("20.08.2003"), QStringLiteral("5"), kNo.toString())));
        editor().walkTo(3);
        editor().retypeField(QStringLiteral("LabeledEditMoshn"), QStringLiteral("40"));
        editor().walkTo(0);
        QVERIFY(osago::test::pickItem(editor().get<QComboBox>(QStringLiteral("ComboBoxSrok")), QStringLiteral("9")));
    }

private slots:
    void workedExampleRoundsTheLastHalfToEven()
    {
        enterWorkedExample();
        calculate();

        const QStringList expected = {
            QStringLiteral("1980"), QStringLiteral("0,5"),  QStringLiteral("2,45"), QStringLiteral("1,3"),
            QStringLiteral("1"),    QStringLiteral("0,5"),  QStringLiteral("0,95"), QStringLiteral("-"),
            QStringLiteral("1"),    QStringLiteral("1497,7462"),
        };
        QCOMPARE(results(), expected);
        QCOMPARE(editor().text(QStringLiteral("EditRaschetGruz")), QStringLiteral("0"));
        QCOMPARE(editor().text(QStringLiteral("Edit1")), QStringLiteral("M"));
        QVERIFY(checked("CheckBox2"));
        QVERIFY(checked("CheckBox22"));
        QVERIFY(!checked("CheckBoxGrubOK"));
        QVERIFY(editor().seam.shown().isEmpty());

        editor().click(QStringLiteral("ButtonSumma"));
        QCOMPARE(results(), expected);
    }

    void editorAndCommandLineAgree()
    {
        QBuffer request;
        request.setData(QStringLiteral(R"({
            "controls": {"ComboBoxPunkt": "Анна", "LabeledEditMoshn": "40", "ComboBoxSrok": "9",
                         "LabeledEditVydan": "01.06.2024"},
            "drivers": [{"ComboBox2": "15.03.1970", "ComboBox7": "M", "ComboBox8": "Да", "ComboBox9": "Нет"},
                        {"ComboBox2": "20.08.2003", "ComboBox7": "5", "ComboBox8": "Нет", "ComboBox9": "Нет"}]
        })").toUtf8());
        QBuffer output;
        QBuffer errors;
        QVERIFY(request.open(QIODevice::ReadOnly));
        QVERIFY(output.open(QIODevice::WriteOnly));
        QVERIFY(errors.open(QIODevice::WriteOnly));
        QCOMPARE(runCalcCommand({}, request, output, errors), 0);
        const QJsonObject report = QJsonDocument::fromJson(output.data()).object();
        QCOMPARE(report.value(QStringLiteral("LabeledEditSuma")).toString(), QStringLiteral("1497,7462"));

        enterWorkedExample();
        calculate();

        for (auto it = report.begin(); it != report.end(); ++it) {
            if (it.key() == QStringLiteral("error"))
                QVERIFY(it.value().isNull());
            else if (it.value().isBool())
                QCOMPARE(editor().get<QCheckBox>(it.key())->isChecked(), it.value().toBool());
            else
                QCOMPARE(editor().text(it.key()), it.value().toString());
        }
    }

    void unrestrictedDriversReadTheDriversPage()
    {
        prepareHomeOwner(QStringLiteral("Тальград"));
        editor().walkTo(4);
        editor().click(QStringLiteral("CheckBoxDopusk"));
        QVERIFY(osago::test::pickItem(editor().get<QComboBox>(QStringLiteral("ComboBoxKlass")), QStringLiteral("M")));
        editor().click(QStringLiteral("CheckBoxGrub"));

        calculate();

        QCOMPARE(editor().text(QStringLiteral("LabeledEditKT")), QStringLiteral("1,3"));
        QCOMPARE(editor().text(QStringLiteral("LabeledEditKBM")), QStringLiteral("2,45"));
        QCOMPARE(editor().text(QStringLiteral("LabeledEditKVS")), QStringLiteral("1"));
        QCOMPARE(editor().text(QStringLiteral("LabeledEditKO")), QStringLiteral("1,5"));
        QCOMPARE(editor().text(QStringLiteral("LabeledEditKN")), QStringLiteral("1,5"));
    }

    // The driver dialog has a class and a violations mark of the same names in its own window.
    void unrestrictedDriversAreNotReadFromTheDriverDialog()
    {
        osago::test::ScriptedMessages seam;
        QTemporaryDir folder;
        Program program(seam, {folder.filePath(QStringLiteral("Baza.mdb"))});
        PolicyEditor& form = program.policyEditor();
        setControlText(program.driverDialog(), QStringLiteral("ComboBoxKlass"), QStringLiteral("13"));
        control<QCheckBox>(program.driverDialog(), QStringLiteral("CheckBoxGrub"))->setChecked(true);
        control<QCheckBox>(form, QStringLiteral("CheckBoxDopusk"))->setChecked(true);
        setControlText(form, QStringLiteral("ComboBoxKlass"), QStringLiteral("M"));

        control<QPushButton>(form, QStringLiteral("ButtonSumma"))->click();

        QCOMPARE(controlText(form, QStringLiteral("LabeledEditKBM")), QStringLiteral("2,45"));
        QCOMPARE(controlText(form, QStringLiteral("LabeledEditKN")), QStringLiteral("1"));
        OSAGO_VERIFY_MESSAGES(seam);
    }

    void vehicleRegisteredAbroadTakesTheTerm()
    {
        prepareHomeOwner(QStringLiteral("Тальград"));
        editor().click(QStringLiteral("CheckBoxReg"));
        QVERIFY(osago::test::pickItem(editor().get<QComboBox>(QStringLiteral("ComboBoxTranzit")),
                                      QStringLiteral("3")));

        calculate();

        QCOMPARE(editor().text(QStringLiteral("LabeledEditKT")), QStringLiteral("2"));
        QCOMPARE(editor().text(QStringLiteral("LabeledEditKBM")), QStringLiteral("-"));
        QCOMPARE(editor().text(QStringLiteral("LabeledEditKS")), QStringLiteral("-"));
        QCOMPARE(editor().text(QStringLiteral("LabeledEditKP")), QStringLiteral("0,5"));
    }

    void truckWithEmptiedMassStopsAtTheBaseTariff()
    {
        prepareHomeOwner(QStringLiteral("Лиски"));
        editor().walkTo(3);
        QVERIFY(osago::test::pickItem(editor().get<QComboBox>(QStringLiteral("ComboBoxTipTS")),
                                      QStringLiteral("Грузовой автомобиль")));
        editor().retypeField(QStringLiteral("LabeledEditMassa"), QStringLiteral("16001"));
        calculate();
        QCOMPARE(editor().text(QStringLiteral("LabeledEditTB")), QStringLiteral("3240"));
        QCOMPARE(editor().text(QStringLiteral("EditRaschetGruz")), QStringLiteral("1"));
        QStringList before = results();

        editor().walkTo(3);
        editor().retypeField(QStringLiteral("LabeledEditMassa"), QString());
        calculate();

        QCOMPARE(editor().seam.shownTexts(), QStringList{QStringLiteral("'' is not a valid integer value")});
        QCOMPARE(editor().seam.shown().first().title, kProgramTitle);
        QCOMPARE(editor().seam.shown().first().icon, Messages::Icon::Critical);
        before[0] = QStringLiteral("?");
        QCOMPARE(results(), before);
        QCOMPARE(editor().text(QStringLiteral("EditRaschetGruz")), QStringLiteral("1"));
    }

    void pointInTypedTerritoryFactorStopsThePremium()
    {
        editor().write(QStringLiteral("ComboBoxReg"), QStringLiteral("Московская обл."));
        editor().walkTo(3);
        editor().retypeField(QStringLiteral("LabeledEditMoshn"), QStringLiteral("120"));
        editor().walkTo(5);
        editor().retypeField(QStringLiteral("LabeledEditKT"), QStringLiteral("1,5"));
        calculate();
        QCOMPARE(editor().text(QStringLiteral("LabeledEditKT")), QStringLiteral("1,5"));
        QCOMPARE(editor().text(QStringLiteral("LabeledEditKM")), QStringLiteral("1,3"));
        const QString premium = editor().text(QStringLiteral("LabeledEditSuma"));
        // ТБ 1980, the typed КТ 1,5, КБМ 0,5 (no driver listed), КМ 1,3, every other factor 1 or "-".
        QCOMPARE(premium, QStringLiteral("1930,5"));

        editor().walkTo(3);
        editor().retypeField(QStringLiteral("LabeledEditMoshn"), QStringLiteral("40"));
        editor().walkTo(5);
        editor().retypeField(QStringLiteral("LabeledEditKT"), QStringLiteral("1.5"));
        calculate();

        QCOMPARE(editor().seam.shownTexts(), QStringList{QStringLiteral("'1.5' is not a valid floating point value")});
        QCOMPARE(editor().text(QStringLiteral("LabeledEditKT")), QStringLiteral("1.5"));
        QCOMPARE(editor().text(QStringLiteral("LabeledEditKM")), QStringLiteral("0,5"));
        QCOMPARE(editor().text(QStringLiteral("LabeledEditSuma")), premium);
    }

    void emptyPowerIsWrittenZero_data()
    {
        QTest::addColumn<QString>("kilowatts");
        QTest::addColumn<bool>("equalsEnabled");
        QTest::newRow("no kilowatts") << QString() << true;
        QTest::newRow("kilowatts given") << QStringLiteral("30") << false;
    }
    void emptyPowerIsWrittenZero()
    {
        QFETCH(QString, kilowatts);
        QFETCH(bool, equalsEnabled);
        prepareHomeOwner(QStringLiteral("Тальград"));
        editor().walkTo(3);
        editor().retypeField(QStringLiteral("LabeledEditKVt"), kilowatts);
        QCOMPARE(editor().get(QStringLiteral("ButtonRavno"))->isEnabled(), !kilowatts.isEmpty());

        calculate();

        QCOMPARE(editor().text(QStringLiteral("LabeledEditMoshn")), QStringLiteral("0"));
        QCOMPARE(editor().text(QStringLiteral("LabeledEditKM")), QStringLiteral("0,5"));
        QCOMPARE(editor().get(QStringLiteral("ButtonRavno"))->isEnabled(), equalsEnabled);
    }

    void printingCalculatesFirst()
    {
        prepareHomeOwner(QStringLiteral("Тальград"));
        QSignalSpy printing(editor().get<ResultsPage>(kResultsPage), &ResultsPage::printRequested);
        editor().walkTo(5);
        editor().click(QStringLiteral("ButtonZPr"));
        QCOMPARE(printing.count(), 1);
        QCOMPARE(editor().text(QStringLiteral("LabeledEditTB")), QStringLiteral("1980"));
        QVERIFY(!editor().text(QStringLiteral("LabeledEditSuma")).isEmpty());
    }

    void stoppedCalculationPrintsNothing()
    {
        prepareHomeOwner(QStringLiteral("Тальград"));
        editor().walkTo(3);
        editor().retypeField(QStringLiteral("LabeledEditMoshn"), QStringLiteral("4.0"));
        QSignalSpy printing(editor().get<ResultsPage>(kResultsPage), &ResultsPage::printRequested);
        editor().walkTo(5);
        editor().click(QStringLiteral("ButtonZPr"));
        QCOMPARE(editor().seam.shownTexts(), QStringList{QStringLiteral("'4.0' is not a valid floating point value")});
        QCOMPARE(printing.count(), 0);
        QCOMPARE(editor().text(QStringLiteral("LabeledEditKM")), QStringLiteral("?"));
    }

    void factorFieldsShowTheirHintsInTheEditor()
    {
        editor().walkTo(5);
        auto* field = editor().get<QLineEdit>(QStringLiteral("LabeledEditKM"));
        // The offscreen platform gives the pointer to the first window under it, not the topmost.
        editor().mainWindow.hide();
        osago::test::hover(field);
        QTRY_COMPARE(field->toolTip(), QStringLiteral("Коэффициент мощности двигателя"));
    }
};

QTEST_MAIN(PremiumCalculationTest)
#include "PremiumCalculationTest.moc"
