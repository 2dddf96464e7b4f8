#include "Program.h"

#include "AboutBox.h"
#include "DriversPage.h"
#include "Form2.h"
#include "FormMain.h"
#include "FormPlus.h"
#include "FormPoisk.h"
#include "Messages.h"
#include "PolicyDatabase.h"
#include "ProgramRegister.h"
#include "RecordCommands.h"
#include "ServiceCommands.h"

namespace osago {

// The register is opened first, so the grid shows its rows from the start; the record commands, with the
// printing, come last, once the windows they work with exist.
Program::Program(Messages& messages, ProgramOptions options)
    : m_messages(messages)
    , m_options(std::move(options))
{
    m_register = std::make_unique<ProgramRegister>(m_options.databaseLocation);

    m_formMain = std::make_unique<FormMain>(m_messages);
    m_form2 = std::make_unique<Form2>(m_messages, *m_formMain);
    m_formPoisk = std::make_unique<FormPoisk>(*m_formMain);
    m_formPlus = std::make_unique<FormPlus>(*m_form2, m_form2->driversPage(), m_messages);
    m_aboutBox = std::make_unique<AboutBox>(m_messages, *m_formMain);

    m_form2->driversPage().attachDialog(*m_formPlus);
    m_formMain->attach({m_form2.get(), m_formPoisk.get(), m_aboutBox.get()});
    m_formMain->showRegister(m_register->model());
    m_formPoisk->attachRegister(m_register->database(), m_register->model());

    m_records = std::make_unique<RecordCommands>(m_messages, *m_formMain, *m_form2, m_register->database(),
                                                 m_register->model(), std::move(m_options.printer));
    m_formMain->attachRecords(*m_records);
    m_service = std::make_unique<ServiceCommands>(m_messages, *m_options.fileChoices, *m_formMain,
                                                  m_register->database(), m_register->model());
}

// Everything goes in the reverse order of its creation, so nothing outlives what it refers to.
Program::~Program()
{
    m_service.reset();
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
    const PolicyDatabase& database = m_register->database();
    if (database.isReadOnly())
        m_formMain->setWindowTitle(kReadOnlyCaption);
    m_formMain->showMaximized();
    if (!m_register->openFailure().isEmpty())
        m_messages.show(m_formMain.get(), kProgramTitle, m_register->openFailure(), Messages::Icon::Critical);
    else if (database.isReadOnly())
        m_messages.show(m_formMain.get(), kProgramTitle, kReadOnlyMessage.arg(database.readOnlyReason()),
                        Messages::Icon::Warning);
    else if (m_options.automaticBackup)
        m_service->backupAutomatically();
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
