#pragma once

#include "storage/IssuePeriod.h"

#include <QDate>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>

namespace osago {

class BlankJournalWindow;
class BlankReceiveWindow;
class DocumentPrinter;
class FileChoices;
class MainWindow;
class Messages;
class PeriodWindow;
class ProgramRegister;
class RecordCommands;
class ReportWindow;

// The menu "Бланки" over the register the program has open: "Поступление бланков...", "Журнал бланков..." (its
// "Открыть запись" shows the record through the record commands) and "Отчёт по бланкам..." for a period, in the
// agent's report's period window and preview.
class BlankCommands : public QObject
{
    Q_OBJECT

public:
    using Today = std::function<QDate()>;

    BlankCommands(Messages& messages, FileChoices& files, DocumentPrinter& printer, MainWindow& mainWindow,
                  ProgramRegister& programRegister, RecordCommands& records, Today today = &QDate::currentDate);
    ~BlankCommands() override;

    // "Поступление бланков...": refused with the register's reason when it takes no writes.
    void receive();
    // "Журнал бланков...".
    void showJournal();
    // "Отчёт по бланкам...": asks for the period, then shows the report.
    void report();

    BlankReceiveWindow& receiveWindow() { return *m_receive; }
    BlankJournalWindow& journalWindow() { return *m_journal; }
    PeriodWindow& periodWindow() { return *m_period; }
    ReportWindow& reportWindow() { return *m_report; }

private:
    void reportPeriod(const std::optional<IssuePeriod>& period);

    Messages& m_messages;
    MainWindow& m_mainWindow;
    ProgramRegister& m_register;
    Today m_today;
    std::unique_ptr<BlankReceiveWindow> m_receive;
    std::unique_ptr<BlankJournalWindow> m_journal;
    std::unique_ptr<PeriodWindow> m_period;
    std::unique_ptr<ReportWindow> m_report;
};

} // namespace osago
