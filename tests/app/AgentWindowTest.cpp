#include "app/AgentSettings.h"
#include "app/AgentWindow.h"
#include "RegisterTestSupport.h"

#include <QLabel>
#include <QLineEdit>

using namespace osago;
using namespace osago::test;

namespace {

// Types `text` into the focused `edit` key by key, as the agent does.
void typeInto(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

QWidget* openSettings(TestProgram& t)
{
    t.trigger("N10");
    QWidget* window = t.main().agentWindow();
    return window && window->isVisible() ? window : nullptr;
}

QString buddyText(const QWidget& window, QWidget* field)
{
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->buddy() == field)
            return label->text();
    }
    return {};
}

} // namespace

// "Пользователи...": the agent settings window, and where its names go.
class AgentWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { useTestSettings("test_form_agent"); }
    void init() { QSettings().clear(); }

    void isASmallToolWindowWithTwoNamesAndOk()
    {
        TestProgram t;
        QVERIFY(!t.main().agentWindow());
        QWidget* window = openSettings(t);
        QVERIFY(window);
        QCOMPARE(window->objectName(), QStringLiteral("FormAgent"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Настройки"));
        QCOMPARE(window->size(), QSize(259, 77));
        QVERIFY(!window->parentWidget());
        const Qt::WindowFlags flags = window->windowFlags();
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(flags & Qt::WindowStaysOnTopHint);
        QVERIFY(!(flags & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint)));
        auto* agent = control<QLineEdit>(*window, QStringLiteral("EditAg"));
        auto* insurer = control<QLineEdit>(*window, QStringLiteral("EditStr"));
        QCOMPARE(buddyText(*window, agent), QStringLiteral("Агент:"));
        QCOMPARE(buddyText(*window, insurer), QStringLiteral("Страховщик:"));
        QVERIFY(!agent->toolTip().isEmpty());
        auto* ok = control<QPushButton>(*window, QStringLiteral("Button1"));
        QCOMPARE(ok->text(), QStringLiteral("Ok"));
        QCOMPARE(ok->width(), 241);
        QVERIFY(t.main().isEnabled());
    }

    void namesStopAtTwentyCharacters_data()
    {
        QTest::addColumn<QString>("field");
        QTest::newRow("agent") << "EditAg";
        QTest::newRow("insurer") << "EditStr";
    }

    void namesStopAtTwentyCharacters()
    {
        QFETCH(QString, field);
        TestProgram t;
        QWidget* window = openSettings(t);
        QVERIFY(window);
        auto* edit = control<QLineEdit>(*window, field);
        typeInto(edit, QStringLiteral("Константинопольская-Оглы"));
        QCOMPARE(edit->text(), QStringLiteral("Константинопольская-"));
    }

    void namesAreKeptBetweenRunsAndTheAgentSignsEveryRecord()
    {
        {
            TestProgram first;
            QWidget* window = openSettings(first);
            QVERIFY(window);
            typeInto(control<QLineEdit>(*window, QStringLiteral("EditAg")), QStringLiteral("Смирнова Е. П."));
            typeInto(control<QLineEdit>(*window, QStringLiteral("EditStr")), QStringLiteral("Росгарант"));
            clickButton(*window, "Button1");
            QVERIFY(!window->isVisible());
        }

        TestProgram second;
        QWidget* window = openSettings(second);
        QVERIFY(window);
        QCOMPARE(controlText(*window, QStringLiteral("EditAg")), QStringLiteral("Смирнова Е. П."));
        QCOMPARE(controlText(*window, QStringLiteral("EditStr")), QStringLiteral("Росгарант"));
        QCOMPARE(AgentSettings::load().insurer, QStringLiteral("Росгарант"));
        clickButton(*window, "Button1");

        second.trigger("N2");
        saveFromEditor(second.editor());
        QCOMPARE(second.storedRow(0).value(u"ФИО_агента"), QStringLiteral("Смирнова Е. П."));
        OSAGO_VERIFY_MESSAGES(second.seam);
    }
};

QTEST_MAIN(AgentWindowTest)
#include "AgentWindowTest.moc"
