#include "app/MainWindow.h"

#include "app/AgentWindow.h"
#include "app/MainToolBar.h"
#include "widgets/Messages.h"
#include "widgets/WindowedGrid.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHeaderView>

#include <algorithm>

namespace osago {

namespace {

// The size the window returns to when the agent restores it from maximised.
constexpr QSize kRestoredSize(744, 378);

// A grid column is as wide as its title, but no wider than this.
constexpr int kMaxColumnWidth = 200;
constexpr int kColumnPadding = 16;

} // namespace

MainWindow::MainWindow(Messages& messages)
    : m_messages(messages)
{
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("ОСАГО Тальград"));
    resize(kRestoredSize);

    m_commands = buildMainMenu(*this);
    buildMainToolBar(*this, m_commands);

    m_grid = new WindowedGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGrid"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setMaximumSectionSize(kMaxColumnWidth * 2);
    setCentralWidget(m_grid);

    connect(m_commands.users, &QAction::triggered, this, &MainWindow::showAgentSettings);
    connect(m_commands.exit, &QAction::triggered, this, &MainWindow::confirmExit);
}

MainWindow::~MainWindow() = default;

void MainWindow::showRegister(QAbstractItemModel& model)
{
    m_grid->setSourceModel(&model);
    QHeaderView* titles = m_grid->horizontalHeader();
    for (int column = 0; column < model.columnCount(); ++column) {
        const QString title = model.headerData(column, Qt::Horizontal).toString();
        const int width = titles->fontMetrics().horizontalAdvance(title) + kColumnPadding;
        titles->resizeSection(column, std::min(width, kMaxColumnWidth));
    }
}

// While the editor, the driver dialog, the about box or the preview is open the main window is disabled and takes
// no input, the window system's close included: the record in the editor is not lost. A window still open elsewhere
// (the search window) must not keep the program running.
void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!isEnabled()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        QCoreApplication::quit();
}

// The settings window is made when the agent first asks for it; it is shown without a modal loop, in front.
void MainWindow::showAgentSettings()
{
    if (!m_agentWindow)
        m_agentWindow = std::make_unique<AgentWindow>();
    m_agentWindow->show();
    m_agentWindow->raise();
    m_agentWindow->activateWindow();
}

void MainWindow::confirmExit()
{
    if (m_messages.confirm(this, kConfirmTitle, QStringLiteral("Выйти?")))
        close();
}

} // namespace osago
