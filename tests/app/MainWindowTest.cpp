#include "app/AboutBox.h"
#include "AppTestSupport.h"
#include "app/MainWindow.h"
#include "search/SearchWindow.h"
#include "app/Program.h"
#include "ScriptedMessages.h"
#include "widgets/WindowedGrid.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QWindow>

#include <memory>

using osago::MainWindow;
using osago::Program;
using osago::test::ScriptedMessages;

namespace {

QImage pictureOf(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage();
}

void moveMouseOver(QWidget* widget)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_messages = std::make_unique<ScriptedMessages>();
        m_program = std::make_unique<Program>(*m_messages, osago::test::registerIn(m_folder));
    }

    void cleanup()
    {
        m_program.reset();
        m_messages.reset();
    }

    void opensMaximisedWithItsCaptionAndAReadOnlyGrid()
    {
        m_program->start();
        MainWindow& main = m_program->mainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QCOMPARE(main.objectName(), QStringLiteral("FormMain"));
        QCOMPARE(main.windowTitle(), QStringLiteral("ОСАГО Тальград"));
        QVERIFY(main.isMaximized());

        auto* grid = main.findChild<QTableView*>(QStringLiteral("DBGrid"));
        QVERIFY(grid);
        QCOMPARE(main.centralWidget(), grid);
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(&main.grid(), grid);
    }

    void menuBarHoldsTheTopEntriesInOrder()
    {
        const QList<QAction*> entries = m_program->mainWindow().menuBar()->actions();
        QStringList names;
        QStringList titles;
        for (QAction* entry : entries) {
            names << (entry->menu() ? entry->menu()->objectName() : entry->objectName());
            titles << entry->text();
        }
        QCOMPARE(names, (QStringList{"N1", "N5", "N26", "N9", "N19", "N13", "N6"}));
        QCOMPARE(titles, (QStringList{"Запись", "Заявление", "Бланки", "Настройки", "Сервис", "Помощь", "Выход"}));
        QVERIFY2(!entries.last()->menu(), "\"Выход\" is a command of the menu bar, not a drop-down");
    }

    void dropDownsHoldTheirItemsInOrder_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("Запись") << "N1" << QStringList{"N2", "N3", "N15", "N12", "N18", "N4", "N16"};
        QTest::newRow("Заявление") << "N5" << QStringList{"N7", "N8"};
        QTest::newRow("Бланки") << "N26" << QStringList{"N27", "N28", "N29"};
        QTest::newRow("Настройки") << "N9" << QStringList{"N10", "N25", "N30"};
        QTest::newRow("Сервис") << "N19" << QStringList{"N20", "N21", "N31", "N24", "N22", "N23"};
        QTest::newRow("Помощь") << "N13" << QStringList{"N14"};
    }

    void dropDownsHoldTheirItemsInOrder()
    {
        QFETCH(QString, menu);
        QFETCH(QStringList, items);
        auto* dropDown = m_program->mainWindow().findChild<QMenu*>(menu);
        QVERIFY(dropDown);
        QStringList names;
        for (QAction* item : dropDown->actions())
            names << item->objectName();
        QCOMPARE(names, items);
        if (menu == QLatin1String("N1"))
            QVERIFY(dropDown->actions().at(4)->isSeparator());
        if (menu == QLatin1String("N19"))
            QVERIFY(dropDown->actions().at(int(items.indexOf(QStringLiteral("N24"))))->isSeparator());
    }

    void commandsCarryTextShortcutAndPicture_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QKeySequence>("shortcut");
        QTest::addColumn<bool>("hasPicture");
        QTest::newRow("N2") << "N2" << "Создать..." << QKeySequence("Ctrl+N") << true;
        QTest::newRow("N3") << "N3" << "Редактировать..." << QKeySequence("Ctrl+O") << true;
        QTest::newRow("N15") << "N15" << "Копировать..." << QKeySequence("Ctrl+K") << true;
        QTest::newRow("N12") << "N12" << "Удалить" << QKeySequence("Ctrl+D") << true;
        QTest::newRow("N4") << "N4" << "Поиск..." << QKeySequence("Ctrl+F") << true;
        QTest::newRow("N16") << "N16" << "Просмотр..." << QKeySequence("Ctrl+W") << true;
        QTest::newRow("N7") << "N7" << "Печать..." << QKeySequence("Ctrl+P") << true;
        QTest::newRow("N8") << "N8" << "Печать" << QKeySequence() << true;
        QTest::newRow("N10") << "N10" << "Пользователи..." << QKeySequence("Ctrl+U") << false;
        QTest::newRow("N25") << "N25" << "Реестр..." << QKeySequence() << false;
        QTest::newRow("N14") << "N14" << "О программе..." << QKeySequence("Ctrl+F1") << true;
        QTest::newRow("N20") << "N20" << "Экспорт..." << QKeySequence("Ctrl+E") << false;
        QTest::newRow("N21") << "N21" << "Отчёт агента..." << QKeySequence("Ctrl+R") << false;
        QTest::newRow("N31") << "N31" << "Окончание договоров..." << QKeySequence("Ctrl+L") << false;
        QTest::newRow("N22") << "N22" << "Резервная копия" << QKeySequence() << false;
        QTest::newRow("N23") << "N23" << "Восстановить из копии..." << QKeySequence() << false;
        QTest::newRow("N27") << "N27" << "Поступление бланков..." << QKeySequence() << false;
        QTest::newRow("N28") << "N28" << "Журнал бланков..." << QKeySequence("Ctrl+B") << false;
        QTest::newRow("N29") << "N29" << "Отчёт по бланкам..." << QKeySequence() << false;
        QTest::newRow("N6") << "N6" << "Выход" << QKeySequence("Ctrl+Q") << false;
    }

    void commandsCarryTextShortcutAndPicture()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QKeySequence, shortcut);
        QFETCH(bool, hasPicture);
        auto* command = m_program->mainWindow().findChild<QAction*>(name);
        QVERIFY(command);
        QCOMPARE(command->text(), text);
        QCOMPARE(command->shortcut(), shortcut);
        QCOMPARE(command->shortcuts().size(), shortcut.isEmpty() ? 0 : 1);
        if (!shortcut.isEmpty())
            QCOMPARE(command->shortcutContext(), Qt::ApplicationShortcut);
        QCOMPARE(!command->icon().isNull(), hasPicture);
        if (hasPicture)
            QVERIFY2(!pictureOf(command->icon()).isNull(), "the picture does not render");
    }

    void everyCommandHasAPictureOfItsOwn()
    {
        const QStringList distinct{"N2", "N3", "N15", "N12", "N4", "N16", "N7", "N14"};
        QList<QImage> seen;
        for (const QString& name : distinct) {
            const QImage picture = pictureOf(m_program->mainWindow().findChild<QAction*>(name)->icon());
            QVERIFY2(!seen.contains(picture), qPrintable(name + " shares its picture"));
            seen << picture;
        }
        const auto* print = m_program->mainWindow().findChild<QAction*>(QStringLiteral("N7"));
        const auto* printDirect = m_program->mainWindow().findChild<QAction*>(QStringLiteral("N8"));
        QCOMPARE(pictureOf(printDirect->icon()), pictureOf(print->icon()));
    }

    void toolBarPlacesInOrder()
    {
        auto* toolBar = m_program->mainWindow().findChild<QToolBar*>(QStringLiteral("ToolBar1"));
        QVERIFY(toolBar);
        QCOMPARE(toolBar->height(), 25);
        QStringList names;
        QList<bool> separators;
        for (QAction* place : toolBar->actions()) {
            QWidget* button = toolBar->widgetForAction(place);
            names << (place->isSeparator() ? place->objectName() : button->objectName());
            separators << place->isSeparator();
        }
        QCOMPARE(names, (QStringList{"ToolButton1", "ToolButton2", "ToolButton4", "ToolButton5", "ToolButton13",
                                     "ToolButton7", "ToolButton3", "ToolButton9", "ToolButton10", "ToolButton11",
                                     "ToolButton12"}));
        QCOMPARE(separators, (QList<bool>{false, false, false, false, true, false, false, false, false, true, false}));
    }

    void toolButtonsStandInForTheirCommands_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("tooltip");
        QTest::newRow("ToolButton1") << "ToolButton1" << "N2" << "Создать";
        QTest::newRow("ToolButton2") << "ToolButton2" << "N3" << "Редактировать";
        QTest::newRow("ToolButton4") << "ToolButton4" << "N15" << "Копировать";
        QTest::newRow("ToolButton5") << "ToolButton5" << "N12" << "Удалить";
        QTest::newRow("ToolButton7") << "ToolButton7" << "N4" << "Поиск";
        QTest::newRow("ToolButton3") << "ToolButton3" << "N16" << "Просмотр";
        QTest::newRow("ToolButton9") << "ToolButton9" << "N7" << "Печать заявления";
        QTest::newRow("ToolButton10") << "ToolButton10" << "N8" << "Печать заявления";
        QTest::newRow("ToolButton12") << "ToolButton12" << "N14" << "О программе";
    }

    void toolButtonsStandInForTheirCommands()
    {
        QFETCH(QString, button);
        QFETCH(QString, command);
        QFETCH(QString, tooltip);
        auto* toolButton = m_program->mainWindow().findChild<QToolButton*>(button);
        auto* action = m_program->mainWindow().findChild<QAction*>(command);
        QVERIFY(toolButton);
        QCOMPARE(toolButton->defaultAction(), action);
        QCOMPARE(toolButton->toolButtonStyle(), Qt::ToolButtonIconOnly);
        QCOMPARE(pictureOf(toolButton->icon()), pictureOf(action->icon()));

        QVERIFY2(toolButton->toolTip().isEmpty(), "a tooltip before the mouse ever moved over the button");
        moveMouseOver(toolButton);
        QCOMPARE(toolButton->toolTip(), tooltip);

        // A change of the command must not bring its caption back as the tooltip.
        action->setEnabled(false);
        action->setEnabled(true);
        QCOMPARE(toolButton->toolTip(), tooltip);
    }

    void printButtonShowsItsOwnTooltipNotTheCaption()
    {
        m_program->start();
        auto* button = m_program->mainWindow().findChild<QToolButton*>(QStringLiteral("ToolButton9"));
        QVERIFY(QTest::qWaitForWindowExposed(button));
        moveMouseOver(button);
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(button, &help);
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("Печать заявления"));
        QToolTip::hideText();
    }

    void directPrintIsNeverShown()
    {
        m_program->start();
        MainWindow& main = m_program->mainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QVERIFY(!main.findChild<QAction*>(QStringLiteral("N8"))->isVisible());
        QVERIFY(!main.findChild<QToolButton*>(QStringLiteral("ToolButton10"))->isVisible());
        QVERIFY(main.findChild<QToolButton*>(QStringLiteral("ToolButton9"))->isVisible());
        QVERIFY(main.findChild<QToolButton*>(QStringLiteral("ToolButton12"))->isVisible());
    }

    void toolButtonRunsItsCommand()
    {
        m_program->start();
        auto* about = m_program->mainWindow().findChild<QToolButton*>(QStringLiteral("ToolButton12"));
        QVERIFY(QTest::qWaitForWindowExposed(about));
        QTest::mouseClick(about, Qt::LeftButton);
        QTRY_VERIFY(m_program->aboutBox().isVisible());
    }

    void exitAnsweredNoLeavesEverythingAsItWas()
    {
        m_program->start();
        MainWindow& main = m_program->mainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QStandardItemModel registerModel(3, 2);
        main.grid().setSourceModel(&registerModel);
        main.grid().selectSourceCell(1, 1);

        m_messages->answerNext(false);
        main.findChild<QAction*>(QStringLiteral("N6"))->trigger();

        QCOMPARE(m_messages->questions(), QStringList{"Confirm: Выйти?"});
        QVERIFY(main.isVisible());
        QVERIFY(main.isEnabled());
        QVERIFY(main.isMaximized());
        QCOMPARE(main.grid().selectedSourceRow(), 1);
        QCOMPARE(main.grid().currentIndex().column(), 1);
        main.grid().setSourceModel(nullptr);
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

    void exitAnsweredYesClosesTheMainWindow()
    {
        m_program->start();
        MainWindow& main = m_program->mainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        m_messages->answerNext(true);
        main.findChild<QAction*>(QStringLiteral("N6"))->trigger();
        QCOMPARE(m_messages->questions(), QStringList{"Confirm: Выйти?"});
        QVERIFY(!main.isVisible());
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

    void leavingEndsTheProgramEvenWithTheSearchWindowOpen()
    {
        m_program->start();
        MainWindow& main = m_program->mainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        main.findChild<QAction*>(QStringLiteral("N4"))->trigger();
        QVERIFY(m_program->searchWindow().isVisible());

        // The program's own message loop, as main() runs it: it must end with the main window.
        m_messages->answerNext(true);
        QTimer::singleShot(0, main.findChild<QAction*>(QStringLiteral("N6")), &QAction::trigger);
        QTimer giveUp;
        giveUp.setSingleShot(true);
        connect(&giveUp, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
        giveUp.start(5000);
        QCOMPARE(QApplication::exec(), 0);
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

    void closeBoxClosesWithoutAsking()
    {
        m_program->start();
        MainWindow& main = m_program->mainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        main.windowHandle()->close();
        QVERIFY(!main.isVisible());
        QVERIFY(m_messages->questions().isEmpty());
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

private:
    std::unique_ptr<ScriptedMessages> m_messages;
    QTemporaryDir m_folder;
    std::unique_ptr<Program> m_program;
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
