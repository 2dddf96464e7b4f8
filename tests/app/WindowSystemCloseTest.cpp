#include "ProgramTestCase.h"
#include "widgets/Controls.h"
#include "editor/PolicyEditor.h"
#include "app/MainWindow.h"
#include "drivers/DriverDialog.h"
#include "app/Program.h"
#include "ScriptedMessages.h"
#include "editor/DesktopLogout.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QWindow>

#include <memory>

using osago::PolicyEditor;
using osago::Program;
using osago::test::activate;
using osago::test::ScriptedMessages;

namespace {

const QString kLeaveQuestion = QStringLiteral("Confirm: Выйти без сохранения?");
const QString kSurname = QStringLiteral("LabeledEditFamil");

class AnsweringLogout final : public osago::LogoutRequest
{
public:
    explicit AnsweringLogout(bool mayAsk)
        : m_mayAsk(mayAsk)
    {
    }
    bool mayAsk() override { return m_mayAsk; }
    void cancel() override { cancelled = true; }

    bool cancelled = false;

private:
    bool m_mayAsk;
};

} // namespace

// Closes by the window manager (its close button, Alt+F4, its window menu) reach the windows through their
// platform windows, as QWindow::close() does here.
class WindowSystemCloseTest : public osago::test::ProgramTestCase
{
    Q_OBJECT

    PolicyEditor& editor() { return m_program->policyEditor(); }

    void trigger(const char* action)
    {
        QAction* command = m_program->mainWindow().findChild<QAction*>(QString::fromUtf8(action));
        QVERIFY(command);
        command->trigger();
    }

    void clickTab(int page)
    {
        QTabBar* tabs = osago::control<QTabWidget>(editor(), QStringLiteral("PageControl"))->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
    }

    // "Создать...", then a surname typed on page 2, where the editor stays.
    void startARecord()
    {
        trigger("N2");
        QVERIFY(QTest::qWaitForWindowExposed(&editor()));
        clickTab(1);
        auto* surname = osago::control<QLineEdit>(editor(), kSurname);
        QTRY_VERIFY(surname->isVisible());
        surname->setFocus(Qt::MouseFocusReason);
        for (const QChar ch : QStringLiteral("Петров"))
            QTest::sendKeyEvent(QTest::Click, surname, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        QCOMPARE(surname->text(), QStringLiteral("Петров"));
    }

    void openDriverDialog()
    {
        clickTab(4);
        auto* addOther = osago::control<QPushButton>(editor(), QStringLiteral("ButtonDobD"));
        QTRY_VERIFY(addOther->isVisible());
        QTest::mouseClick(addOther, Qt::LeftButton);
        QTRY_VERIFY(m_program->driverDialog().isActiveWindow());
        QVERIFY(!editor().isEnabled());
    }

    QString surname() { return osago::controlText(editor(), kSurname); }

private slots:
    void theMainWindowStaysWhileAnotherWindowHoldsTheInput_data()
    {
        QTest::addColumn<QString>("opened");
        QTest::newRow("editor") << QStringLiteral("Form2");
        QTest::newRow("driver dialog") << QStringLiteral("FormPlus");
        QTest::newRow("about box") << QStringLiteral("AboutBox");
    }
    void theMainWindowStaysWhileAnotherWindowHoldsTheInput()
    {
        QFETCH(QString, opened);
        if (opened == QLatin1String("AboutBox")) {
            trigger("N14");
        } else {
            startARecord();
            if (opened == QLatin1String("FormPlus"))
                openDriverDialog();
        }
        QWidget* window = osago::test::topLevelNamed(opened);
        QTRY_VERIFY(window && window->isVisible());
        QVERIFY(!m_program->mainWindow().isEnabled());

        m_program->mainWindow().windowHandle()->close();
        QVERIFY(m_program->mainWindow().isVisible());
        QVERIFY(window->isVisible());
        if (opened != QLatin1String("AboutBox")) {
            QVERIFY(editor().isVisible());
            QCOMPARE(surname(), QStringLiteral("Петров"));
        }
        QVERIFY(m_messages->questions().isEmpty());
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

    void closingTheEditorIsCancel_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No") << false;
        QTest::newRow("Yes") << true;
    }
    void closingTheEditorIsCancel()
    {
        QFETCH(bool, yes);
        startARecord();
        m_messages->answerNext(yes);
        editor().windowHandle()->close();
        QCOMPARE(m_messages->questions(), QStringList{kLeaveQuestion});
        QCOMPARE(editor().isVisible(), !yes);
        QCOMPARE(m_program->mainWindow().isEnabled(), yes);
        QCOMPARE(surname(), yes ? QString() : QStringLiteral("Петров"));
        if (!yes)
            QCOMPARE(osago::control<QTabWidget>(editor(), QStringLiteral("PageControl"))->currentIndex(), 1);
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

    void closingAViewedRecordAsksNothing()
    {
        startARecord();
        editor().setRecordMode(PolicyEditor::RecordMode::View, QStringLiteral("0123"));
        editor().windowHandle()->close();
        QVERIFY(!editor().isVisible());
        QVERIFY(m_program->mainWindow().isEnabled());
        QVERIFY(m_messages->questions().isEmpty());
    }

    void theEditorStaysWhileTheDriverDialogIsOpen()
    {
        startARecord();
        openDriverDialog();
        editor().windowHandle()->close();
        QVERIFY(editor().isVisible());
        QVERIFY(m_program->driverDialog().isVisible());
        QCOMPARE(surname(), QStringLiteral("Петров"));
        QVERIFY(m_messages->questions().isEmpty());
    }

    void loggingOutAsksBeforeARecordIsDropped_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("mayAsk");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("record, No") << "new" << true << false << true << true;
        QTest::newRow("record, Yes") << "new" << true << true << true << false;
        QTest::newRow("record, no questions allowed") << "new" << false << false << false << false;
        QTest::newRow("record viewed") << "view" << true << false << false << false;
        QTest::newRow("editor closed") << "closed" << true << false << false << false;
    }
    void loggingOutAsksBeforeARecordIsDropped()
    {
        QFETCH(QString, state);
        QFETCH(bool, mayAsk);
        QFETCH(bool, answer);
        QFETCH(bool, asked);
        QFETCH(bool, cancelled);
        if (state != QLatin1String("closed"))
            startARecord();
        if (state == QLatin1String("view"))
            editor().setRecordMode(PolicyEditor::RecordMode::View, QStringLiteral("0123"));
        if (asked)
            m_messages->answerNext(answer);
        AnsweringLogout logout(mayAsk);
        editor().answerLogout(logout);
        QCOMPARE(m_messages->questions(), asked ? QStringList{kLeaveQuestion} : QStringList{});
        QCOMPARE(logout.cancelled, cancelled);
        QCOMPARE(editor().isVisible(), state != QLatin1String("closed"));
        if (state == QLatin1String("new"))
            QCOMPARE(surname(), QStringLiteral("Петров"));
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }
};

QTEST_MAIN(WindowSystemCloseTest)
#include "WindowSystemCloseTest.moc"
