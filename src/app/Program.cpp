#include "Program.h"

#include "AboutBox.h"
#include "DriversPage.h"
#include "Form2.h"
#include "FormMain.h"
#include "FormPlus.h"
#include "FormPoisk.h"

namespace osago {

Program::Program(Messages& messages, ProgramOptions options)
    : m_messages(messages)
    , m_options(std::move(options))
{
    m_formMain = std::make_unique<FormMain>(m_messages);
    m_form2 = std::make_unique<Form2>(m_messages, *m_formMain);
    m_formPoisk = std::make_unique<FormPoisk>(*m_formMain);
    m_formPlus = std::make_unique<FormPlus>(*m_form2, m_form2->driversPage(), m_messages);
    m_aboutBox = std::make_unique<AboutBox>(m_messages, *m_formMain);

    m_form2->driversPage().attachDialog(*m_formPlus);
    m_formMain->attach({m_form2.get(), m_formPoisk.get(), m_aboutBox.get()});
}

// Windows go in the reverse order of their creation, so none outlives one it refers to.
Program::~Program()
{
    m_aboutBox.reset();
    m_formPlus.reset();
    m_formPoisk.reset();
    m_form2.reset();
    m_formMain.reset();
}

void Program::start()
{
    m_formMain->showMaximized();
}

} // namespace osago
