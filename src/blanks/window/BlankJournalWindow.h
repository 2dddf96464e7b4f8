#pragma once

#include <QDate>
#include <QWidget>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QVBoxLayout;

namespace osago {

class BlankJournalModel;
class BlankMarkWindow;
class Messages;
class PolicyDatabase;
class WindowedGrid;
struct BlankMark;
enum class BlankStatus;

// "Журнал бланков": every blank of the register with its status, filtered by kind, status and series and searched
// by a part of its number, with the counts of what is shown. Marks the selected blanks spoiled, lost or handed
// back, cancels the selected blank's receipt, and asks for the record that used a blank to be opened. A window of
// the main window's, so it takes no input while the editor keeps the main window disabled.
class BlankJournalWindow : public QWidget
{
    Q_OBJECT

public:
    using Today = std::function<QDate()>;

    BlankJournalWindow(Messages& messages, QWidget& mainWindow, PolicyDatabase& database, Today today);
    ~BlankJournalWindow() override;

    // Reads the journal again and shows the window.
    void showJournal();
    // The journal of `database`, the register the program moved to.
    void showRegister(PolicyDatabase& database);
    // Reads the journal again, keeping the place: after blanks were received or a record saved.
    void refresh();

    BlankJournalModel& model() { return *m_model; }
    WindowedGrid& grid() { return *m_grid; }

signals:
    // "Открыть запись": the record holding `code`, to be shown for viewing.
    void openRecordRequested(const QString& code);

private:
    void buildFilters(QVBoxLayout* layout);
    void buildButtons(QVBoxLayout* layout);
    void applyFilter();
    void showCounts();
    void ButtonOpenClick();
    void markSelected(BlankStatus status);
    void marked(const BlankMark& mark);
    void ButtonCancelReceiptClick();
    // Says why when the register takes no writes; true when it does.
    bool writable();
    void reportFailure(const QString& failure);

    Messages& m_messages;
    PolicyDatabase* m_database;
    Today m_today;
    std::unique_ptr<BlankJournalModel> m_model;
    std::unique_ptr<BlankMarkWindow> m_markWindow;
    QComboBox* m_kind = nullptr;
    QComboBox* m_status = nullptr;
    QLineEdit* m_series = nullptr;
    QLineEdit* m_number = nullptr;
    WindowedGrid* m_grid = nullptr;
    QLabel* m_counts = nullptr;
};

} // namespace osago
