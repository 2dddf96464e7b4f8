#include "app/MainToolBar.h"

#include "app/CommandButton.h"
#include "app/MainMenu.h"

#include <QAction>
#include <QLayout>
#include <QMainWindow>
#include <QToolBar>

#include <vector>

namespace osago {

namespace {

// One place on the toolbar, left to right; a place without a command is a separator.
struct ToolBarPlace
{
    const char* name;
    QAction* MainCommands::*command;
    QString tooltip;
};

const std::vector<ToolBarPlace>& toolBarLayout()
{
    static const std::vector<ToolBarPlace> layout = {
        {"ToolButton1", &MainCommands::create, QStringLiteral("Создать")},
        {"ToolButton2", &MainCommands::edit, QStringLiteral("Редактировать")},
        {"ToolButton4", &MainCommands::copy, QStringLiteral("Копировать")},
        {"ToolButton5", &MainCommands::remove, QStringLiteral("Удалить")},
        {"ToolButton13", nullptr, {}},
        {"ToolButton7", &MainCommands::search, QStringLiteral("Поиск")},
        {"ToolButton3", &MainCommands::view, QStringLiteral("Просмотр")},
        {"ToolButton9", &MainCommands::print, QStringLiteral("Печать заявления")},
        {"ToolButton10", &MainCommands::printDirect, QStringLiteral("Печать заявления")},
        {"ToolButton11", nullptr, {}},
        {"ToolButton12", &MainCommands::about, QStringLiteral("О программе")},
    };
    return layout;
}

} // namespace

QToolBar* buildMainToolBar(QMainWindow& window, const MainCommands& commands)
{
    auto* toolBar = new QToolBar(&window);
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setFixedHeight(25);
    toolBar->setIconSize(QSize(16, 16));
    toolBar->layout()->setContentsMargins(0, 0, 0, 0);
    toolBar->layout()->setSpacing(0);

    for (const ToolBarPlace& place : toolBarLayout()) {
        if (!place.command) {
            toolBar->addSeparator()->setObjectName(QLatin1String(place.name));
            continue;
        }
        QAction* command = commands.*place.command;
        auto* button = new CommandButton(*command, place.tooltip, toolBar);
        button->setObjectName(QLatin1String(place.name));
        // A toolbar shows or hides its widgets through the actions that hold them; a button is shown as its
        // command is.
        toolBar->addWidget(button)->setVisible(command->isVisible());
    }
    window.addToolBar(Qt::TopToolBarArea, toolBar);
    return toolBar;
}

} // namespace osago
