#include "app/Program.h"

#include "app/AboutBox.h"
#include "app/BackupCommands.h"
#include "app/BlankCommands.h"
#include "app/CommissionWindow.h"
#include "app/ExportCommands.h"
#include "drivers/DriversPage.h"
#include "editor/PolicyEditor.h"
#include "app/MainWindow.h"
#include "drivers/DriverDialog.h"
#include "search/SearchWindow.h"
#include "app/RegisterWindow.h"
#include "widgets/Messages.h"
#include "storage/PolicyDatabase.h"
#include "app/ProgramRegister.h"
#include "app/RecordCommands.h"
#include "app/RegisterSettings.h"
#include "app/RenewalCommands.h"
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

    m_mainWindow = std::make_unique<MainWindow>(m_messages);
    m_policyEditor = std::make_unique<PolicyEditor>(m_messages, *m_mainWindow);
    m_searchWindow = std::make_unique<SearchWindow>(*m_mainWindow);
    m_driverDialog = std::make_unique<DriverDialog>(*m_policyEditor, m_policyEditor->driversPage(), m_messages);
    m_aboutBox = std::make_unique<AboutBox>(m_messages, *m_mainWindow);

    m_policyEditor->driversPage().attachDialog(*m_driverDialog);
    m_mainWindow->showRegister(m_register->model());
    m_searchWindow->attachRegister(m_register->database(), m_register->model());
    showOnCommand(m_mainWindow->commands().search, *m_searchWindow);
    showOnCommand(m_mainWindow->commands().about, *m_aboutBox);

    m_records = std::make_unique<RecordCommands>(m_messages, *m_mainWindow, *m_policyEditor, *m_register,
                                                 *m_printer);
    m_export = std::make_unique<ExportCommands>(m_messages, *m_options.fileChoices, *m_mainWindow, *m_register);
    m_report = std::make_unique<ReportCommands>(m_messages, *m_options.fileChoices, *m_printer, *m_mainWindow,
                                                *m_register);
    m_backup = std::make_unique<BackupCommands>(m_messages, *m_options.fileChoices, *m_mainWindow, *m_register);
    m_blanks = std::make_unique<BlankCommands>(m_messages, *m_options.fileChoices, *m_printer, *m_mainWindow,
                                               *m_register, *m_records);
    m_renewals = std::make_unique<RenewalCommands>(m_messages, *m_options.fileChoices, *m_printer, *m_mainWindow,
                                                   *m_register, *m_records);
    // The search window's rows were the old register's.
    QObject::connect(m_register.get(), &ProgramRegister::replaced, m_searchWindow.get(),
                     [this](PolicyDatabase& database) { m_searchWindow->attachRegister(database, m_register->model()); });
    QObject::connect(m_mainWindow->commands().chooseRegister, &QAction::triggered, m_mainWindow.get(),
                     [this] { chooseRegister(); });
    QObject::connect(m_mainWindow->commands().commission, &QAction::triggered, m_mainWindow.get(), [this] {
        if (!m_commissionWindow)
            m_commissionWindow = std::make_unique<CommissionWindow>(m_messages, *m_register);
        m_commissionWindow->ask(QDate::currentDate());
    });
}

// Everything goes in the reverse order of its creation, so nothing outlives what it refers to.
Program::~Program()
{
    m_commissionWindow.reset();
    m_registerWindow.reset();
    m_blanks.reset();
    m_renewals.reset();
    m_backup.reset();
    m_report.reset();
    m_export.reset();
    m_records.reset();
    m_aboutBox.reset();
    m_driverDialog.reset();
    m_searchWindow.reset();
    m_policyEditor.reset();
    m_mainWindow.reset();
    m_register.reset();
}

void Program::start()
{
    m_renewals->countAfterFirstPaint();
    m_mainWindow->showMaximized();
    tellRegisterState();
    const PolicyDatabase& database = m_register->database();
    if (m_options.automaticBackup && m_register->openFailure().isEmpty() && !database.isReadOnly())
        m_backup->backupAutomatically();
}

void Program::tellRegisterState()
{
    const PolicyDatabase& database = m_register->database();
    m_mainWindow->setWindowTitle(database.isReadOnly() ? kReadOnlyCaption : kProgramTitle);
    if (!m_register->openFailure().isEmpty()) {
        m_messages.show(m_mainWindow.get(), kProgramTitle, m_register->openFailure(), Messages::Icon::Critical);
        return;
    }
    if (const QString warning = database.openWarning(); !warning.isEmpty())
        m_messages.show(m_mainWindow.get(), kProgramTitle, warning, Messages::Icon::Warning);
    if (database.isReadOnly())
        m_messages.show(m_mainWindow.get(), kProgramTitle, kReadOnlyMessage.arg(database.readOnlyReason()),
                        Messages::Icon::Warning);
}

// The window is made when the agent first asks for it.
void Program::chooseRegister()
{
    if (!m_registerWindow) {
        m_registerWindow = std::make_unique<RegisterWindow>(m_messages, *m_options.fileChoices);
        QObject::connect(m_registerWindow.get(), &RegisterWindow::chosen, m_mainWindow.get(),
                         [this](const RegisterSettings& settings) { registerChosen(settings); });
    }
    const PolicyDatabase& database = m_register->database();
    QString current = database.isOpen() ? database.location() : QStringLiteral("нет (не открыт)");
    if (const QString security = database.connectionSecurity(); !security.isEmpty())
        current += QStringLiteral("; ") + security;
    m_registerWindow->ask(RegisterSettings::load(), current);
}

void Program::registerChosen(const RegisterSettings& settings)
{
    const PolicyDatabase& database = m_register->database();
    const QString stays = database.isOpen() ? kPreviousRegisterKept.arg(database.location()) : kNoRegisterStill;
    if (const StorageStatus opened = m_register->reopen(settings.location()); !opened.ok) {
        m_passwords.clear();
        m_messages.show(m_registerWindow.get(), kRegisterWindowTitle,
                        kRegisterNotOpenedMessage.arg(settings.location(), opened.error, stays),
                        Messages::Icon::Critical);
        return;
    }
    // A file is kept by its full path, so the program finds it again whatever folder it starts in.
    RegisterSettings kept = settings;
    if (kept.kind == RegisterSettings::Kind::File)
        kept.file = m_register->database().path();
    kept.save();
    m_registerWindow->hide();
    tellRegisterState();
}

std::optional<QString> Program::askPassword(const QString& prompt)
{
    if (const auto known = m_passwords.constFind(prompt); known != m_passwords.constEnd())
        return *known;
    QWidget* over = m_registerWindow && m_registerWindow->isVisible() ? static_cast<QWidget*>(m_registerWindow.get())
                    : m_mainWindow && m_mainWindow->isVisible()        ? m_mainWindow.get()
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
