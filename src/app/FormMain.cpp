#include "FormMain.h"

#include "AboutBox.h"
#include "Form2.h"
#include "FormPoisk.h"
#include "MainToolBar.h"
#include "Messages.h"
#include "NewRecord.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QTableView>

namespace osago {

namespace {

// The size the window returns to when the agent restores it from maximised.
constexpr QSize kRestoredSize(744, 378);

// Shows a window without a modal loop and brings it to the front.
void bringUp(QWidget& window)
{
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace

FormMain::FormMain(Messages& messages)
    : m_messages(messages)
{
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("ОСАГО Тальград"));
    resize(kRestoredSize);

    m_commands = buildMainMenu(*this);
    buildMainToolBar(*this, m_commands);

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    setCentralWidget(m_grid);

    connect(m_commands.create, &QAction::triggered, this, &FormMain::N2Click);
    connect(m_commands.search, &QAction::triggered, this, &FormMain::N4Click);
    connect(m_commands.about, &QAction::triggered, this, &FormMain::N14Click);
    connect(m_commands.exit, &QAction::triggered, this, &FormMain::N6Click);
}

void FormMain::attach(const Windows& windows)
{
    m_windows = windows;
}

// A window still open elsewhere (the search window) must not keep the program running.
void FormMain::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        QCoreApplication::quit();
}

void FormMain::N2Click()
{
    prepareNewRecord(*m_windows.editor, QDateTime::currentDateTime());
}

void FormMain::N4Click()
{
    bringUp(*m_windows.search);
}

void FormMain::N14Click()
{
    bringUp(*m_windows.about);
}

void FormMain::N6Click()
{
    if (m_messages.confirm(this, kConfirmTitle, QStringLiteral("Выйти?")))
        close();
}

} // namespace osago
