#pragma once

#include "storage/IssuePeriod.h"

#include <QDate>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>

namespace osago {

class FileChoices;
class MainWindow;
class PeriodWindow;
class Messages;
class ProgramRegister;
class RegisterModel;

// "Экспорт..." of the menu "Сервис": the rows the grid shows, issued in a period or all of them, written to a CSV
// table or an Excel book under a progress window.
class ExportCommands : public QObject
{
    Q_OBJECT

public:
    using Today = std::function<QDate()>;

    ExportCommands(Messages& messages, FileChoices& files, MainWindow& mainWindow, ProgramRegister& programRegister, Today today = &QDate::currentDate);
    ~ExportCommands() override;

    // "Экспорт...": asks for a period (or none), then the file, then writes the rows under a progress window.
    void exportRows();

    PeriodWindow& periodWindow() { return *m_period; }

private:
    void exportPeriod(const std::optional<IssuePeriod>& period, const std::optional<QString>& agent);

    Messages& m_messages;
    FileChoices& m_files;
    MainWindow& m_mainWindow;
    ProgramRegister& m_register;
    RegisterModel& m_model;
    Today m_today;
    std::unique_ptr<PeriodWindow> m_period;
};

} // namespace osago
