#include "app/MainMenu.h"

#include "app/Pictures.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include <optional>
#include <vector>

namespace osago {

namespace {

// One row of a drop-down menu; a row without a command is a separator.
struct MenuItem
{
    QAction* MainCommands::*command;
    const char* name;
    QString text;
    QKeySequence shortcut;
    std::optional<Picture> picture;
};

struct TopEntry
{
    const char* name;
    QString title;
    std::vector<MenuItem> items;
};

const std::vector<TopEntry>& menuLayout()
{
    static const std::vector<TopEntry> layout = {
        {"N1", QStringLiteral("Запись"),
         {
             {&MainCommands::create, "N2", QStringLiteral("Создать..."), Qt::CTRL | Qt::Key_N, Picture::Create},
             {&MainCommands::edit, "N3", QStringLiteral("Редактировать..."), Qt::CTRL | Qt::Key_O, Picture::Edit},
             {&MainCommands::copy, "N15", QStringLiteral("Копировать..."), Qt::CTRL | Qt::Key_K, Picture::Copy},
             {&MainCommands::remove, "N12", QStringLiteral("Удалить"), Qt::CTRL | Qt::Key_D, Picture::Delete},
             {nullptr, "N18", {}, {}, {}},
             {&MainCommands::search, "N4", QStringLiteral("Поиск..."), Qt::CTRL | Qt::Key_F, Picture::Search},
             {&MainCommands::view, "N16", QStringLiteral("Просмотр..."), Qt::CTRL | Qt::Key_W, Picture::View},
         }},
        {"N5", QStringLiteral("Заявление"),
         {
             {&MainCommands::print, "N7", QStringLiteral("Печать..."), Qt::CTRL | Qt::Key_P, Picture::Print},
             {&MainCommands::printDirect, "N8", QStringLiteral("Печать"), {}, Picture::Print},
         }},
        {"N26", QStringLiteral("Бланки"),
         {
             {&MainCommands::receiveBlanks, "N27", QStringLiteral("Поступление бланков..."), {}, {}},
             {&MainCommands::blankJournal, "N28", QStringLiteral("Журнал бланков..."), Qt::CTRL | Qt::Key_B, {}},
             {&MainCommands::blankReport, "N29", QStringLiteral("Отчёт по бланкам..."), {}, {}},
         }},
        {"N9", QStringLiteral("Настройки"),
         {
             {&MainCommands::users, "N10", QStringLiteral("Пользователи..."), Qt::CTRL | Qt::Key_U, {}},
             {&MainCommands::chooseRegister, "N25", QStringLiteral("Реестр..."), {}, {}},
             {&MainCommands::commission, "N30", QStringLiteral("Вознаграждение..."), {}, {}},
         }},
        {"N19", QStringLiteral("Сервис"),
         {
             {&MainCommands::exportRows, "N20", QStringLiteral("Экспорт..."), Qt::CTRL | Qt::Key_E, {}},
             {&MainCommands::report, "N21", QStringLiteral("Отчёт агента..."), Qt::CTRL | Qt::Key_R, {}},
             {&MainCommands::renewals, "N31", QStringLiteral("Окончание договоров..."), Qt::CTRL | Qt::Key_L, {}},
             {nullptr, "N24", {}, {}, {}},
             {&MainCommands::backup, "N22", QStringLiteral("Резервная копия"), {}, {}},
             {&MainCommands::restore, "N23", QStringLiteral("Восстановить из копии..."), {}, {}},
         }},
        {"N13", QStringLiteral("Помощь"),
         {
             {&MainCommands::about, "N14", QStringLiteral("О программе..."), Qt::CTRL | Qt::Key_F1, Picture::About},
         }},
    };
    return layout;
}

QAction* makeCommand(QMainWindow& window, const char* name, const QString& text, const QKeySequence& shortcut,
                     const std::optional<Picture>& picture)
{
    auto* action = new QAction(text, &window);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    // The main window's commands stay reachable from the search window and every other window,
    // yet fall silent while the editor or the about dialog keeps the main window disabled.
    action->setShortcutContext(Qt::ApplicationShortcut);
    if (picture)
        action->setIcon(commandPicture(*picture));
    return action;
}

} // namespace

MainCommands buildMainMenu(QMainWindow& window)
{
    MainCommands commands;
    QMenuBar* bar = window.menuBar();
    for (const TopEntry& entry : menuLayout()) {
        auto* menu = new QMenu(entry.title, bar);
        menu->setObjectName(QLatin1String(entry.name));
        for (const MenuItem& item : entry.items) {
            if (!item.command) {
                menu->addSeparator()->setObjectName(QLatin1String(item.name));
                continue;
            }
            QAction* action = makeCommand(window, item.name, item.text, item.shortcut, item.picture);
            menu->addAction(action);
            commands.*item.command = action;
        }
        bar->addMenu(menu);
    }
    // Direct printing has a command but no visible item: the menu and the toolbar hide it.
    commands.printDirect->setVisible(false);

    commands.exit = makeCommand(window, "N6", QStringLiteral("Выход"), Qt::CTRL | Qt::Key_Q, std::nullopt);
    bar->addAction(commands.exit);
    // The grid is a snapshot of the register; F5 shows what other desks and programs have written since.
    commands.reread = makeCommand(window, "Reread", QStringLiteral("Прочитать реестр заново"), Qt::Key_F5, std::nullopt);
    window.addAction(commands.reread);
    return commands;
}

} // namespace osago
