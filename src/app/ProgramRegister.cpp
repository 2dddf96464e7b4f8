#include "ProgramRegister.h"

#include "RegisterModel.h"
#include "SwitchableDatabase.h"

namespace osago {

ProgramRegister::ProgramRegister(const QString& location, PasswordSource askPassword)
    : m_database(std::make_unique<SwitchableDatabase>(std::move(askPassword)))
    , m_model(std::make_unique<RegisterModel>(*m_database))
{
    StorageStatus status = m_database->open(location);
    if (status.ok)
        status = m_model->refresh();
    m_openFailure = status.error;
}

// The model reads through the database, so it goes first.
ProgramRegister::~ProgramRegister()
{
    m_model.reset();
    m_database.reset();
}

PolicyDatabase& ProgramRegister::database()
{
    return *m_database;
}

StorageStatus ProgramRegister::reopen(const QString& location)
{
    const StorageStatus opened = m_database->open(location);
    if (opened.ok)
        m_openFailure = m_model->selectAll().error;
    return opened;
}

} // namespace osago
