#include "AppTestSupport.h"
#include "widgets/Controls.h"
#include "editor/PolicyEditor.h"
#include "app/MainWindow.h"
#include "editor/NewRecord.h"
#include "app/Program.h"
#include "ScriptedMessages.h"

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QTabWidget>

#include <memory>

using osago::controlText;
using osago::Program;
using osago::test::ScriptedMessages;

namespace {

const QString kEmptyDate = QStringLiteral("  .  .    ");

const QStringList kHomeLocalities{
    "Тальград", "Анна", "Бобров", "Богучар", "Борисоглебск", "Бутурлиновка", "Грибановский",
    "Калач", "Каменка", "Кантемировка", "Лиски", "Новотальград", "Острогожск", "Павловск",
    "Поворино", "Россошь", "Семилуки", "Таловая", "Эртиль",
};

QStringList itemsOf(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

// Both address blocks hold the home region and its localities, each listed once, "Тальград" chosen.
void verifyHomeAddresses(const osago::PolicyEditor& editor)
{
    for (const char* region : {"ComboBoxRegion", "ComboBoxReg"})
        QCOMPARE(controlText(editor, region), QStringLiteral("Тальградская область"));
    for (const char* locality : {"ComboBoxNasel", "ComboBoxPunkt"}) {
        auto* box = osago::control<QComboBox>(editor, locality);
        QCOMPARE(itemsOf(box), kHomeLocalities);
        QCOMPARE(box->currentText(), QStringLiteral("Тальград"));
    }
}

} // namespace

class NewRecordTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_messages = std::make_unique<ScriptedMessages>();
        m_program = std::make_unique<Program>(*m_messages, osago::test::registerIn(m_folder));
        m_program->start();
        QVERIFY(QTest::qWaitForWindowExposed(&m_program->mainWindow()));
    }

    void cleanup()
    {
        m_program.reset();
        m_messages.reset();
    }

    void writesTheMomentOfTheCommand_data()
    {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::newRow("morning") << QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9)) << "05.03.2024" << "07:08:09";
        QTest::newRow("leap day") << QDateTime(QDate(2024, 2, 29), QTime(12, 30, 0)) << "29.02.2024" << "12:30:00";
        QTest::newRow("last second of a year") << QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59)) << "31.12.1999"
                                               << "23:59:59";
        QTest::newRow("midnight") << QDateTime(QDate(2025, 1, 1), QTime(0, 0, 0)) << "01.01.2025" << "00:00:00";
    }

    void writesTheMomentOfTheCommand()
    {
        QFETCH(QDateTime, moment);
        QFETCH(QString, date);
        QFETCH(QString, time);
        osago::PolicyEditor& editor = m_program->policyEditor();
        osago::prepareNewRecord(editor, moment);

        QVERIFY(editor.isVisible());
        QVERIFY(!m_program->mainWindow().isEnabled());
        QCOMPARE(editor.windowTitle(), QStringLiteral("Создание записи"));
        QCOMPARE(controlText(editor, "LabeledEditData"), date);
        QCOMPARE(controlText(editor, "LabeledEditVydan"), date);
        QCOMPARE(controlText(editor, "LabeledEditVrem"), time);
        QCOMPARE(controlText(editor, "EditS"), date);
        QCOMPARE(controlText(editor, "EditPo"), kEmptyDate);
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

    void periodOfUseFollowsTheWrittenStartDate()
    {
        osago::PolicyEditor& editor = m_program->policyEditor();
        osago::prepareNewRecord(editor, QDateTime(QDate(2024, 6, 17), QTime(10, 0, 0)));
        QCOMPARE(controlText(editor, "EditIS"), QStringLiteral("17.06.2024"));
        QCOMPARE(controlText(editor, "EditIPo"), kEmptyDate);
    }

    void createCommandUsesTheClock()
    {
        const QDateTime before = QDateTime::currentDateTime();
        m_program->mainWindow().findChild<QAction*>(QStringLiteral("N2"))->trigger();
        const QDateTime after = QDateTime::currentDateTime();

        osago::PolicyEditor& editor = m_program->policyEditor();
        QVERIFY(editor.isVisible());
        const QDate date = QDate::fromString(controlText(editor, "LabeledEditData"), QStringLiteral("dd.MM.yyyy"));
        const QTime time = QTime::fromString(controlText(editor, "LabeledEditVrem"), QStringLiteral("hh:mm:ss"));
        QVERIFY(date.isValid());
        QVERIFY(time.isValid());
        const QDateTime written(date, time);
        QVERIFY2(written >= before.addMSecs(-before.time().msec()) && written <= after,
                 qPrintable(written.toString(Qt::ISODate)));
    }

    void localitiesAreListedOnceAfterASecondNewRecord()
    {
        osago::PolicyEditor& editor = m_program->policyEditor();
        QAction* create = m_program->mainWindow().findChild<QAction*>(QStringLiteral("N2"));
        create->trigger();
        verifyHomeAddresses(editor);
        editor.closeRecord();
        create->trigger();
        verifyHomeAddresses(editor);
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

    void secondNewRecordAfterOtherRegionsStartsFromHomeAgain()
    {
        osago::PolicyEditor& editor = m_program->policyEditor();
        osago::prepareNewRecord(editor, QDateTime::currentDateTime());

        auto* pages = osago::control<QTabWidget>(editor, QStringLiteral("PageControl"));
        const QList<std::pair<int, const char*>> regionByPage{{1, "ComboBoxRegion"}, {2, "ComboBoxReg"}};
        for (const auto& [page, name] : regionByPage) {
            pages->setCurrentIndex(page);
            auto* region = osago::control<QComboBox>(editor, name);
            // Down on the closed box picks the next region, the home region first when none is picked yet.
            for (int press = 0; press < 2 && region->currentText() == QStringLiteral("Тальградская область"); ++press)
                QTest::keyClick(region, Qt::Key_Down);
            QVERIFY2(region->currentText() != QStringLiteral("Тальградская область"), name);
        }
        editor.closeRecord();
        QVERIFY(!editor.isVisible());
        QVERIFY(m_program->mainWindow().isEnabled());

        m_program->mainWindow().findChild<QAction*>(QStringLiteral("N2"))->trigger();
        QVERIFY(editor.isVisible());
        verifyHomeAddresses(editor);
        QCOMPARE(editor.windowTitle(), QStringLiteral("Создание записи"));
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

private:
    std::unique_ptr<ScriptedMessages> m_messages;
    QTemporaryDir m_folder;
    std::unique_ptr<Program> m_program;
};

QTEST_MAIN(NewRecordTest)
#include "NewRecordTest.moc"
