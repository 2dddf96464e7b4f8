#pragma once

class QAction;
class QMainWindow;

namespace osago {

// The commands of the main window, each one action that the menu item and its toolbar button share.
struct MainCommands
{
    QAction* create = nullptr;         // N2 "Создать..."
    QAction* edit = nullptr;           // N3 "Редактировать..."
    QAction* copy = nullptr;           // N15 "Копировать..."
    QAction* remove = nullptr;         // N12 "Удалить"
    QAction* search = nullptr;         // N4 "Поиск..."
    QAction* view = nullptr;           // N16 "Просмотр..."
    QAction* print = nullptr;          // N7 "Печать..."
    QAction* printDirect = nullptr;    // N8 "Печать", hidden
    QAction* users = nullptr;          // N10 "Пользователи..."
    QAction* receiveBlanks = nullptr;  // N27 "Поступление бланков..."
    QAction* blankJournal = nullptr;   // N28 "Журнал бланков..."
    QAction* blankReport = nullptr;    // N29 "Отчёт по бланкам..."
    QAction* chooseRegister = nullptr; // N25 "Реестр..."
    QAction* commission = nullptr;     // N30 "Вознаграждение..."
    QAction* exportRows = nullptr;     // N20 "Экспорт..."
    QAction* report = nullptr;         // N21 "Отчёт агента..."
    QAction* renewals = nullptr;       // N31 "Окончание договоров..."
    QAction* backup = nullptr;         // N22 "Резервная копия"
    QAction* restore = nullptr;        // N23 "Восстановить из копии..."
    QAction* about = nullptr;          // N14 "О программе..."
    QAction* exit = nullptr;           // N6 "Выход", a command of the menu bar itself
    QAction* reread = nullptr;         // F5: reads the register again; no menu item
};

// Builds the main menu of `window` and returns its commands. Their shortcuts work from every window
// of the program while `window` is enabled, and from none while it is disabled.
MainCommands buildMainMenu(QMainWindow& window);

} // namespace osago
