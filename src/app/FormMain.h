#pragma once

#include "app/MainMenu.h"

#include <QMainWindow>

#include <memory>

class QAbstractItemModel;

namespace osago {

class AboutBox;
class Form2;
class FormAgent;
class FormPoisk;
class Messages;
class RecordCommands;
class WindowedGrid;

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
    ~FormMain() override;

    // The windows the commands show; they are created after the main window.
    void attach(const Windows& windows);
    // The commands over the register's rows and their printing, made after the windows.
    void attachRecords(RecordCommands& records);

    // The read-only register grid `DBGrid`; the register gives it its model.
    WindowedGrid& grid() { return *m_grid; }
    const WindowedGrid& grid() const { return *m_grid; }
    // Shows the register in the grid: whole rows selected, fixed row heights, each column as wide as its title up to
    // a cap, never sized to the rows' contents (that would read every row).
    void showRegister(QAbstractItemModel& model);

    // The commands of the menu and the toolbar, for the command objects made after the window.
    const MainCommands& commands() const { return m_commands; }

    // The agent settings window, made by the first "Пользователи..." and kept; null before.
    FormAgent* formAgent() const { return m_formAgent.get(); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void N2Click();
    void N3Click();
    void N15Click();
    void N12Click();
    void N4Click();
    void N16Click();
    void N7Click();
    void N8Click();
    void N10Click();
    void N14Click();
    void N6Click();

    Messages& m_messages;
    Windows m_windows;
    RecordCommands* m_records = nullptr;
    std::unique_ptr<FormAgent> m_formAgent;
    MainCommands m_commands;
    WindowedGrid* m_grid = nullptr;
};

} // namespace osago
