#include "TariffTestSupport.h"

#include "tariff/calc/CalcCommand.h"
#include "tariff/calc/EditorInputControls.h"
#include "tariff/calc/HeadlessEditor.h"

#include <QBuffer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace {

const QDateTime fixedNow(QDate(2012, 3, 15), QTime(9, 5, 7));

struct CalcRun {
    int status = -1;
    QByteArray output;
    QByteArray errors;
};

CalcRun runCalc(const QByteArray& input, const QStringList& arguments = {})
{
    QBuffer in;
    in.setData(input);
    in.open(QIODevice::ReadOnly);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QBuffer err;
    err.open(QIODevice::WriteOnly);
    CalcRun run;
    run.status = osago::runCalcCommand(arguments, in, out, err, fixedNow);
    run.output = out.data();
    run.errors = err.data();
    return run;
}

QJsonObject reportOf(const CalcRun& run)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.output, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return {};
    return document.object();
}

// The report of a fresh record before any calculation.
QJsonObject untouchedReport()
{
    return QJsonObject{
        {"LabeledEditTB", "?"},     {"LabeledEditKT", "?"},    {"LabeledEditKBM", "?"}, {"LabeledEditKVS", "?"},
        {"LabeledEditKO", "?"},     {"LabeledEditKM", "?"},    {"LabeledEditKS", "?"},  {"LabeledEditKP", "?"},
        {"LabeledEditKN", "?"},     {"LabeledEditSuma", ""},   {"LabeledEditMoshn", ""}, {"EditRaschetGruz", ""},
        {"Edit1", ""},              {"CheckBox2", false},      {"CheckBox22", false},   {"CheckBoxGrubOK", false},
        {"error", QJsonValue::Null},
    };
}

QJsonObject withChanges(QJsonObject report, const QJsonObject& changes)
{
    for (auto it = changes.begin(); it != changes.end(); ++it)
        report.insert(it.key(), it.value());
    return report;
}

const QByteArray workedExample = R"({
  "controls": {"ComboBoxPunkt": "Анна", "LabeledEditMoshn": "40", "ComboBoxSrok": "9"},
  "drivers": [
    {"ComboBox1": "Иванов Иван Иванович", "ComboBox2": "01.01.1970", "ComboBox7": "M",
     "ComboBox8": "Да", "ComboBox9": "Нет", "ComboBox10": "Да"},
    {"ComboBox1": "Петров Пётр", "ComboBox2": "01.06.1991", "ComboBox7": "5",
     "ComboBox8": "Нет", "ComboBox9": "Нет"}
  ]
})";

} // namespace

class CalcCommandTest : public QObject {
    Q_OBJECT

private slots:
    void workedExample();
    void reports_data();
    void reports();
    void driverAgeFailureReportsInitialTexts();
    void unusableInput_data();
    void unusableInput();
    void readsFileArgument();
    void inputControlTable();
    void registrationRule();
    void periodOfUseFollowsInsuranceStart();
    void vinFillsChassisAndBody();
    void unlimitedDriversSwitch();
    void radioPairs();
};

void CalcCommandTest::workedExample()
{
    const CalcRun run = runCalc(::workedExample);
    QCOMPARE(run.status, 0);
    QCOMPARE(run.errors, QByteArray());
    const QJsonObject expected{
        {"LabeledEditTB", "1980"},  {"LabeledEditKT", "0,5"},    {"LabeledEditKBM", "2,45"},
        {"LabeledEditKVS", "1,3"},  {"LabeledEditKO", "1"},      {"LabeledEditKM", "0,5"},
        {"LabeledEditKS", "0,95"},  {"LabeledEditKP", "-"},      {"LabeledEditKN", "1"},
        {"LabeledEditSuma", "1497,7462"}, {"LabeledEditMoshn", "40"}, {"EditRaschetGruz", "0"},
        {"Edit1", "M"},             {"CheckBox2", true},         {"CheckBox22", true},
        {"CheckBoxGrubOK", false},  {"error", QJsonValue::Null},
    };
    QCOMPARE(reportOf(run), expected);
    QVERIFY(run.output.endsWith("}\n"));
}

void CalcCommandTest::reports_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QJsonObject>("changes"); // against the report of an untouched record

    // A fresh record: car in "Тальград", no drivers (worst class 13), power emptied to "0".
    const QJsonObject freshRecord{
        {"LabeledEditTB", "1980"}, {"LabeledEditKT", "1,3"}, {"LabeledEditKBM", "0,5"}, {"LabeledEditKVS", "1"},
        {"LabeledEditKO", "1"},    {"LabeledEditKM", "0,5"}, {"LabeledEditKS", "1"},    {"LabeledEditKP", "-"},
        {"LabeledEditKN", "1"},    {"LabeledEditSuma", "643,5"}, {"LabeledEditMoshn", "0"},
        {"EditRaschetGruz", "0"},  {"Edit1", "13"},
    };
    QTest::newRow("empty request") << QByteArray("{}") << freshRecord;
    QTest::newRow("empty controls and drivers") << QByteArray(R"({"controls": {}, "drivers": []})") << freshRecord;
    // 1980 * 2 * 0,5 * 0,2: the term list stands at "15 дней".
    QTest::newRow("registered abroad")
        << QByteArray(R"({"controls": {"CheckBoxReg": false}})")
        << withChanges(freshRecord, {{"LabeledEditKT", "2"}, {"LabeledEditKBM", "-"}, {"LabeledEditKS", "-"},
                                     {"LabeledEditKP", "0,2"}, {"LabeledEditSuma", "396"}});
    QTest::newRow("registered abroad for three months")
        << QByteArray(R"({"controls": {"CheckBoxReg": false, "ComboBoxTranzit": "3"}})")
        << withChanges(freshRecord, {{"LabeledEditKT", "2"}, {"LabeledEditKBM", "-"}, {"LabeledEditKS", "-"},
                                     {"LabeledEditKP", "0,5"}, {"LabeledEditSuma", "990"}});
    // 1980 * 1,3 * 2,45 * 1 * 1,5 * 0,5.
    QTest::newRow("unlimited drivers of class M")
        << QByteArray(R"({"controls": {"CheckBoxDopusk": true, "ComboBoxKlass": "M"}})")
        << withChanges(freshRecord, {{"LabeledEditKBM", "2,45"}, {"LabeledEditKO", "1,5"},
                                     {"LabeledEditSuma", "4729,725"}, {"Edit1", ""}});
    QTest::newRow("legal owner")
        << QByteArray(R"({"controls": {"RadioButtonU": true}})")
        << withChanges(freshRecord, {{"LabeledEditTB", "2375"}, {"LabeledEditKVS", "-"}, {"LabeledEditKO", "-"},
                                     {"LabeledEditKS", "-"}, {"LabeledEditSuma", "771,875"}});
    QTest::newRow("physical owner cleared")
        << QByteArray(R"({"controls": {"RadioButtonF": false}})")
        << withChanges(freshRecord, {{"LabeledEditTB", "2375"}, {"LabeledEditKVS", "-"}, {"LabeledEditKO", "-"},
                                     {"LabeledEditKS", "-"}, {"LabeledEditSuma", "771,875"}});
    // 3240 * 1,3 * 0,5; КМ "-".
    QTest::newRow("heavy truck")
        << QByteArray(R"({"controls": {"ComboBoxTipTS": "Грузовой автомобиль", "LabeledEditMassa": "16001"}})")
        << withChanges(freshRecord, {{"LabeledEditTB", "3240"}, {"LabeledEditKM", "-"}, {"EditRaschetGruz", "1"},
                                     {"LabeledEditSuma", "2106"}});
    // Writing the type runs no drop-down rule, so the seats stay "0".
    QTest::newRow("bus keeps its seat field")
        << QByteArray(R"({"controls": {"ComboBoxTipTS": "Автобус"}})")
        << withChanges(freshRecord, {{"LabeledEditTB", "1620"}, {"LabeledEditKM", "-"}, {"LabeledEditSuma", "1053"}});
    QTest::newRow("typed КТ outside the home region")
        << QByteArray(R"({"controls": {"ComboBoxReg": "Московская обл.", "LabeledEditKT": "1,8"}})")
        << withChanges(freshRecord, {{"LabeledEditKT", "1,8"}, {"LabeledEditSuma", "891"}});
    QTest::newRow("texts are not cut to typing limits")
        << QByteArray(R"({"controls": {"LabeledEditMoshn": "000000000150,00001"}})")
        << withChanges(freshRecord, {{"LabeledEditKM", "1,5"}, {"LabeledEditMoshn", "000000000150,00001"},
                                     {"LabeledEditSuma", "1930,5"}});
    QTest::newRow("stop at an emptied truck mass")
        << QByteArray(R"({"controls": {"ComboBoxTipTS": "Грузовой автомобиль", "LabeledEditMassa": "",
                                       "LabeledEditKBM": "9", "CheckBox2": true}})")
        << QJsonObject{{"LabeledEditKBM", "9"}, {"CheckBox2", true}, {"error", "'' is not a valid integer value"}};
    QTest::newRow("stop at a power with a point")
        << QByteArray(R"({"controls": {"LabeledEditMoshn": "40.5"}})")
        << withChanges(freshRecord, {{"LabeledEditKS", "?"}, {"LabeledEditKP", "?"}, {"LabeledEditKN", "?"},
                                     {"LabeledEditKM", "?"}, {"LabeledEditSuma", ""}, {"LabeledEditMoshn", "40.5"},
                                     {"error", "'40.5' is not a valid floating point value"}});
    QTest::newRow("stop at a driver class")
        << QByteArray(R"({"drivers": [{"ComboBox7": "4", "ComboBox10": "Да"}, {"ComboBox7": "", "ComboBox10": "Да"}]})")
        << QJsonObject{{"LabeledEditTB", "1980"}, {"LabeledEditKT", "1,3"}, {"EditRaschetGruz", "0"},
                       {"Edit1", "4"}, {"error", "'' is not a valid integer value"}};
    // Aged 22 on the issue date, today in a fresh record: КВС from experience only.
    QTest::newRow("age derived against today")
        << QByteArray(R"({"drivers": [{"ComboBox2": "15.03.1990", "ComboBox7": "3", "ComboBox8": "Да"}]})")
        << withChanges(freshRecord, {{"LabeledEditKBM", "1"}, {"Edit1", "3"}, {"LabeledEditSuma", "1287"}});
    QTest::newRow("age derived against the given issue date")
        << QByteArray(R"({"controls": {"LabeledEditVydan": "14.03.2012"},
                          "drivers": [{"ComboBox2": "15.03.1990", "ComboBox7": "3", "ComboBox8": "Да"}]})")
        << withChanges(freshRecord, {{"LabeledEditKBM", "1"}, {"Edit1", "3"}, {"LabeledEditKVS", "1,2"},
                                     {"CheckBox22", true}, {"LabeledEditSuma", "1544,4"}});
    QTest::newRow("given age flag is not derived")
        << QByteArray(R"({"drivers": [{"ComboBox2": "junk", "ComboBox7": "3", "ComboBox8": "Да",
                                       "ComboBox10": "Нет"}]})")
        << withChanges(freshRecord, {{"LabeledEditKBM", "1"}, {"Edit1", "3"}, {"LabeledEditKVS", "1,2"},
                                     {"CheckBox22", true}, {"LabeledEditSuma", "1544,4"}});
    QTest::newRow("violations of the sixth driver")
        << QByteArray(R"({"drivers": [{"ComboBox7": "3", "ComboBox10": "Да"}, {"ComboBox7": "3", "ComboBox10": "Да"},
                                      {"ComboBox7": "3", "ComboBox10": "Да"}, {"ComboBox7": "3", "ComboBox10": "Да"},
                                      {"ComboBox7": "3", "ComboBox10": "Да"},
                                      {"ComboBox7": "3", "ComboBox10": "Да", "ComboBox9": "Да"}]})")
        << withChanges(freshRecord, {{"LabeledEditKBM", "1"}, {"Edit1", "3"}, {"LabeledEditKN", "1,5"},
                                     {"CheckBoxGrubOK", true}, {"LabeledEditSuma", "1930,5"}});
}

void CalcCommandTest::reports()
{
    QFETCH(QByteArray, input);
    QFETCH(QJsonObject, changes);
    const CalcRun run = runCalc(input);
    QCOMPARE(run.errors, QByteArray());
    QCOMPARE(run.status, 0);
    QCOMPARE(reportOf(run), withChanges(untouchedReport(), changes));
}

void CalcCommandTest::driverAgeFailureReportsInitialTexts()
{
    const CalcRun run = runCalc(R"({"controls": {"LabeledEditMoshn": "75", "LabeledEditKT": "1,1"},
                                    "drivers": [{"ComboBox2": "15.03.1990", "ComboBox7": "3"},
                                                {"ComboBox1": "Без даты", "ComboBox7": "M"}]})");
    QCOMPARE(run.status, 0);
    QCOMPARE(run.errors, QByteArray());
    QCOMPARE(reportOf(run), withChanges(untouchedReport(), {{"LabeledEditMoshn", "75"}, {"LabeledEditKT", "1,1"},
                                                            {"error", "'' is not a valid integer value"}}));
}

void CalcCommandTest::unusableInput_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("arguments");

    const QStringList none;
    QTest::newRow("not JSON") << QByteArray("controls: x") << none;
    QTest::newRow("empty input") << QByteArray() << none;
    QTest::newRow("truncated") << QByteArray(R"({"controls": {)") << none;
    QTest::newRow("array") << QByteArray("[]") << none;
    QTest::newRow("string") << QByteArray(R"("calc")") << none;
    QTest::newRow("unknown top-level key") << QByteArray(R"({"control": {}})") << none;
    QTest::newRow("controls not an object") << QByteArray(R"({"controls": []})") << none;
    QTest::newRow("button") << QByteArray(R"({"controls": {"ButtonSumma": true}})") << none;
    QTest::newRow("label") << QByteArray(R"({"controls": {"LabelPolis": "x"}})") << none;
    QTest::newRow("list box") << QByteArray(R"({"controls": {"ListBoxVodit": "x"}})") << none;
    QTest::newRow("misspelt name") << QByteArray(R"({"controls": {"LabeledEditMosh": "40"}})") << none;
    QTest::newRow("wrong case") << QByteArray(R"({"controls": {"labeledEditMoshn": "40"}})") << none;
    QTest::newRow("name with a line break") << QByteArray(R"({"controls": {"Labeled\nEdit": "40"}})") << none;
    QTest::newRow("number for a text") << QByteArray(R"({"controls": {"LabeledEditMoshn": 40}})") << none;
    QTest::newRow("null for a text") << QByteArray(R"({"controls": {"LabeledEditMoshn": null}})") << none;
    QTest::newRow("text for a check box") << QByteArray(R"({"controls": {"CheckBoxReg": "false"}})") << none;
    QTest::newRow("bool for a drop-down") << QByteArray(R"({"controls": {"ComboBoxSrok": true}})") << none;
    QTest::newRow("both radios selected")
        << QByteArray(R"({"controls": {"RadioButtonF": true, "RadioButtonU": true}})") << none;
    QTest::newRow("both radios cleared")
        << QByteArray(R"({"controls": {"RadioButtonFiz": false, "RadioButtonUr": false}})") << none;
    QTest::newRow("drivers not an array") << QByteArray(R"({"drivers": {}})") << none;
    QTest::newRow("driver not an object") << QByteArray(R"({"drivers": ["x"]})") << none;
    QTest::newRow("unknown driver column") << QByteArray(R"({"drivers": [{"ComboBox11": "x"}]})") << none;
    QTest::newRow("driver column zero") << QByteArray(R"({"drivers": [{"ComboBox0": "x"}]})") << none;
    QTest::newRow("number in a driver column") << QByteArray(R"({"drivers": [{"ComboBox7": 3}]})") << none;
    QTest::newRow("seven drivers") << QByteArray(R"({"drivers": [{}, {}, {}, {}, {}, {}, {}]})") << none;
    QTest::newRow("drivers with unlimited drivers")
        << QByteArray(R"({"controls": {"CheckBoxDopusk": true}, "drivers": [{"ComboBox10": "Да"}]})") << none;
    QTest::newRow("two files") << QByteArray("{}") << QStringList{"a.json", "b.json"};
    QTest::newRow("missing file") << QByteArray("{}") << QStringList{"/nonexistent/request.json"};
}

void CalcCommandTest::unusableInput()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, arguments);
    const CalcRun run = runCalc(input, arguments);
    QCOMPARE(run.status, 2);
    QCOMPARE(run.output, QByteArray());
    QVERIFY(run.errors.startsWith("osago calc: "));
    QVERIFY(run.errors.endsWith('\n'));
    QCOMPARE(run.errors.count('\n'), 1);
}

void CalcCommandTest::readsFileArgument()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile file(dir.filePath("request.json"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(::workedExample);
    file.close();
    const CalcRun fromFile = runCalc("not read", {file.fileName()});
    QCOMPARE(fromFile.status, 0);
    QCOMPARE(reportOf(fromFile).value("LabeledEditSuma").toString(), "1497,7462");
    const CalcRun fromDash = runCalc(::workedExample, {"-"});
    QCOMPARE(fromDash.output, fromFile.output);
}

void CalcCommandTest::inputControlTable()
{
    const auto controls = osago::editorInputControls("15.03.2012", "09:05:07");
    QSet<QString> names;
    for (const auto& control : controls)
        names.insert(qs(control.name));
    QCOMPARE(names.size(), qsizetype(controls.size()));
    for (const char* notInput : {"ButtonSumma", "ButtonRavno", "ListBoxVodit", "LabelPolis", "PageControl"})
        QVERIFY2(!names.contains(notInput), notInput);

    const auto find = [&](std::string_view name) {
        return *std::find_if(controls.begin(), controls.end(), [&](const auto& c) { return c.name == name; });
    };
    using osago::ControlKind;
    QCOMPARE(find("EditS").kind, ControlKind::MaskedEdit);
    QCOMPARE(qs(find("EditS").text), "15.03.2012");
    QCOMPARE(qs(find("EditIS").text), "15.03.2012");
    QCOMPARE(qs(find("EditPo").text), "  .  .    ");
    QCOMPARE(qs(find("LabeledEditVydan").text), "15.03.2012");
    QCOMPARE(find("LabeledEditVydan").kind, ControlKind::Edit);
    QCOMPARE(qs(find("LabeledEditData").text), "15.03.2012");
    QCOMPARE(qs(find("LabeledEditVrem").text), "09:05:07");
    QCOMPARE(qs(find("LabeledEditPolis").text), "   №          ");
    QCOMPARE(qs(find("LabeledEditKvit").text), "      ");
    QCOMPARE(qs(find("ComboBoxReg").text), "Тальградская область");
    QCOMPARE(qs(find("ComboBoxNasel").text), "Тальград");
    QCOMPARE(qs(find("ComboBoxPunkt").text), "Тальград");
    QCOMPARE(find("ComboBoxPunkt").kind, ControlKind::DropDown);
    QCOMPARE(qs(find("LabeledEditIndeks").text), "394000");
    QCOMPARE(qs(find("ComboBoxTranzit").text), "15 дней");
    QCOMPARE(qs(find("LabeledEditMesta").text), "0");
    QCOMPARE(qs(find("LabeledEditKT").text), "?");
    QCOMPARE(qs(find("LabeledEditSuma").text), "");
    QCOMPARE(find("CheckBoxReg").checked, true);
    QCOMPARE(find("CheckBoxLich").checked, true);
    QCOMPARE(find("CheckBoxTaxi").checked, false);
    QCOMPARE(find("RadioButtonF").kind, ControlKind::RadioButton);
    QCOMPARE(find("RadioButtonF").checked, true);
    QCOMPARE(find("RadioButtonUr").checked, false);
    QCOMPARE(find("ComboBox10").kind, ControlKind::DropDown);
    QCOMPARE(find("CheckBoxGrubOK").kind, ControlKind::CheckBox);
}

void CalcCommandTest::registrationRule()
{
    osago::HeadlessEditor editor("15.03.2012", "09:05:07");
    editor.setText("EditPo", "14.03.2013");
    editor.setText("ComboBoxSrok", "6");
    editor.setText("ComboBoxTranzit", "3");
    editor.setChecked("CheckBoxReg", false);
    QVERIFY(!editor.periodSelectorShown());
    QCOMPARE(qs(editor.text("EditPo")), "  .  .    ");
    QCOMPARE(qs(editor.text("EditIS")), "15.03.2012");
    QCOMPARE(qs(editor.text("EditIPo")), "  .  .    ");
    QCOMPARE(qs(editor.text("ComboBoxTranzit")), "15 дней");
    QCOMPARE(qs(editor.text("ComboBoxSrok")), "12");
    editor.setChecked("CheckBoxReg", true);
    QVERIFY(editor.periodSelectorShown());
}

void CalcCommandTest::periodOfUseFollowsInsuranceStart()
{
    osago::HeadlessEditor editor("15.03.2012", "09:05:07");
    editor.setText("EditS", "01.04.2012");
    QCOMPARE(qs(editor.text("EditIS")), "01.04.2012");
    editor.setText("EditPo", "31.03.2013");
    QCOMPARE(qs(editor.text("EditIPo")), "31.03.2013");
    // A months value other than "12" stops the copying; writing it runs no rule of its own.
    editor.setText("ComboBoxSrok", "6");
    QCOMPARE(qs(editor.text("EditIS")), "01.04.2012");
    editor.setText("EditS", "02.04.2012");
    QCOMPARE(qs(editor.text("EditIS")), "01.04.2012");
    editor.setText("EditS", "");
    QCOMPARE(qs(editor.text("EditS")), "  .  .    ");
}

void CalcCommandTest::vinFillsChassisAndBody()
{
    osago::HeadlessEditor editor("15.03.2012", "09:05:07");
    editor.setText("LabeledEditVin", "XTA2109901234567");
    QCOMPARE(qs(editor.text("LabeledEditNomShassi")), "");
    editor.setText("LabeledEditVin", "XTA21099012345678");
    QCOMPARE(qs(editor.text("LabeledEditNomShassi")), "2345678");
    QCOMPARE(qs(editor.text("LabeledEditKuzov")), "2345678");
    editor.setText("LabeledEditVin", "ХТА2109901234567Ж"); // Cyrillic letters count as one character each
    QCOMPARE(qs(editor.text("LabeledEditKuzov")), "234567Ж");
    editor.setText("LabeledEditVin", "XTA");
    QCOMPARE(qs(editor.text("LabeledEditKuzov")), "234567Ж");
}

void CalcCommandTest::unlimitedDriversSwitch()
{
    osago::HeadlessEditor editor("15.03.2012", "09:05:07");
    QVERIFY(!editor.addDriver({std::string("Иванов"), std::string("15.03.1990")}));
    QCOMPARE(qs(editor.driverColumn(9).at(0)), "Да");
    editor.setChecked("CheckBoxDopusk", true);
    QVERIFY(editor.driverColumn(0).empty());
    editor.setText("ComboBoxKlass", "M");
    editor.setChecked("CheckBoxGrub", true);
    editor.setChecked("CheckBoxDopusk", false);
    QCOMPARE(qs(editor.text("ComboBoxKlass")), "3");
    QVERIFY(!editor.checked("CheckBoxGrub"));
}

void CalcCommandTest::radioPairs()
{
    osago::HeadlessEditor editor("15.03.2012", "09:05:07");
    editor.setChecked("RadioButtonU", true);
    QVERIFY(!editor.checked("RadioButtonF"));
    editor.setChecked("RadioButtonU", false);
    QVERIFY(editor.checked("RadioButtonF"));
    editor.setChecked("RadioButtonFiz", false);
    QVERIFY(editor.checked("RadioButtonUr"));
    QVERIFY(editor.checked("RadioButtonF"));
}

QTEST_GUILESS_MAIN(CalcCommandTest)
#include "CalcCommandTest.moc"
