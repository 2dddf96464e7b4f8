#include "EditorTestSupport.h"

#include <QLabel>
#include <QPushButton>

#include <memory>

using namespace osago;
using namespace osago::test;

namespace {

const QString kBack = QStringLiteral("ButtonNaz");
const QString kNext = QStringLiteral("ButtonVper");
const QString kSave = QStringLiteral("ButtonSave");
constexpr int kResultsPage = 5;

} // namespace

class EditorNavigationTest : public EditorTestCase
{
    Q_OBJECT

    void verifyButtons(bool back, bool next, bool save)
    {
        QCOMPARE(editor().get(kBack)->isEnabled(), back);
        QCOMPARE(editor().get(kNext)->isEnabled(), next);
        QCOMPARE(editor().get(kSave)->isEnabled(), save);
    }

    // Picks a person type on page 1 as the agent does.
    void chooseTypes(bool policyholderIsPerson, bool ownerIsPerson)
    {
        editor().click(policyholderIsPerson ? QStringLiteral("RadioButtonFiz") : QStringLiteral("RadioButtonUr"));
        editor().click(ownerIsPerson ? QStringLiteral("RadioButtonF") : QStringLiteral("RadioButtonU"));
    }

private slots:
    void buttonsOnEveryPage_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("back");
        QTest::addColumn<bool>("next");
        QTest::addColumn<bool>("save");
        QTest::newRow("general") << 0 << false << true << false;
        QTest::newRow("policyholder") << 1 << true << true << false;
        QTest::newRow("owner") << 2 << true << true << false;
        QTest::newRow("vehicle") << 3 << true << true << false;
        QTest::newRow("drivers") << 4 << true << true << false;
        QTest::newRow("results") << 5 << true << false << true;
    }

    // The same states whether the page is reached forwards, backwards from the results, or by its tab.
    void buttonsOnEveryPage()
    {
        QFETCH(int, page);
        QFETCH(bool, back);
        QFETCH(bool, next);
        QFETCH(bool, save);

        editor().walkTo(page);
        QCOMPARE(editor().pages()->currentIndex(), page);
        verifyButtons(back, next, save);

        editor().walkTo(kResultsPage);
        editor().walkTo(page);
        QCOMPARE(editor().pages()->currentIndex(), page);
        verifyButtons(back, next, save);

        editor().clickTab(page == 0 ? kResultsPage : 0);
        editor().clickTab(page);
        QCOMPARE(editor().pages()->currentIndex(), page);
        verifyButtons(back, next, save);
    }

    void saveAsksTheRegister()
    {
        int requests = 0;
        connect(&editor().form, &PolicyEditor::saveRequested, this, [&requests] { ++requests; });
        editor().walkTo(kResultsPage);
        editor().click(kSave);
        QCOMPARE(requests, 1);
    }

    void nameFieldsFollowTheType_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("personType");
        QTest::addColumn<QString>("firmType");
        QTest::addColumn<QString>("surname");
        QTest::addColumn<QString>("firstName");
        QTest::addColumn<QString>("patronymic");
        QTest::addColumn<QString>("birthLabel");
        QTest::newRow("policyholder") << 1 << "RadioButtonFiz" << "RadioButtonUr" << "LabeledEditFamil"
                                      << "LabeledEditImia" << "LabeledEditOtch" << "LabelDRS";
        QTest::newRow("owner") << 2 << "RadioButtonF" << "RadioButtonU" << "LabeledEditF" << "LabeledEditI"
                               << "LabeledEditO" << "LabelDRV";
    }

    void nameFieldsFollowTheType()
    {
        QFETCH(int, page);
        QFETCH(QString, personType);
        QFETCH(QString, firmType);
        QFETCH(QString, surname);
        QFETCH(QString, firstName);
        QFETCH(QString, patronymic);
        QFETCH(QString, birthLabel);
        const QWidget& form = editor().form;
        QLabel* surnameLabel = captionOf(form, editor().get(surname));

        editor().walkTo(page);
        QCOMPARE(surnameLabel->text(), QStringLiteral("Фамилия"));
        QCOMPARE(editor().get<QLabel>(birthLabel)->text(), QStringLiteral("Дата рождения"));
        editor().retypeField(firstName, QStringLiteral("Иван"));
        editor().retypeField(patronymic, QStringLiteral("Петрович"));

        editor().walkTo(0);
        editor().click(firmType);
        editor().walkTo(page);
        QCOMPARE(surnameLabel->text(), QStringLiteral("Название фирмы"));
        QCOMPARE(editor().get<QLabel>(birthLabel)->text(), QStringLiteral("ИНН"));
        for (const QString& given : {firstName, patronymic}) {
            QVERIFY2(!editor().get(given)->isVisible(), qPrintable(given));
            QVERIFY2(!captionOf(form, editor().get(given))->isVisible(), qPrintable(given));
            QCOMPARE(editor().text(given), QString());
        }
        QVERIFY(editor().get<QLabel>(birthLabel)->buddy()->isVisible());

        editor().walkTo(0);
        editor().click(personType);
        editor().walkTo(page);
        QCOMPARE(surnameLabel->text(), QStringLiteral("Фамилия"));
        QCOMPARE(editor().get<QLabel>(birthLabel)->text(), QStringLiteral("Дата рождения"));
        for (const QString& given : {firstName, patronymic}) {
            QVERIFY2(editor().get(given)->isVisible(), qPrintable(given));
            QVERIFY2(captionOf(form, editor().get(given))->isVisible(), qPrintable(given));
            QCOMPARE(editor().text(given), QString());
        }
    }

    // The other side's type does not relabel this side.
    void eachSideFollowsItsOwnType()
    {
        editor().click(QStringLiteral("RadioButtonU"));
        editor().walkTo(1);
        QCOMPARE(captionOf(editor().form, editor().get(QStringLiteral("LabeledEditFamil")))->text(),
                 QStringLiteral("Фамилия"));
        QVERIFY(editor().get(QStringLiteral("LabeledEditImia"))->isVisible());
        editor().walkTo(2);
        QCOMPARE(captionOf(editor().form, editor().get(QStringLiteral("LabeledEditF")))->text(),
                 QStringLiteral("Название фирмы"));
    }

    void copyButtonNeedsMatchingTypes_data()
    {
        QTest::addColumn<bool>("policyholderIsPerson");
        QTest::addColumn<bool>("ownerIsPerson");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("both persons") << true << true << true;
        QTest::newRow("person and firm") << true << false << false;
        QTest::newRow("firm and person") << false << true << false;
        QTest::newRow("both firms") << false << false << true;
    }

    void copyButtonNeedsMatchingTypes()
    {
        QFETCH(bool, policyholderIsPerson);
        QFETCH(bool, ownerIsPerson);
        QFETCH(bool, enabled);
        // First the opposite state, so that a button stuck in either state fails.
        chooseTypes(true, !enabled);
        editor().clickTab(2);
        QCOMPARE(editor().get(QStringLiteral("ButtonCopy"))->isEnabled(), !enabled);
        editor().clickTab(0);
        chooseTypes(policyholderIsPerson, ownerIsPerson);
        editor().clickTab(2);
        QCOMPARE(editor().get(QStringLiteral("ButtonCopy"))->isEnabled(), enabled);
    }
};

QTEST_MAIN(EditorNavigationTest)
#include "EditorNavigationTest.moc"
