#pragma once

#include "editor/PolicyEditor.h"
#include "storage/PolicyRow.h"
#include "storage/RowKey.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

namespace osago {

class DocumentPrinter;
class MainWindow;
class Messages;
class ProgramRegister;
class PrintService;
struct BlankSaveQuestions;
class RegisterModel;
struct PrintRecord;
struct StorageStatus;

// The commands over the register: saving the editor's record, opening the row selected in the main window's grid
// for change, as a copy or only to look at, deleting it, and printing it or the editor's record. Owns the printing.
// The main window's commands "Создать...", "Редактировать...", "Копировать...", "Удалить", "Просмотр...",
// "Печать...", "Печать" and F5 are connected to it.
class RecordCommands : public QObject
{
    Q_OBJECT

public:
    // `printer`, the program's, takes the printed documents; it outlives the commands.
    RecordCommands(Messages& messages, MainWindow& mainWindow, PolicyEditor& editor, ProgramRegister& programRegister, DocumentPrinter& printer);
    ~RecordCommands() override;

    // "Создать...": the editor on a new record.
    void createRecord();
    // "Редактировать...": the selected row in the editor; "Сохранить" then writes over that row.
    void editSelected();
    // "Копировать...": the selected row in the editor as a new record; "Сохранить" adds a row.
    void copySelected();
    // "Просмотр...": the selected row in the editor, which takes no input and closes without a question.
    void viewSelected();
    // "Удалить": deletes the selected row once the agent confirms.
    void deleteSelected();
    // "Печать...": the documents of the selected row in the preview window.
    void printSelected();
    // "Печать": the same, then page 1 and page 2 of the application to the printer.
    void printSelectedDirectly();
    // F5: reads the register again, so rows other desks added appear; the selected row stays selected.
    void rereadRegister();
    // The stored record holding `code` in the editor only to look at ("Открыть запись" of the blanks' journal).
    void viewRecord(const QString& code);
    // The editor on `values`, a row read from the register: as a new record (Mode New; "Сохранить" adds a row) or
    // only to look at (View).
    void openRecord(const PolicyRow& values, PolicyEditor::RecordMode mode);

    PrintService& printService() { return *m_printService; }

private:
    // "Сохранить" in the editor: adds the record or writes over the row being changed.
    void saveEditorRecord();
    // "Печать заявления..." in the editor: the documents of the record as the editor holds it.
    void printEditorRecord();

    // A stored row as a command found it: its key and its values.
    struct StoredRow
    {
        int gridRow = 0;
        RowKey key{0};
        PolicyRow values;
    };

    void openSelected(PolicyEditor::RecordMode mode, const QString& caption);
    // Shows the editor with `values` in it, captioned; false (the editor closed again) when they could not be loaded.
    bool showInEditor(PolicyEditor::RecordMode mode, const QString& caption, const PolicyRow& values);
    // The blanks' questions of a save or a deletion, put over `over`.
    BlankSaveQuestions blankQuestions(QWidget* over) const;
    // The grid row selected; nothing when none is.
    std::optional<int> selectedRow() const;
    // The selected row, or nothing after telling the agent that none is selected.
    std::optional<int> selectedRowOrSay();
    // The stored row at grid row `row`, read again; nothing after telling the agent why not, the grid read again
    // when another program has changed or deleted the row since the grid showed it.
    std::optional<StoredRow> readStored(int row);
    // The stored row selected, ready for printing; nothing after telling the agent why not.
    std::optional<PrintRecord> selectedPrintRecord();
    // Before the agent types a record that cannot be saved, says so.
    void warnIfUnsaveable();
    // Reads the grid's rows again and selects the row `key`, else the one holding `code`, else the one at
    // `place` (or the last).
    void refreshGrid(int place, std::optional<RowKey> key = {}, const QString& code = {});
    // Shows a failed command's message; a row found changed is shown afresh.
    void reportFailure(QWidget* over, const StorageStatus& failure, int place);
    void reportFailure(QWidget* over, const QString& failure);
    // A failed read of the grid's rows, said once however often it repeats.
    void reportReadFailure(const QString& failure);

    Messages& m_messages;
    MainWindow& m_mainWindow;
    PolicyEditor& m_editor;
    ProgramRegister& m_register;
    RegisterModel& m_model;
    std::unique_ptr<PrintService> m_printService;
    // The row in the editor for "Редактировать...", as it was read; "Сохранить" writes over it only if unchanged.
    std::optional<StoredRow> m_changing;
    QString m_readFailureShown;
};

// What the record commands say when no row of the grid is selected.
inline const QString kNoSelectionMessage = QStringLiteral("Не выбрана запись: выберите строку в таблице.");
inline const QString kDeleteQuestion = QStringLiteral("Удалить запись?");
// What the editor says first when the register takes no writes.
inline const QString kUnsaveableRecordMessage =
    QStringLiteral("Запись можно рассчитать и напечатать, но не сохранить: %1");

} // namespace osago
