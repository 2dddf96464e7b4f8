#pragma once

#include "MainMenu.h"

#include <QMainWindow>

class QTableView;

namespace osago {

class AboutBox;
class Form2;
class FormPoisk;
class Messages;

// The main window: the register grid and every command of the program in its menu and toolbar.
// Closing it ends the program.
class FormMain : public QMainWindow
{
    Q_OBJECT

public:
    struct Windows
    {
        Form2* editor = nullptr;
        FormPoisk* search = nullptr;
        AboutBox* about = nullptr;
    };

    explicit FormMain(Messages& messages);

    // The windows the commands show; they are created after the main window.
    void attach(const Windows& windows);

    // The read-only register grid `DBGrid`; the register gives it its model.
    QTableView& grid() { return *m_grid; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void N2Click();
    void N4Click();
    void N14Click();
    void N6Click();

    Messages& m_messages;
    Windows m_windows;
    MainCommands m_commands;
    QTableView* m_grid = nullptr;
};

} // namespace osago
