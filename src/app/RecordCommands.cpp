#include "app/RecordCommands.h"

#include "app/AgentSettings.h"
#include "blanks/window/BlankSaveCheck.h"
#include "storage/BlankNumbers.h"
#include "editor/EditorRecord.h"
#include "app/MainWindow.h"
#include "widgets/Messages.h"
#include "editor/NewRecord.h"
#include "storage/PolicyDatabase.h"
#include "print/PrintService.h"
#include "grid/RegisterModel.h"
#include "editor/ResultsPage.h"
#include "app/ProgramRegister.h"
#include "widgets/WaitCursor.h"
#include "widgets/WindowedGrid.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QScrollBar>

#include <algorithm>

namespace osago {

namespace {

const QString kChangeCaption = QStringLiteral("Редактирование записи");
const QString kNewCaption = QStringLiteral("Создание записи");
const QString kViewCaption = QStringLiteral("Просмотр записи");

} // namespace

RecordCommands::RecordCommands(Messages& messages, MainWindow& mainWindow, PolicyEditor& editor, ProgramRegister& programRegister, DocumentPrinter& printer)
    : m_messages(messages)
    , m_mainWindow(mainWindow)
    , m_editor(editor)
    , m_register(programRegister)
    , m_model(programRegister.model())
    , m_printService(std::make_unique<PrintService>(m_messages, m_mainWindow, printer))
{
    const MainCommands& commands = mainWindow.commands();
    connect(commands.create, &QAction::triggered, this, &RecordCommands::createRecord);
    connect(commands.edit, &QAction::triggered, this, &RecordCommands::editSelected);
    connect(commands.copy, &QAction::triggered, this, &RecordCommands::copySelected);
    connect(commands.remove, &QAction::triggered, this, &RecordCommands::deleteSelected);
    connect(commands.view, &QAction::triggered, this, &RecordCommands::viewSelected);
    connect(commands.print, &QAction::triggered, this, &RecordCommands::printSelected);
    connect(commands.printDirect, &QAction::triggered, this, &RecordCommands::printSelectedDirectly);
    connect(commands.reread, &QAction::triggered, this, &RecordCommands::rereadRegister);
    connect(&m_editor, &PolicyEditor::saveRequested, this, &RecordCommands::saveEditorRecord);
    connect(&m_editor.resultsPage(), &ResultsPage::printRequested, this, &RecordCommands::printEditorRecord);
    // Queued: a page is read while the grid paints, which is no time for a message box.
    connect(&m_model, &RegisterModel::readFailed, this, &RecordCommands::reportReadFailure, Qt::QueuedConnection);
}

RecordCommands::~RecordCommands() = default;

void RecordCommands::createRecord()
{
    prepareNewRecord(m_editor, QDateTime::currentDateTime());
    warnIfUnsaveable();
}

void RecordCommands::editSelected()
{
    openSelected(PolicyEditor::RecordMode::Change, kChangeCaption);
}

void RecordCommands::copySelected()
{
    openSelected(PolicyEditor::RecordMode::New, kNewCaption);
}

void RecordCommands::viewSelected()
{
    openSelected(PolicyEditor::RecordMode::View, kViewCaption);
}

void RecordCommands::deleteSelected()
{
    const std::optional<int> row = selectedRowOrSay();
    if (!row)
        return;
    const std::optional<StoredRow> stored = readStored(*row);
    if (!stored || !m_messages.confirm(&m_mainWindow, kConfirmTitle, kDeleteQuestion))
        return;
    const std::optional<RecordBlanks> blanks =
        blankQuestions(&m_mainWindow).forRemoval(m_register.database(), stored->values, stored->values.code());
    if (!blanks)
        return;
    StorageStatus removed;
    {
        const WaitCursor waiting;
        removed = m_register.database().remove(stored->key, stored->values, *blanks);
    }
    if (!removed.ok) {
        reportFailure(&m_mainWindow, removed, *row);
        return;
    }
    refreshGrid(*row);
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
    const PolicyEditor::RecordMode mode = m_editor.recordMode();
    if (mode == PolicyEditor::RecordMode::View || (mode == PolicyEditor::RecordMode::Change && !m_changing))
        return;
    const PolicyRow row = rowFromEditor(m_editor, AgentSettings::load().agent);
    const int place = selectedRow().value_or(0);
    StorageStatus saved;
    std::optional<RowKey> key;
    QString code;
    const std::optional<PolicyRow> stored = m_changing ? std::optional(m_changing->values) : std::nullopt;
    // A blank another desk took between the check and the save is checked again, and so asked about.
    for (int attempt = 0; attempt < 2 && (attempt == 0 || saved.blankTaken); ++attempt) {
        const std::optional<RecordBlanks> blanks =
            blankQuestions(&m_editor).forSave(m_register.database(), row, stored, m_editor.recordCode());
        if (!blanks)
            return;
        // A save waits up to the busy timeout while another program writes.
        const WaitCursor waiting;
        if (mode == PolicyEditor::RecordMode::Change) {
            key = m_changing->key;
            saved = m_register.database().update(m_changing->key, m_changing->values, row, *blanks);
        } else {
            const StorageResult<QString> added = m_register.database().insert(row, *blanks);
            saved = added;
            code = added.value;
        }
    }
    if (!saved.ok) {
        reportFailure(&m_editor, saved, place);
        return;
    }
    refreshGrid(place, key, code);
    m_editor.closeRecord();
}

void RecordCommands::printEditorRecord()
{
    const AgentSettings settings = AgentSettings::load();
    m_printService->preview({rowFromEditor(m_editor, settings.agent), factorsFromEditor(m_editor), settings.insurer},
                            &m_editor);
}

void RecordCommands::openSelected(PolicyEditor::RecordMode mode, const QString& caption)
{
    const std::optional<int> row = selectedRowOrSay();
    if (!row)
        return;
    m_changing.reset();
    std::optional<StoredRow> stored = readStored(*row);
    if (!stored)
        return;
    // A copy is a new policy on new blanks.
    if (mode == PolicyEditor::RecordMode::New) {
        for (BlankKind kind : kBlankKinds)
            stored->values.setValue(blankColumn(kind), {});
    }
    if (!showInEditor(mode, caption, stored->values))
        return;
    if (mode == PolicyEditor::RecordMode::Change)
        m_changing = stored;
    if (mode != PolicyEditor::RecordMode::View)
        warnIfUnsaveable();
}

void RecordCommands::openRecord(const PolicyRow& values, PolicyEditor::RecordMode mode)
{
    m_changing.reset();
    const bool isNew = mode == PolicyEditor::RecordMode::New;
    if (showInEditor(mode, isNew ? kNewCaption : kViewCaption, values) && mode != PolicyEditor::RecordMode::View)
        warnIfUnsaveable();
}

void RecordCommands::viewRecord(const QString& code)
{
    const StorageResult<PolicyRow> stored = m_register.database().load(code);
    if (!stored.ok) {
        reportFailure(QApplication::activeWindow(), stored.error);
        return;
    }
    openRecord(stored.value, PolicyEditor::RecordMode::View);
}

bool RecordCommands::showInEditor(PolicyEditor::RecordMode mode, const QString& caption, const PolicyRow& values)
{
    m_editor.show();
    m_editor.raise();
    m_editor.activateWindow();
    if (!loadRowIntoEditor(m_editor, values)) {
        m_editor.closeRecord();
        return false;
    }
    m_editor.setWindowTitle(caption);
    m_editor.setRecordMode(mode, mode == PolicyEditor::RecordMode::New ? QString() : values.code());
    return true;
}

BlankSaveQuestions RecordCommands::blankQuestions(QWidget* over) const
{
    return {m_messages, over, QDate::currentDate()};
}

std::optional<RecordCommands::StoredRow> RecordCommands::readStored(int row)
{
    const std::optional<RowKey> key = m_model.keyAt(row);
    if (!key) {
        reportFailure(&m_mainWindow, m_model.lastError().isEmpty() ? kRowChangedMessage : m_model.lastError());
        return std::nullopt;
    }
    const StorageResult<PolicyRow> stored = m_register.database().load(*key);
    if (!stored.ok) {
        reportFailure(&m_mainWindow, stored, row);
        return std::nullopt;
    }
    const std::optional<PolicyRow> shown = m_model.rowAt(row);
    if (shown && *shown != stored.value) {
        StorageStatus changed = StorageStatus::failure(kRowChangedMessage);
        changed.rowChanged = true;
        reportFailure(&m_mainWindow, changed, row);
        return std::nullopt;
    }
    return StoredRow{row, *key, stored.value};
}

void RecordCommands::warnIfUnsaveable()
{
    QString reason;
    if (m_register.database().isDamaged())
        reason = m_register.database().damagedReason();
    else if (m_register.database().isReadOnly())
        reason = QStringLiteral("реестр открыт только для чтения: ") + m_register.database().readOnlyReason();
    if (!reason.isEmpty())
        m_messages.show(&m_editor, kProgramTitle, kUnsaveableRecordMessage.arg(reason), Messages::Icon::Warning);
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
    const std::optional<StoredRow> stored = readStored(*row);
    if (!stored)
        return std::nullopt;
    return PrintRecord{stored->values, std::nullopt, AgentSettings::load().insurer};
}

void RecordCommands::rereadRegister()
{
    const int place = selectedRow().value_or(0);
    refreshGrid(place, m_model.keyAt(place));
}

void RecordCommands::refreshGrid(int place, std::optional<RowKey> key, const QString& code)
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

    int row = key ? m_model.rowOfKey(*key) : -1;
    if (row < 0 && !code.isEmpty())
        row = m_model.rowOfCode(code);
    if (row < 0)
        row = std::min(place, m_model.rowCount() - 1);
    if (row < 0)
        return;
    grid.selectSourceCell(row, column);
}

void RecordCommands::reportFailure(QWidget* over, const StorageStatus& failure, int place)
{
    reportFailure(over, failure.error);
    if (failure.rowChanged)
        refreshGrid(place);
}

void RecordCommands::reportFailure(QWidget* over, const QString& failure)
{
    m_messages.show(over, kProgramTitle, failure, Messages::Icon::Critical);
}

void RecordCommands::reportReadFailure(const QString& failure)
{
    if (failure == m_readFailureShown)
        return;
    m_readFailureShown = failure;
    reportFailure(&m_mainWindow, failure);
}

} // namespace osago
