#pragma once

class QMainWindow;
class QToolBar;

namespace osago {

struct MainCommands;

// Adds the toolbar `ToolBar1` to the top of `window`: picture buttons for the menu commands, in two groups
// set apart by separators.
QToolBar* buildMainToolBar(QMainWindow& window, const MainCommands& commands);

} // namespace osago
