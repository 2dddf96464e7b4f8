#include "app/AboutBox.h"
#include "ProgramTestCase.h"
#include "editor/PolicyEditor.h"
#include "app/MainWindow.h"
#include "search/SearchWindow.h"
#include "app/Program.h"
#include "ScriptedMessages.h"

#include <QAction>

#include <memory>

using osago::Program;
using osago::test::activate;
using osago::test::pressKey;
using osago::test::ScriptedMessages;

// The main menu's shortcuts reach the main window's commands from every window of the program, and none
// while a window that keeps the main window disabled is open.
class MainShortcutsTest : public osago::test::ProgramTestCase
{
    Q_OBJECT

private slots:
    void ctrlQAsksBeforeLeaving_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No") << false;
        QTest::newRow("Yes") << true;
    }

    void ctrlQAsksBeforeLeaving()
    {
        QFETCH(bool, yes);
        m_messages->answerNext(yes);
        pressKey(Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(m_messages->questions(), QStringList{"Confirm: Выйти?"});
        QCOMPARE(m_program->mainWindow().isVisible(), !yes);
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

    void ctrlF1ShowsTheAboutDialog()
    {
        pressKey(Qt::Key_F1, Qt::ControlModifier);
        QTRY_VERIFY(m_program->aboutBox().isVisible());
        QVERIFY(!m_program->mainWindow().isEnabled());
    }

    void ctrlFShowsOneSearchWindowAndLeavesTheMainWindowEnabled()
    {
        pressKey(Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(m_program->searchWindow().isVisible());
        QVERIFY(m_program->mainWindow().isEnabled());

        QVERIFY(activate(m_program->mainWindow()));
        pressKey(Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(m_program->searchWindow().isActiveWindow());
        int searchWindows = 0;
        for (QWidget* window : QApplication::topLevelWidgets())
            searchWindows += window->objectName() == QLatin1String("FormPoisk") && window->isVisible();
        QCOMPARE(searchWindows, 1);
    }

    void ctrlNInTheSearchWindowStartsANewRecord()
    {
        m_program->mainWindow().findChild<QAction*>(QStringLiteral("N4"))->trigger();
        QVERIFY(activate(m_program->searchWindow()));
        pressKey(Qt::Key_N, Qt::ControlModifier);
        QTRY_VERIFY(m_program->policyEditor().isVisible());
        QCOMPARE(m_program->policyEditor().windowTitle(), QStringLiteral("Создание записи"));
    }

    void shortcutsDoNothingWhileTheMainWindowIsDisabled_data()
    {
        QTest::addColumn<QString>("opener");
        QTest::addColumn<QString>("opened");
        QTest::newRow("editor") << "N2" << "Form2";
        QTest::newRow("about dialog") << "N14" << "AboutBox";
    }

    void shortcutsDoNothingWhileTheMainWindowIsDisabled()
    {
        QFETCH(QString, opener);
        QFETCH(QString, opened);
        m_program->mainWindow().findChild<QAction*>(opener)->trigger();
        QWidget* window = osago::test::topLevelNamed(opened);
        QVERIFY(window);
        QTRY_VERIFY(window->isVisible());
        QVERIFY2(!m_program->mainWindow().isEnabled(), "the window did not disable the main window");
        QVERIFY(activate(*window));
        const QString captionBefore = m_program->policyEditor().windowTitle();

        const QList<Qt::Key> keys{Qt::Key_Q, Qt::Key_F1, Qt::Key_F, Qt::Key_N};
        for (Qt::Key key : keys)
            pressKey(key, Qt::ControlModifier);
        QCoreApplication::processEvents();

        QVERIFY(m_messages->questions().isEmpty());
        QVERIFY(!m_program->searchWindow().isVisible());
        QCOMPARE(m_program->aboutBox().isVisible(), opened == QLatin1String("AboutBox"));
        QCOMPARE(m_program->policyEditor().isVisible(), opened == QLatin1String("Form2"));
        QCOMPARE(m_program->policyEditor().windowTitle(), captionBefore);
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

    void shortcutsWorkAgainOnceTheMainWindowIsEnabled()
    {
        pressKey(Qt::Key_F1, Qt::ControlModifier);
        QTRY_VERIFY(m_program->aboutBox().isVisible());
        m_program->aboutBox().close();
        QVERIFY(m_program->mainWindow().isEnabled());
        QVERIFY(activate(m_program->mainWindow()));
        pressKey(Qt::Key_N, Qt::ControlModifier);
        QTRY_VERIFY(m_program->policyEditor().isVisible());
    }
};

QTEST_MAIN(MainShortcutsTest)
#include "MainShortcutsTest.moc"
