#pragma once

#include "Form2.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

namespace osago {

class DocumentPrinter;
class FormMain;
class Messages;
class PolicyDatabase;
class PrintService;
class RegisterModel;
struct PrintRecord;

// The commands over the register: saving the editor's record, opening the row selected in the main window's grid
// for change, as a copy or only to look at, deleting it, and printing it or the editor's record. Owns the printing.
class RecordCommands : public QObject
{
    Q_OBJECT

public:
    // `printer` takes the printed documents; null: the system's default printer.
    RecordCommands(Messages& messages, FormMain& mainWindow, Form2& editor, PolicyDatabase& database,
                   RegisterModel& model, std::unique_ptr<DocumentPrinter> printer);
    ~RecordCommands() override;

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

    PrintService& printService() { return *m_printService; }

private:
    // "Сохранить" in the editor: adds the record or writes over the row being changed.
    void saveEditorRecord();
    // "Печать заявления..." in the editor: the documents of the record as the editor holds it.
    void printEditorRecord();

    void openSelected(Form2::RecordMode mode, const QString& caption);
    // The grid row selected; nothing when none is.
    std::optional<int> selectedRow() const;
    // The selected row, or nothing after telling the agent that none is selected.
    std::optional<int> selectedRowOrSay();
    // The stored row selected, ready for printing; nothing after telling the agent why not.
    std::optional<PrintRecord> selectedPrintRecord();
    // Reads the grid's rows again and selects the one holding `code`, else the one at `place` (or the last).
    void refreshGrid(const QString& code, int place);
    void reportFailure(QWidget* over, const QString& failure);

    Messages& m_messages;
    FormMain& m_mainWindow;
    Form2& m_editor;
    PolicyDatabase& m_database;
    RegisterModel& m_model;
    std::unique_ptr<PrintService> m_printService;
};

// What the record commands say when no row of the grid is selected.
inline const QString kNoSelectionMessage = QStringLiteral("Не выбрана запись: выберите строку в таблице.");
inline const QString kDeleteQuestion = QStringLiteral("Удалить запись?");

} // namespace osago
