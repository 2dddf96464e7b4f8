#include "app/Program.h"

#include "app/AboutBox.h"
#include "app/BackupCommands.h"
#include "app/ExportCommands.h"
#include "drivers/DriversPage.h"
#include "editor/Form2.h"
#include "app/FormMain.h"
#include "drivers/FormPlus.h"
#include "search/FormPoisk.h"
#include "app/FormRegister.h"
#include "widgets/Messages.h"
#include "storage/PolicyDatabase.h"
#include "app/ProgramRegister.h"
#include "app/RecordCommands.h"
#include "app/RegisterSettings.h"
#include "app/ReportCommands.h"

#include <QAction>

namespace osago {

namespace {

// `command` shows `window` without a modal loop and brings it to the front.
void showOnCommand(QAction* command, QWidget& window)
{
    QObject::connect(command, &QAction::triggered, &window, &QWidget::show);
    QObject::connect(command, &QAction::triggered, &window, &QWidget::raise);
    QObject::connect(command, &QAction::triggered, &window, &QWidget::activateWindow);
}

} // namespace

// The register is opened first, so the grid shows its rows from the start; the objects that carry out the
// commands, with the printing, come last, once the windows they work with exist. Each of them connects the main
// window's commands it carries out to itself; "Поиск..." and "О программе..." show their windows from here.
Program::Program(Messages& messages, ProgramOptions options)
    : m_messages(messages)
    , m_options(std::move(options))
    , m_printer(m_options.printer ? std::move(m_options.printer) : std::make_unique<SystemPrinter>())
{
    m_register = std::make_unique<ProgramRegister>(m_options.databaseLocation,
                                                   [this](const QString& prompt) { return askPassword(prompt); });
    if (!m_register->openFailure().isEmpty())
        m_passwords.clear();

    m_formMain = std::make_unique<FormMain>(m_messages);
    m_form2 = std::make_unique<Form2>(m_messages, *m_formMain);
    m_formPoisk = std::make_unique<FormPoisk>(*m_formMain);
    m_formPlus = std::make_unique<FormPlus>(*m_form2, m_form2->driversPage(), m_messages);
    m_aboutBox = std::make_unique<AboutBox>(m_messages, *m_formMain);

    m_form2->driversPage().attachDialog(*m_formPlus);
    m_formMain->showRegister(m_register->model());
    m_formPoisk->attachRegister(m_register->database(), m_register->model());
    showOnCommand(m_formMain->commands().search, *m_formPoisk);
    showOnCommand(m_formMain->commands().about, *m_aboutBox);

    m_records = std::make_unique<RecordCommands>(m_messages, *m_formMain, *m_form2, *m_register,
                                                 m_register->model(), *m_printer);
    m_export = std::make_unique<ExportCommands>(m_messages, *m_options.fileChoices, *m_formMain, *m_register,
                                                m_register->model());
    m_report = std::make_unique<ReportCommands>(m_messages, *m_options.fileChoices, *m_printer, *m_formMain,
                                                *m_register);
    m_backup = std::make_unique<BackupCommands>(m_messages, *m_options.fileChoices, *m_formMain, *m_register,
                                                m_register->model());
    // The search window's rows were the old register's.
    QObject::connect(m_register.get(), &ProgramRegister::replaced, m_formPoisk.get(),
                     [this](PolicyDatabase& database) { m_formPoisk->attachRegister(database, m_register->model()); });
    QObject::connect(m_formMain->commands().chooseRegister, &QAction::triggered, m_formMain.get(),
                     [this] { chooseRegister(); });
}

// Everything goes in the reverse order of its creation, so nothing outlives what it refers to.
Program::~Program()
{
    m_formRegister.reset();
    m_backup.reset();
    m_report.reset();
    m_export.reset();
    m_records.reset();
    m_aboutBox.reset();
    m_formPlus.reset();
    m_formPoisk.reset();
    m_form2.reset();
    m_formMain.reset();
    m_register.reset();
}

void Program::start()
{
    m_formMain->showMaximized();
    tellRegisterState();
    const PolicyDatabase& database = m_register->database();
    if (m_options.automaticBackup && m_register->openFailure().isEmpty() && !database.isReadOnly())
        m_backup->backupAutomatically();
}

void Program::tellRegisterState()
{
    const PolicyDatabase& database = m_register->database();
    m_formMain->setWindowTitle(database.isReadOnly() ? kReadOnlyCaption : kProgramTitle);
    if (!m_register->openFailure().isEmpty()) {
        m_messages.show(m_formMain.get(), kProgramTitle, m_register->openFailure(), Messages::Icon::Critical);
        return;
    }
    if (const QString warning = database.openWarning(); !warning.isEmpty())
        m_messages.show(m_formMain.get(), kProgramTitle, warning, Messages::Icon::Warning);
    if (database.isReadOnly())
        m_messages.show(m_formMain.get(), kProgramTitle, kReadOnlyMessage.arg(database.readOnlyReason()),
                        Messages::Icon::Warning);
}

// The window is made when the agent first asks for it.
void Program::chooseRegister()
{
    if (!m_formRegister) {
        m_formRegister = std::make_unique<FormRegister>(m_messages, *m_options.fileChoices);
        QObject::connect(m_formRegister.get(), &FormRegister::chosen, m_formMain.get(),
                         [this](const RegisterSettings& settings) { registerChosen(settings); });
    }
    const PolicyDatabase& database = m_register->database();
    m_formRegister->ask(RegisterSettings::load(),
                        database.isOpen() ? database.location() : QStringLiteral("нет (не открыт)"));
}

void Program::registerChosen(const RegisterSettings& settings)
{
    const PolicyDatabase& database = m_register->database();
    const QString stays = database.isOpen() ? kPreviousRegisterKept.arg(database.location()) : kNoRegisterStill;
    if (const StorageStatus opened = m_register->reopen(settings.location()); !opened.ok) {
        m_passwords.clear();
        m_messages.show(m_formRegister.get(), kRegisterWindowTitle,
                        kRegisterNotOpenedMessage.arg(settings.location(), opened.error, stays),
                        Messages::Icon::Critical);
        return;
    }
    // A file is kept by its full path, so the program finds it again whatever folder it starts in.
    RegisterSettings kept = settings;
    if (kept.kind == RegisterSettings::Kind::File)
        kept.file = m_register->database().path();
    kept.save();
    m_formRegister->hide();
    tellRegisterState();
}

std::optional<QString> Program::askPassword(const QString& prompt)
{
    if (const auto known = m_passwords.constFind(prompt); known != m_passwords.constEnd())
        return *known;
    QWidget* over = m_formRegister && m_formRegister->isVisible() ? static_cast<QWidget*>(m_formRegister.get())
                    : m_formMain && m_formMain->isVisible()        ? m_formMain.get()
                                                                   : nullptr;
    std::optional<QString> password = m_options.passwords->askPassword(over, prompt);
    if (password)
        m_passwords.insert(prompt, *password);
    return password;
}

PolicyDatabase& Program::database()
{
    return m_register->database();
}

RegisterModel& Program::registerModel()
{
    return m_register->model();
}

PrintService& Program::printService()
{
    return m_records->printService();
}

} // namespace osago
