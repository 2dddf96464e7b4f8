#include "app/FormMain.h"

#include "app/AboutBox.h"
#include "editor/Form2.h"
#include "app/FormAgent.h"
#include "search/FormPoisk.h"
#include "app/MainToolBar.h"
#include "widgets/Messages.h"
#include "app/RecordCommands.h"
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

    m_grid = new WindowedGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGrid"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setMaximumSectionSize(kMaxColumnWidth * 2);
    setCentralWidget(m_grid);

    connect(m_commands.create, &QAction::triggered, this, &FormMain::N2Click);
    connect(m_commands.edit, &QAction::triggered, this, &FormMain::N3Click);
    connect(m_commands.copy, &QAction::triggered, this, &FormMain::N15Click);
    connect(m_commands.remove, &QAction::triggered, this, &FormMain::N12Click);
    connect(m_commands.search, &QAction::triggered, this, &FormMain::N4Click);
    connect(m_commands.view, &QAction::triggered, this, &FormMain::N16Click);
    connect(m_commands.print, &QAction::triggered, this, &FormMain::N7Click);
    connect(m_commands.printDirect, &QAction::triggered, this, &FormMain::N8Click);
    connect(m_commands.users, &QAction::triggered, this, &FormMain::N10Click);
    connect(m_commands.about, &QAction::triggered, this, &FormMain::N14Click);
    connect(m_commands.exit, &QAction::triggered, this, &FormMain::N6Click);
    connect(m_commands.reread, &QAction::triggered, this, [this] { m_records->rereadRegister(); });
}

FormMain::~FormMain() = default;

void FormMain::attach(const Windows& windows)
{
    m_windows = windows;
}

void FormMain::attachRecords(RecordCommands& records)
{
    m_records = &records;
}

void FormMain::showRegister(QAbstractItemModel& model)
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
void FormMain::closeEvent(QCloseEvent* event)
{
    if (!isEnabled()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        QCoreApplication::quit();
}

void FormMain::N2Click()
{
    m_records->createRecord();
}

void FormMain::N3Click()
{
    m_records->editSelected();
}

void FormMain::N15Click()
{
    m_records->copySelected();
}

void FormMain::N12Click()
{
    m_records->deleteSelected();
}

void FormMain::N4Click()
{
    bringUp(*m_windows.search);
}

void FormMain::N16Click()
{
    m_records->viewSelected();
}

void FormMain::N7Click()
{
    m_records->printSelected();
}

void FormMain::N8Click()
{
    m_records->printSelectedDirectly();
}

// The settings window is made when the agent first asks for it.
void FormMain::N10Click()
{
    if (!m_formAgent)
        m_formAgent = std::make_unique<FormAgent>();
    bringUp(*m_formAgent);
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
