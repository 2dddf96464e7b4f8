#include "ExportTestSupport.h"
#include "MoneyArithmetic.h"
#include "PdfText.h"
#include "RecordingPrinter.h"
#include "RegisterTestSupport.h"
#include "ScriptedFileChoices.h"
#include "app/CommissionWindow.h"
#include "app/ExportCommands.h"
#include "app/PeriodWindow.h"
#include "app/ReportCommands.h"
#include "app/ReportWindow.h"
#include "report/Commission.h"
#include "widgets/MaskedEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QTreeWidget>

using namespace osago;
using namespace osago::test;

namespace {

const AgentIssue kIssues[] = {
    {"05.03.2026", "1497,7462", "Иванова А. А."}, {"10.03.2026", "100,04", "Петров П. П."},
    {"20.03.2026", "2851,2", "Иванова А. А."},    {"25.03.2026", "8174,0899", "Иванова А. А."},
};

void typeText(QWidget* field, const QString& text)
{
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

} // namespace

// "Вознаграждение..." and the report and export of one agent, through the menu and the windows, on a register file
// and on the test server.
class CommissionWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { useTestSettings("test_commission_window"); }

    void init()
    {
        m_register = std::make_unique<TestRegister>();
        m_messages = std::make_unique<ScriptedMessages>();
        auto files = std::make_unique<ScriptedFileChoices>();
        m_files = files.get();
        m_program = std::make_unique<Program>(
            *m_messages, ProgramOptions{m_register->location(), std::make_unique<RecordingPrinter>(), std::move(files)});
        m_program->start();
        int n = 0;
        for (const AgentIssue& issue : kIssues) {
            PolicyRow row = awkwardRow(n++, QString::fromUtf8(issue.issued), QString::fromUtf8(issue.premium));
            row.setValue(u"ФИО_агента", QString::fromUtf8(issue.agent));
            QVERIFY(m_program->database().insert(row).ok);
        }
        QVERIFY(QTest::qWaitForWindowExposed(&m_program->mainWindow()));
    }
    void cleanup()
    {
        m_program.reset();
        m_messages.reset();
        m_register.reset();
    }

    // Rates typed in the window are listed the latest first; one not after the last is refused with the reason.
    void ratesAreAddedInTheWindow()
    {
        CommissionWindow& window = openRates();
        addRate(window, QStringLiteral("01.01.2026"), QStringLiteral("10"));
        addRate(window, QStringLiteral("15.03.2026"), QStringLiteral("12,5"));
        addRate(window, QStringLiteral("01.02.2026"), QStringLiteral("9"));
        QCOMPARE(m_messages->shown().size(), 1);
        QVERIFY(m_messages->shown().front().text.contains(QStringLiteral("только после последней")));
        addRate(window, QStringLiteral("01.05.2026"), QStringLiteral("100,5"));
        QCOMPARE(m_messages->shown().size(), 2);
        QVERIFY(m_messages->shown().back().text.contains(QStringLiteral("от 0 до 100")));
        auto* list = window.findChild<QTreeWidget*>(QStringLiteral("ListRates"));
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("15.03.2026"));
        QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("12,5"));
        QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("10"));
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

    // The period window lists the period's agents; one picked gives a report of their policies with the money
    // worked out in the test, and an export of their rows.
    void reportAndExportOfOneAgent()
    {
        CommissionWindow& window = openRates();
        addRate(window, QStringLiteral("01.01.2026"), QStringLiteral("10"));
        addRate(window, QStringLiteral("15.03.2026"), QStringLiteral("12,5"));
        window.hide();

        PeriodWindow& period = m_program->reportCommands().periodWindow();
        QTest::keyClick(&m_program->mainWindow(), Qt::Key_R, Qt::ControlModifier);
        pickAgent(period);
        clickButton(period, "ButtonOk");
        const QString pdf = m_register->folder() + QStringLiteral("/agent.pdf");
        m_files->answerNext(pdf);
        clickButton(m_program->reportCommands().reportWindow(), "ButtonPdf");
        const QString text = pdfPages(pdf).join(u'\n');

        Wide commissions = 0;
        Wide transfers = 0;
        for (const AgentIssue& issue : kIssues) {
            if (QString::fromUtf8(issue.agent) != kAgent)
                continue;
            const int rate = QString::fromUtf8(issue.issued).left(2).toInt() < 15 ? 1000 : 1250; // 12,5 from 15.03
            const Wide commission = commissionKopecks(QString::fromUtf8(issue.premium), rate);
            commissions += commission;
            transfers += roundedKopecks(QString::fromUtf8(issue.premium)) - commission;
        }
        QVERIFY2(text.contains(QStringLiteral("Агент: ") + kAgent), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Итого полисов: 3")));
        QVERIFY(text.contains(QStringLiteral("Вознаграждение агента: %1 руб.").arg(kopecks(commissions))));
        QVERIFY(text.contains(QStringLiteral("К перечислению страховщику: %1 руб.").arg(kopecks(transfers))));
        QVERIFY(!text.contains(QStringLiteral("10.03.2026")));

        m_messages->clearRecord();
        m_program->mainWindow().findChild<QAction*>(QStringLiteral("N20"))->trigger();
        PeriodWindow& exportPeriod = m_program->exportCommands().periodWindow();
        exportPeriod.findChild<QCheckBox*>(QStringLiteral("CheckBoxPeriod"))->setChecked(true);
        pickAgent(exportPeriod);
        const QString csv = m_register->folder() + QStringLiteral("/agent.csv");
        m_files->answerNext(csv);
        clickButton(exportPeriod, "ButtonOk");
        QCOMPARE(m_messages->shownTexts(), QStringList{QStringLiteral("Экспорт завершён. Записано строк: 3.")});
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

private:
    const QString kAgent = QStringLiteral("Иванова А. А.");

    CommissionWindow& openRates()
    {
        m_program->mainWindow().findChild<QAction*>(QStringLiteral("N30"))->trigger();
        CommissionWindow* window = m_program->commissionWindow();
        [&] { QVERIFY(window && window->isVisible()); }();
        return *window;
    }

    void addRate(CommissionWindow& window, const QString& from, const QString& rate)
    {
        window.findChild<MaskedEdit*>(QStringLiteral("EditRateFrom"))->setMaskedText(from);
        auto* edit = window.findChild<QLineEdit*>(QStringLiteral("EditRate"));
        edit->clear();
        typeText(edit, rate);
        clickButton(window, "ButtonAddRate");
    }

    // March typed in, the agent picked from the list with the keyboard.
    void pickAgent(PeriodWindow& period)
    {
        period.findChild<MaskedEdit*>(QStringLiteral("EditFrom"))->setMaskedText(QStringLiteral("01.03.2026"));
        period.findChild<MaskedEdit*>(QStringLiteral("EditTo"))->setMaskedText(QStringLiteral("31.03.2026"));
        auto* agents = period.findChild<QComboBox*>(QStringLiteral("ComboBoxAgent"));
        // The period's agents are read when the drop-down is reached.
        agents->setFocus();
        QTRY_COMPARE(agents->count(), 3);
        QCOMPARE(agents->itemText(0), QStringLiteral("Все агенты"));
        QTest::keyClick(agents, Qt::Key_Down);
        QCOMPARE(agents->currentText(), kAgent);
    }

    std::unique_ptr<TestRegister> m_register;
    std::unique_ptr<ScriptedMessages> m_messages;
    ScriptedFileChoices* m_files = nullptr;
    std::unique_ptr<Program> m_program;
};

QTEST_MAIN(CommissionWindowTest)
#include "CommissionWindowTest.moc"
