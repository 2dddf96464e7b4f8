#include "EditorTestSupport.h"

#include <QCheckBox>
#include <QComboBox>

#include <memory>

using namespace osago;
using namespace osago::test;

namespace {

const QString kRegistered = QStringLiteral("CheckBoxReg");
const QString kMonths = QStringLiteral("ComboBoxSrok");
const QString kTransit = QStringLiteral("ComboBoxTranzit");
const QString kInsuranceFrom = QStringLiteral("EditS");
const QString kInsuranceTo = QStringLiteral("EditPo");
const QString kUseFrom = QStringLiteral("EditIS");
const QString kUseTo = QStringLiteral("EditIPo");

const QStringList kHomeLocalities{"Тальград", "Анна", "Бобров", "Богучар", "Борисоглебск", "Бутурлиновка",
                                  "Грибановский", "Калач", "Каменка", "Кантемировка", "Лиски", "Новотальград",
                                  "Острогожск", "Павловск", "Поворино", "Россошь", "Семилуки", "Таловая", "Эртиль"};

QStringList itemsOf(const QComboBox* dropDown)
{
    QStringList items;
    for (int i = 0; i < dropDown->count(); ++i)
        items << dropDown->itemText(i);
    return items;
}

} // namespace

class EditorRulesTest : public EditorTestCase
{
    Q_OBJECT

    bool shown(const QString& name) { return !editor().get(name)->isHidden(); }
    bool enabled(const QString& name) { return editor().get(name)->isEnabled(); }

    bool pick(const QString& dropDown, const QString& item)
    {
        return pickItem(editor().get<QComboBox>(dropDown), item);
    }

    // Both insurance dates typed in; the period of use follows them while the months are "12".
    void enterInsurancePeriod()
    {
        editor().typeDate(kInsuranceFrom, QStringLiteral("01022024"));
        editor().typeDate(kInsuranceTo, QStringLiteral("31012025"));
        QCOMPARE(editor().text(kUseFrom), QStringLiteral("01.02.2024"));
        QCOMPARE(editor().text(kUseTo), QStringLiteral("31.01.2025"));
    }

    void verifyUsePeriod(const QString& from, const QString& to, bool open)
    {
        QCOMPARE(editor().text(kUseFrom), from);
        QCOMPARE(editor().text(kUseTo), to);
        QCOMPARE(enabled(kUseFrom), open);
        QCOMPARE(enabled(kUseTo), open);
    }

private slots:
    void registrationBothWays_data()
    {
        QTest::addColumn<bool>("byAgent");
        QTest::newRow("agent clicks") << true;
        QTest::newRow("program sets the box") << false;
    }

    void registrationBothWays()
    {
        QFETCH(bool, byAgent);
        auto toggle = [&] {
            if (byAgent)
                editor().click(kRegistered);
            else
                editor().get<QCheckBox>(kRegistered)->toggle();
        };
        enterInsurancePeriod();
        QVERIFY(pick(kMonths, QStringLiteral("6")));
        editor().typeDate(kUseFrom, QStringLiteral("05022024"));

        toggle();
        QVERIFY(!editor().get<QCheckBox>(kRegistered)->isChecked());
        QVERIFY(!shown(kMonths));
        QVERIFY(shown(kTransit));
        QCOMPARE(editor().text(kInsuranceTo), kEmptyDate);
        verifyUsePeriod(QStringLiteral("01.02.2024"), kEmptyDate, false);
        QCOMPARE(editor().text(kTransit), QStringLiteral("15 дней"));
        QCOMPARE(editor().text(kMonths), QStringLiteral("12"));

        QVERIFY(pick(kTransit, QStringLiteral("3")));
        editor().typeDate(kInsuranceTo, QStringLiteral("30042024"));
        QCOMPARE(editor().text(kUseTo), QStringLiteral("30.04.2024"));

        toggle();
        QVERIFY(editor().get<QCheckBox>(kRegistered)->isChecked());
        QVERIFY(shown(kMonths));
        QVERIFY(!shown(kTransit));
        QCOMPARE(editor().text(kInsuranceTo), kEmptyDate);
        verifyUsePeriod(QStringLiteral("01.02.2024"), kEmptyDate, false);
        QCOMPARE(editor().text(kMonths), QStringLiteral("12"));
        QCOMPARE(editor().text(kTransit), QStringLiteral("15 дней"));
    }

    void monthsPickedByTheAgent()
    {
        enterInsurancePeriod();
        QVERIFY(pick(kMonths, QStringLiteral("6")));
        verifyUsePeriod(kEmptyDate, kEmptyDate, true);

        editor().retypeField(kInsuranceFrom, QStringLiteral("02022024"));
        QCOMPARE(editor().text(kInsuranceFrom), QStringLiteral("02.02.2024"));
        verifyUsePeriod(kEmptyDate, kEmptyDate, true);

        QVERIFY(pick(kMonths, QStringLiteral("12")));
        verifyUsePeriod(QStringLiteral("02.02.2024"), QStringLiteral("31.01.2025"), false);
    }

    void monthsWrittenByTheProgramRunNothing()
    {
        enterInsurancePeriod();
        editor().write(kMonths, QStringLiteral("6"));
        verifyUsePeriod(QStringLiteral("01.02.2024"), QStringLiteral("31.01.2025"), false);
    }

    // Every keystroke in the months drop-down runs its rule with the text typed so far.
    void monthsTypedKeyByKey()
    {
        enterInsurancePeriod();
        auto* months = editor().get<QComboBox>(kMonths);
        months->lineEdit()->setFocus();
        months->lineEdit()->selectAll();
        typeText(months->lineEdit(), QStringLiteral("1"));
        QCOMPARE(editor().text(kMonths), QStringLiteral("1"));
        verifyUsePeriod(kEmptyDate, kEmptyDate, true);
        typeText(months->lineEdit(), QStringLiteral("2"));
        verifyUsePeriod(QStringLiteral("01.02.2024"), QStringLiteral("31.01.2025"), false);
    }

    void usePeriodFollowsEveryChange_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("typed");
        QTest::newRow("start typed") << kInsuranceFrom << kUseFrom << true;
        QTest::newRow("start written") << kInsuranceFrom << kUseFrom << false;
        QTest::newRow("end typed") << kInsuranceTo << kUseTo << true;
        QTest::newRow("end written") << kInsuranceTo << kUseTo << false;
    }

    void usePeriodFollowsEveryChange()
    {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(bool, typed);
        if (typed)
            editor().typeDate(source, QStringLiteral("15032024"));
        else
            editor().write(source, QStringLiteral("15.03.2024"));
        QCOMPARE(editor().text(target), QStringLiteral("15.03.2024"));

        editor().write(source, {});
        QCOMPARE(editor().text(target), kEmptyDate);
    }

    void aOneDigitDayAndMonthAreCopiedWithTheirBlanksInFront()
    {
        editor().typeDate(kInsuranceFrom, QStringLiteral("1.2.2027"));
        QTest::keyClick(editor().get(kInsuranceFrom), Qt::Key_Tab);
        QCOMPARE(editor().text(kInsuranceFrom), QStringLiteral(" 1. 2.2027"));
        QCOMPARE(editor().text(kUseFrom), QStringLiteral(" 1. 2.2027"));
    }

    // With the vehicle registered abroad the term counts as shown even while the editor is hidden.
    void usePeriodFollowsWhileTheTermAbroadIsSet()
    {
        editor().form.hide();
        editor().get<QCheckBox>(kRegistered)->setChecked(false);
        editor().write(kMonths, QStringLiteral("6"));
        editor().write(kInsuranceFrom, QStringLiteral("10.10.2024"));
        QCOMPARE(editor().text(kUseFrom), QStringLiteral("10.10.2024"));
    }

    void localitiesFollowTheRegion_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("region");
        QTest::addColumn<QString>("locality");
        QTest::newRow("policyholder") << 1 << "ComboBoxRegion" << "ComboBoxNasel";
        QTest::newRow("owner") << 2 << "ComboBoxReg" << "ComboBoxPunkt";
    }

    void localitiesFollowTheRegion()
    {
        QFETCH(int, page);
        QFETCH(QString, region);
        QFETCH(QString, locality);
        auto* localities = editor().get<QComboBox>(locality);
        editor().walkTo(page);

        QVERIFY(pick(region, kHomeRegionText));
        QCOMPARE(itemsOf(localities), kHomeLocalities);
        QCOMPARE(editor().text(locality), QStringLiteral("Тальград"));

        QVERIFY(pick(region, QStringLiteral("Москва")));
        QCOMPARE(localities->count(), 0);
        QCOMPARE(editor().text(locality), QString());

        QVERIFY(pick(region, kHomeRegionText));
        QCOMPARE(itemsOf(localities), kHomeLocalities);
        QCOMPARE(editor().text(locality), QStringLiteral("Тальград"));

        // The program writing a region leaves the localities alone.
        editor().write(region, QStringLiteral("Москва"));
        QCOMPARE(itemsOf(localities), kHomeLocalities);
        QCOMPARE(editor().text(locality), QStringLiteral("Тальград"));

        // Each keystroke runs the rule on the text typed so far.
        editor().retypeField(region, QStringLiteral("Т"));
        QCOMPARE(localities->count(), 0);
        QCOMPARE(editor().text(locality), QString());
        editor().retypeField(region, kHomeRegionText);
        QCOMPARE(itemsOf(localities), kHomeLocalities);
        QCOMPARE(editor().text(locality), QStringLiteral("Тальград"));
    }

    void copyToTheOwner()
    {
        const QList<QPair<QString, QString>> pairs{
            {"ComboBoxNasel", "ComboBoxPunkt"},   {"ComboBoxDoc", "ComboBoxPas"},
            {"EditRayon", "EditRay"},             {"ComboBoxRegion", "ComboBoxReg"},
            {"ComboBoxStrana", "ComboBoxStran"},  {"EditUlitsa", "EditUlica"},
            {"LabeledEditIndex", "LabeledEditIndeks"}, {"LabeledEditDR", "LabeledEditDeR"},
            {"LabeledEditTel", "LabeledEditTelV"}, {"LabeledEditFamil", "LabeledEditF"},
            {"LabeledEditImia", "LabeledEditI"},  {"LabeledEditOtch", "LabeledEditO"},
            {"LabeledEditSerNo", "LabeledEditSeriya"},
        };
        editor().walkTo(2);
        QVERIFY(pick(QStringLiteral("ComboBoxReg"), kHomeRegionText));

        editor().walkTo(1);
        QVERIFY(pick(QStringLiteral("ComboBoxRegion"), QStringLiteral("Москва")));
        editor().retypeField(QStringLiteral("ComboBoxNasel"), QStringLiteral("Зеленоград"));
        QVERIFY(pick(QStringLiteral("ComboBoxDoc"), QStringLiteral("Военный билет")));
        QVERIFY(pick(QStringLiteral("ComboBoxStrana"), QStringLiteral("Казахстан")));
        const QStringList typed{"EditRayon", "EditUlitsa", "LabeledEditIndex", "LabeledEditTel",
                                "LabeledEditFamil", "LabeledEditImia", "LabeledEditOtch", "LabeledEditSerNo"};
        for (const QString& name : typed)
            editor().retypeField(name, name.right(5));
        editor().typeDate(QStringLiteral("LabeledEditDR"), QStringLiteral("12031980"));

        editor().walkTo(2);
        editor().click(QStringLiteral("ButtonCopy"));
        for (const auto& [from, to] : pairs)
            QCOMPARE(editor().text(to), editor().text(from));
        QCOMPARE(editor().text(QStringLiteral("LabeledEditDeR")), QStringLiteral("12.03.1980"));
        QCOMPARE(editor().text(QStringLiteral("ComboBoxPunkt")), QStringLiteral("Зеленоград"));
        QCOMPARE(itemsOf(editor().get<QComboBox>(QStringLiteral("ComboBoxPunkt"))), kHomeLocalities);
    }

    void copyBetweenFirmsEmptiesGivenNames()
    {
        editor().click(QStringLiteral("RadioButtonUr"));
        editor().click(QStringLiteral("RadioButtonU"));
        editor().walkTo(2);
        const QStringList givenNames{"LabeledEditImia", "LabeledEditOtch", "LabeledEditI", "LabeledEditO"};
        for (const QString& name : givenNames)
            editor().write(name, QStringLiteral("лишнее"));
        editor().write(QStringLiteral("LabeledEditFamil"), QStringLiteral("ООО Ромашка"));

        editor().click(QStringLiteral("ButtonCopy"));
        QCOMPARE(editor().text(QStringLiteral("LabeledEditF")), QStringLiteral("ООО Ромашка"));
        for (const QString& name : givenNames)
            QCOMPARE(editor().text(name), QString());
    }

    void copyBetweenPersonsKeepsGivenNames()
    {
        editor().walkTo(2);
        editor().write(QStringLiteral("LabeledEditImia"), QStringLiteral("Ольга"));
        editor().click(QStringLiteral("ButtonCopy"));
        QCOMPARE(editor().text(QStringLiteral("LabeledEditI")), QStringLiteral("Ольга"));
        QCOMPARE(editor().text(QStringLiteral("LabeledEditImia")), QStringLiteral("Ольга"));
    }
};

QTEST_MAIN(EditorRulesTest)
#include "EditorRulesTest.moc"
