#pragma once

#include "storage/IssuePeriod.h"

#include <QDate>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>

namespace osago {

class DocumentPrinter;
class FileChoices;
class MainWindow;
class PeriodWindow;
class ReportWindow;
class Messages;
class ProgramRegister;

// "Отчёт агента..." of the menu "Сервис": the policies issued in a period over the whole register, or one agent's
// of them, with the money they settle, in a preview that prints them or saves them as a PDF file.
class ReportCommands : public QObject
{
    Q_OBJECT

public:
    using Today = std::function<QDate()>;

    // `printer`, the program's, takes the report's pages; it outlives the commands.
    ReportCommands(Messages& messages, FileChoices& files, DocumentPrinter& printer, MainWindow& mainWindow,
                   ProgramRegister& programRegister, Today today = &QDate::currentDate);
    ~ReportCommands() override;

    // "Отчёт агента...": asks for the period, then shows the report over the whole register in its preview.
    void report();

    PeriodWindow& periodWindow() { return *m_period; }
    ReportWindow& reportWindow() { return *m_report; }

private:
    void reportPeriod(const std::optional<IssuePeriod>& period, const std::optional<QString>& agent);

    Messages& m_messages;
    MainWindow& m_mainWindow;
    ProgramRegister& m_register;
    Today m_today;
    std::unique_ptr<PeriodWindow> m_period;
    std::unique_ptr<ReportWindow> m_report;
};

} // namespace osago
