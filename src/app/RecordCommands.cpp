#include "RecordCommands.h"

#include "AgentSettings.h"
#include "EditorRecord.h"
#include "FormMain.h"
#include "Messages.h"
#include "PolicyDatabase.h"
#include "PrintService.h"
#include "RegisterModel.h"
#include "ResultsPage.h"
#include "WindowedGrid.h"

#include <QScrollBar>

#include <algorithm>

namespace osago {

namespace {

const QString kChangeCaption = QStringLiteral("Редактирование записи");
const QString kNewCaption = QStringLiteral("Создание записи");
const QString kViewCaption = QStringLiteral("Просмотр записи");

} // namespace

RecordCommands::RecordCommands(Messages& messages, FormMain& mainWindow, Form2& editor, PolicyDatabase& database,
                               RegisterModel& model, std::unique_ptr<DocumentPrinter> printer)
    : m_messages(messages)
    , m_mainWindow(mainWindow)
    , m_editor(editor)
    , m_database(database)
    , m_model(model)
{
    if (!printer)
        printer = std::make_unique<SystemPrinter>();
    m_printService = std::make_unique<PrintService>(m_messages, m_mainWindow, std::move(printer));
    connect(&m_editor, &Form2::saveRequested, this, &RecordCommands::saveEditorRecord);
    connect(&m_editor.resultsPage(), &ResultsPage::printRequested, this, &RecordCommands::printEditorRecord);
}

RecordCommands::~RecordCommands() = default;

void RecordCommands::editSelected()
{
    openSelected(Form2::RecordMode::Change, kChangeCaption);
}

void RecordCommands::copySelected()
{
    openSelected(Form2::RecordMode::New, kNewCaption);
}

void RecordCommands::viewSelected()
{
    openSelected(Form2::RecordMode::View, kViewCaption);
}

void RecordCommands::deleteSelected()
{
    const std::optional<int> row = selectedRowOrSay();
    if (!row || !m_messages.confirm(&m_mainWindow, kConfirmTitle, kDeleteQuestion))
        return;
    const StorageStatus removed = m_database.remove(m_model.codeAt(*row));
    if (!removed.ok) {
        reportFailure(&m_mainWindow, removed.error);
        return;
    }
    refreshGrid({}, *row);
}

void RecordCommands::printSelected()
{
    if (const std::optional<PrintRecord> record = selectedPrintRecord())
        m_printService->preview(*record);
}

void RecordCommands::printSelectedDirectly()
{
    if (const std::optional<PrintRecord> record = selectedPrintRecord())
        m_printService->printDirect(*record);
}

void RecordCommands::saveEditorRecord()
{
    const Form2::RecordMode mode = m_editor.recordMode();
    if (mode == Form2::RecordMode::View)
        return;
    const PolicyRow row = rowFromEditor(m_editor, AgentSettings::load().agent);
    QString code = m_editor.recordCode();
    StorageStatus saved;
    if (mode == Form2::RecordMode::Change) {
        saved = m_database.update(code, row);
    } else {
        const StorageResult<QString> added = m_database.insert(row);
        saved = added;
        code = added.value;
    }
    if (!saved.ok) {
        reportFailure(&m_editor, saved.error);
        return;
    }
    refreshGrid(code, selectedRow().value_or(0));
    m_editor.closeRecord();
}

void RecordCommands::printEditorRecord()
{
    const AgentSettings settings = AgentSettings::load();
    m_printService->preview({rowFromEditor(m_editor, settings.agent), factorsFromEditor(m_editor), settings.insurer},
                            &m_editor);
}

void RecordCommands::openSelected(Form2::RecordMode mode, const QString& caption)
{
    const std::optional<int> row = selectedRowOrSay();
    if (!row)
        return;
    const QString code = m_model.codeAt(*row);
    const StorageResult<PolicyRow> stored = m_database.load(code);
    if (!stored.ok) {
        reportFailure(&m_mainWindow, stored.error);
        return;
    }
    m_editor.show();
    m_editor.raise();
    m_editor.activateWindow();
    if (!loadRowIntoEditor(m_editor, stored.value)) {
        m_editor.closeRecord();
        return;
    }
    m_editor.setWindowTitle(caption);
    m_editor.setRecordMode(mode, mode == Form2::RecordMode::New ? QString() : code);
}

std::optional<int> RecordCommands::selectedRow() const
{
    const int row = m_mainWindow.grid().selectedSourceRow();
    if (row < 0)
        return std::nullopt;
    return row;
}

std::optional<int> RecordCommands::selectedRowOrSay()
{
    const std::optional<int> row = selectedRow();
    if (!row)
        m_messages.show(&m_mainWindow, kProgramTitle, kNoSelectionMessage, Messages::Icon::Information);
    return row;
}

std::optional<PrintRecord> RecordCommands::selectedPrintRecord()
{
    const std::optional<int> row = selectedRow();
    if (!row) {
        m_printService->reportNoRecord();
        return std::nullopt;
    }
    const StorageResult<PolicyRow> stored = m_database.load(m_model.codeAt(*row));
    if (!stored.ok) {
        reportFailure(&m_mainWindow, stored.error);
        return std::nullopt;
    }
    return PrintRecord{stored.value, std::nullopt, AgentSettings::load().insurer};
}

void RecordCommands::refreshGrid(const QString& code, int place)
{
    WindowedGrid& grid = m_mainWindow.grid();
    const int column = std::max(grid.currentIndex().column(), 0);
    const int scrolledRight = grid.horizontalScrollBar()->value();
    // The grid keeps its first row shown across the refresh by itself.
    const StorageStatus refreshed = m_model.refresh();
    if (!refreshed.ok) {
        reportFailure(&m_mainWindow, refreshed.error);
        return;
    }
    grid.horizontalScrollBar()->setValue(scrolledRight);

    int row = code.isEmpty() ? -1 : m_model.rowOfCode(code);
    if (row < 0)
        row = std::min(place, m_model.rowCount() - 1);
    if (row < 0)
        return;
    grid.selectSourceCell(row, column);
}

void RecordCommands::reportFailure(QWidget* over, const QString& failure)
{
    m_messages.show(over, kProgramTitle, failure, Messages::Icon::Critical);
}

} // namespace osago
