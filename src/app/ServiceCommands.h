#pragma once

#include "storage/IssuePeriod.h"
#include "storage/RegisterCopies.h"
#include "storage/StorageStatus.h"

#include <QDate>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class QProgressDialog;
class QThread;

namespace osago {

class FileChoices;
class FormMain;
class FormPeriod;
class FormReport;
class DocumentPrinter;
class Messages;
class ProgramRegister;
class RegisterModel;

// The commands of the menu "Сервис" over the register: the export of the rows the grid shows, the agent's
// report, the register's copies and their restoring.
class ServiceCommands : public QObject
{
    Q_OBJECT

public:
    using Today = std::function<QDate()>;

    ServiceCommands(Messages& messages, FileChoices& files, FormMain& mainWindow, ProgramRegister& programRegister,
                    RegisterModel& model, Today today = &QDate::currentDate);
    ~ServiceCommands() override;

    // "Экспорт...": asks for a period (or none), then the file, then writes the rows under a progress window.
    void exportRows();

    // "Отчёт агента...": asks for the period, then shows the report over the whole register in its preview.
    void report();

    // "Резервная копия": a copy into "Архив" now, made off the window's thread under a progress window.
    void backupNow();
    // At start, at most once a day: the same without a word unless it fails; nothing for a read-only register.
    void backupAutomatically();
    // "Восстановить из копии...": lists the copies with their time and rows, restores the chosen one.
    void restoreFromCopy();
    // Whether a copy is being made or written out to the disk.
    bool isBackingUp() const { return m_backupThread != nullptr; }

    FormPeriod& periodWindow() { return *m_period; }
    FormReport& reportWindow() { return *m_report; }

private:
    void exportPeriod(const std::optional<IssuePeriod>& period);
    void reportPeriod(const std::optional<IssuePeriod>& period);
    void prepareIssueIndex();
    // Tells the agent `refusal`, when there is one: why no copy can be made or restored now.
    bool refused(const QString& title, const QString& refusal);
    bool confirmRestore(const RegisterCopy& copy);
    void registerReplaced();
    void startBackup(bool automatic);
    // The copy is made (or not): what the agent hears of it.
    void backupMade(bool automatic);
    // The copy is on the disk and the oldest ones pruned, or it could not be written out.
    void backupFinished();
    void askPeriod(const QString& title, void (ServiceCommands::*then)(const std::optional<IssuePeriod>&),
                   bool required);

    Messages& m_messages;
    FileChoices& m_files;
    FormMain& m_mainWindow;
    ProgramRegister& m_register;
    RegisterModel& m_model;
    Today m_today;
    std::unique_ptr<FormPeriod> m_period;
    std::unique_ptr<DocumentPrinter> m_printer;
    std::unique_ptr<FormReport> m_report;
    QThread* m_backupThread = nullptr;
    StorageResult<QString> m_backupResult;
    StorageStatus m_keptOnDisk;
    std::unique_ptr<QProgressDialog> m_backupProgress;
    QMetaObject::Connection m_periodChosen;
};

} // namespace osago
