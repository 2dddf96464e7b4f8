#pragma once

#include "renewals/RenewalsDue.h"
#include "storage/PolicyRow.h"

#include <QDate>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class QLabel;

namespace osago {

class DocumentPrinter;
class FileChoices;
class MainWindow;
class Messages;
class ProgramRegister;
class RecordCommands;
class RenewalCount;
class RenewalsWindow;
class ReportWindow;

// "Окончание договоров..." of the menu "Сервис": the policies coming up for renewal in their window, renewed or
// looked at in the editor, printed through the report's preview, written to a table file; and the count of
// those ending in the next 30 days in the main window's status bar.
class RenewalCommands : public QObject
{
    Q_OBJECT

public:
    using Today = std::function<QDate()>;

    RenewalCommands(Messages& messages, FileChoices& files, DocumentPrinter& printer, MainWindow& mainWindow,
                    ProgramRegister& programRegister, RecordCommands& records, Today today = &QDate::currentDate);
    ~RenewalCommands() override;

    // "Окончание договоров...": the window on today and the next 30 days.
    void showRenewals();
    // Once the main window has been painted the first time, its status bar gets the count of the policies ending
    // in the next 30 days, read in the background; only where the register has the renewals' indexes, so the start
    // never reads the whole table, and a failure just leaves the count out. Another register opened meanwhile is
    // counted anew, the old count never shown.
    void countAfterFirstPaint();

    RenewalsWindow& window() { return *m_window; }
    ReportWindow& preview() { return *m_preview; }
    QLabel& countLabel() { return *m_count; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void listPeriod(const IssuePeriod& period);
    void countComing();
    void prepareIndexes();
    // The stored row of the policy selected, or none after telling the agent why.
    std::optional<PolicyRow> selectedRow();
    void renewSelected();
    void viewSelected();
    void printList();
    void exportList();

    Messages& m_messages;
    FileChoices& m_files;
    MainWindow& m_mainWindow;
    ProgramRegister& m_register;
    RecordCommands& m_records;
    Today m_today;
    std::unique_ptr<RenewalsWindow> m_window;
    std::unique_ptr<ReportWindow> m_preview;
    QLabel* m_count = nullptr;
    RenewalCount* m_counting = nullptr;
};

inline const QString kComingRenewalsText = QStringLiteral("Заканчиваются в ближайшие 30 дней: %1");

} // namespace osago
