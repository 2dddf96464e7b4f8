#pragma once

#include "app/MainMenu.h"

#include <QMainWindow>

#include <memory>

class QAbstractItemModel;

namespace osago {

class AgentWindow;
class Messages;
class WindowedGrid;

// The main window: the register grid and every command of the program in its menu and toolbar. Each command is
// connected to the object that carries it out, by that object or by the program; the window carries out only its
// own: "Пользователи..." and "Выход". Closing it ends the program.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(Messages& messages);
    ~MainWindow() override;

    // The read-only register grid `DBGrid`; the register gives it its model.
    WindowedGrid& grid() { return *m_grid; }
    const WindowedGrid& grid() const { return *m_grid; }
    // Shows the register in the grid: whole rows selected, fixed row heights, each column as wide as its title up to
    // a cap, never sized to the rows' contents (that would read every row).
    void showRegister(QAbstractItemModel& model);

    // The commands of the menu and the toolbar, for the objects made after the window that carry them out.
    const MainCommands& commands() const { return m_commands; }

    // The agent settings window, made by the first "Пользователи..." and kept; null before.
    AgentWindow* agentWindow() const { return m_agentWindow.get(); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // "Пользователи...": the agent settings window, made the first time.
    void showAgentSettings();
    // "Выход": closes the window, so ends the program, once the agent confirms.
    void confirmExit();

    Messages& m_messages;
    std::unique_ptr<AgentWindow> m_agentWindow;
    MainCommands m_commands;
    WindowedGrid* m_grid = nullptr;
};

} // namespace osago
