#include "widgets/Controls.h"
#include "editor/PolicyEditor.h"
#include "app/MainWindow.h"
#include "search/SearchWindow.h"
#include "storage/PolicyRow.h"
#include "app/Program.h"
#include "grid/RegisterModel.h"
#include "ScriptedMessages.h"
#include "SearchTestSupport.h"
#include "widgets/WindowedGrid.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>

#include <memory>

using osago::control;
using osago::Program;
using osago::test::ScriptedMessages;

// The search window within the whole program over a register of its own: shown by the main window's command,
// never twice, leaving the main window enabled, restricting the main window's grid, and letting the main menu's
// shortcuts through.
class SearchProgramTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<osago::test::TestRegister> m_register;
    std::unique_ptr<ScriptedMessages> m_messages;
    std::unique_ptr<Program> m_program;

    osago::SearchWindow& search() { return m_program->searchWindow(); }
    void trigger(const char* command) { control<QAction>(m_program->mainWindow(), QLatin1String(command))->trigger(); }

    static int visibleSearchWindows()
    {
        int count = 0;
        for (QWidget* window : QApplication::topLevelWidgets())
            count += window->objectName() == QLatin1String("FormPoisk") && window->isVisible();
        return count;
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        m_register = std::make_unique<osago::test::TestRegister>();
        m_messages = std::make_unique<ScriptedMessages>();
        m_program = std::make_unique<Program>(*m_messages, osago::ProgramOptions{m_register->location()});
        // Attaching again changes nothing, so the test does not depend on where the program attaches it.
        search().attachRegister(m_program->database(), m_program->registerModel());
        m_program->start();
        QVERIFY(QTest::qWaitForWindowExposed(&m_program->mainWindow()));
    }

    void cleanup()
    {
        m_program.reset();
        m_messages.reset();
        m_register.reset();
    }

    void shownTwiceIsOneWindowAndTheMainWindowStaysEnabled()
    {
        trigger("N4");
        QTRY_VERIFY(search().isVisible());
        QVERIFY(m_program->mainWindow().isEnabled());
        QCOMPARE(search().frameGeometry().center(), m_program->mainWindow().frameGeometry().center());

        trigger("N4");
        QCOMPARE(visibleSearchWindows(), 1);
        QVERIFY(m_program->mainWindow().isEnabled());
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

    void ctrlNTypedInTheWordStartsANewRecord()
    {
        trigger("N4");
        auto* word = control<QLineEdit>(search(), QStringLiteral("EditPoisk"));
        QVERIFY(QTest::qWaitForWindowActive(&search()));
        QTRY_COMPARE(QApplication::focusWidget(), word);
        QTest::keyClick(word, Qt::Key_N, Qt::ControlModifier);
        QTRY_VERIFY(m_program->policyEditor().isVisible());
        QCOMPARE(m_program->policyEditor().windowTitle(), QStringLiteral("Создание записи"));
        QCOMPARE(word->text(), QStringLiteral("Введите слово для поиска"));
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

    // The main window's grid shows the rows found; deleting one of them keeps the search and its count.
    void deletingAFoundRowKeepsTheSearch()
    {
        for (const char* surname : {"Иванов", "Петров", "ИВАНОВА"}) {
            osago::PolicyRow row;
            row.setValue(u"Страхователь_фамилия_фирма", QString::fromUtf8(surname));
            QVERIFY(m_program->database().insert(row).ok);
        }
        QVERIFY(m_program->registerModel().refresh().ok);
        trigger("N4");
        osago::test::typeWord(control<QLineEdit>(search(), QStringLiteral("EditPoisk")), QStringLiteral("иван"));
        QTest::mouseClick(control<QPushButton>(search(), QStringLiteral("ButtonStart")), Qt::LeftButton);
        osago::WindowedGrid& grid = m_program->mainWindow().grid();
        QCOMPARE(grid.sourceModel()->rowCount(), 2);

        grid.selectSourceCell(0);
        m_messages->answerNext(true);
        trigger("N12");
        QCOMPARE(grid.sourceModel()->rowCount(), 1);
        QCOMPARE(grid.sourceModel()->index(0, 0).data().toString(), QStringLiteral("ИВАНОВА"));
        QCOMPARE(control<QLabel>(search(), QStringLiteral("LabelNaideno"))->text(),
                 QStringLiteral("Найдено записей: 1"));
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }
};

QTEST_MAIN(SearchProgramTest)
#include "SearchProgramTest.moc"
