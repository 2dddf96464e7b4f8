#pragma once

#include "DocumentPrinter.h"
#include "FileChoices.h"

#include <QString>

#include <memory>

namespace osago {

class AboutBox;
class Form2;
class FormMain;
class FormPlus;
class FormPoisk;
class Messages;
class PolicyDatabase;
class PrintService;
class ProgramRegister;
class RecordCommands;
class RegisterModel;
class ServiceCommands;

struct ProgramOptions
{
    // The register: a file (a bare name is looked up in the current folder) or a server's connection URI.
    QString databaseLocation = QStringLiteral("Baza.mdb");
    // Where documents are printed; the system's default printer unless given.
    std::unique_ptr<DocumentPrinter> printer = nullptr;
    // Where the files the agent writes go; the platform's file dialogs unless given.
    std::unique_ptr<FileChoices> fileChoices = std::make_unique<DialogFileChoices>();
    // Whether start() makes the day's copy of the register into "Архив".
    bool automaticBackup = false;
};

// Owns the program's windows and its register. Each window exists once, created in a fixed order, shown and
// hidden, never destroyed before the program ends. main() makes one; every test makes a fresh one.
class Program
{
public:
    Program(Messages& messages, ProgramOptions options = {});
    ~Program();

    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Shows the main window maximised, then says why the register could not be opened, if it could not, or why
    // it is open for reading only (the caption says so too).
    void start();

    FormMain& formMain() { return *m_formMain; }
    Form2& form2() { return *m_form2; }
    FormPoisk& formPoisk() { return *m_formPoisk; }
    FormPlus& formPlus() { return *m_formPlus; }
    AboutBox& aboutBox() { return *m_aboutBox; }

    PolicyDatabase& database();
    RegisterModel& registerModel();
    PrintService& printService();
    ServiceCommands& serviceCommands() { return *m_service; }

private:
    Messages& m_messages;
    ProgramOptions m_options;
    std::unique_ptr<ProgramRegister> m_register;
    std::unique_ptr<FormMain> m_formMain;
    std::unique_ptr<Form2> m_form2;
    std::unique_ptr<FormPoisk> m_formPoisk;
    std::unique_ptr<FormPlus> m_formPlus;
    std::unique_ptr<AboutBox> m_aboutBox;
    std::unique_ptr<RecordCommands> m_records;
    std::unique_ptr<ServiceCommands> m_service;
};

inline const QString kReadOnlyCaption = QStringLiteral("ОСАГО Тальград — только чтение");
inline const QString kReadOnlyMessage =
    QStringLiteral("Реестр открыт только для чтения: записи можно смотреть, искать и печатать, но не сохранять, "
                   "изменять и удалять.\nПричина: %1.");

} // namespace osago
