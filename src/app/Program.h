#pragma once

#include "print/DocumentPrinter.h"
#include "storage/PolicyColumns.h"
#include "widgets/FileChoices.h"
#include "widgets/PasswordPrompt.h"

#include <QHash>
#include <QString>

#include <memory>
#include <optional>

namespace osago {

class AboutBox;
class BackupCommands;
class BlankCommands;
class CommissionWindow;
class ExportCommands;
class PolicyEditor;
class MainWindow;
class DriverDialog;
class SearchWindow;
class RegisterWindow;
class Messages;
class PolicyDatabase;
class PrintService;
class ProgramRegister;
class RecordCommands;
class RegisterModel;
class RenewalCommands;
class ReportCommands;
struct RegisterSettings;

struct ProgramOptions
{
    // The register: a file (a bare name is looked up in the current folder) or a server's connection URI.
    QString databaseLocation = kDefaultRegisterFile.toString();
    // Where documents are printed, the policies' and the agent's report; the system's default printer unless given.
    std::unique_ptr<DocumentPrinter> printer = nullptr;
    // Where the files the agent writes go; the platform's file dialogs unless given.
    std::unique_ptr<FileChoices> fileChoices = std::make_unique<DialogFileChoices>();
    // Whether start() makes the day's copy of the register into "Архив".
    bool automaticBackup = false;
    // Where a server's password is asked; the password box unless given.
    std::unique_ptr<PasswordPrompt> passwords = std::make_unique<DialogPasswordPrompt>();
};

// Owns the program's windows, its register, its printer and the objects that carry out the main window's commands.
// Each window exists once, created in a fixed order, shown and hidden, never destroyed before the program ends.
// main() makes one; every test makes a fresh one.
class Program
{
public:
    Program(Messages& messages, ProgramOptions options = {});
    ~Program();

    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Shows the main window maximised, then says why the register could not be opened, if it could not, or why
    // it is open for reading only (the caption says so too), and what its engine warns of (a file on a network
    // share).
    void start();

    MainWindow& mainWindow() { return *m_mainWindow; }
    PolicyEditor& policyEditor() { return *m_policyEditor; }
    SearchWindow& searchWindow() { return *m_searchWindow; }
    DriverDialog& driverDialog() { return *m_driverDialog; }
    AboutBox& aboutBox() { return *m_aboutBox; }
    // The window of "Реестр...", made by its first use; null before.
    RegisterWindow* registerWindow() { return m_registerWindow.get(); }
    // The window of "Вознаграждение...", made by its first use; null before.
    CommissionWindow* commissionWindow() { return m_commissionWindow.get(); }

    PolicyDatabase& database();
    RegisterModel& registerModel();
    PrintService& printService();
    // The commands of the menu "Сервис".
    ExportCommands& exportCommands() { return *m_export; }
    ReportCommands& reportCommands() { return *m_report; }
    BackupCommands& backupCommands() { return *m_backup; }
    // The commands of the menu "Бланки".
    BlankCommands& blankCommands() { return *m_blanks; }
    RenewalCommands& renewalCommands() { return *m_renewals; }

private:
    // "Реестр...": the window with the choice kept.
    void chooseRegister();
    // Opens the register the agent chose in its place of the open one, which stays when the new one fails.
    void registerChosen(const RegisterSettings& settings);
    // The caption, and the messages of a register just opened.
    void tellRegisterState();
    // A server's password, asked once a run for each server and user; forgotten when a register fails to open,
    // since it may have been the wrong one.
    std::optional<QString> askPassword(const QString& prompt);

    Messages& m_messages;
    ProgramOptions m_options;
    // The one printer of every command that prints: the one given, else the system's.
    std::unique_ptr<DocumentPrinter> m_printer;
    std::unique_ptr<ProgramRegister> m_register;
    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<PolicyEditor> m_policyEditor;
    std::unique_ptr<SearchWindow> m_searchWindow;
    std::unique_ptr<DriverDialog> m_driverDialog;
    std::unique_ptr<AboutBox> m_aboutBox;
    std::unique_ptr<RecordCommands> m_records;
    std::unique_ptr<ExportCommands> m_export;
    std::unique_ptr<ReportCommands> m_report;
    std::unique_ptr<BackupCommands> m_backup;
    std::unique_ptr<BlankCommands> m_blanks;
    std::unique_ptr<RenewalCommands> m_renewals;
    std::unique_ptr<RegisterWindow> m_registerWindow;
    std::unique_ptr<CommissionWindow> m_commissionWindow;
    QHash<QString, QString> m_passwords;
};

inline const QString kReadOnlyCaption = QStringLiteral("ОСАГО Тальград — только чтение");
// What the agent hears when the register chosen in "Реестр..." does not open: where, why, and what stays open.
inline const QString kRegisterNotOpenedMessage = QStringLiteral("Не удалось открыть реестр %1.\n%2\n%3");
inline const QString kPreviousRegisterKept = QStringLiteral("Программа продолжает работать с прежним реестром: %1.");
inline const QString kNoRegisterStill = QStringLiteral("Реестр по-прежнему не открыт.");
inline const QString kReadOnlyMessage =
    QStringLiteral("Реестр открыт только для чтения: записи можно смотреть, искать и печатать, но не сохранять, "
                   "изменять и удалять.\nПричина: %1.");

} // namespace osago
