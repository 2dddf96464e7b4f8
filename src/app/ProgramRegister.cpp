#include "ProgramRegister.h"

#include "PolicyDatabase.h"
#include "RegisterModel.h"

namespace osago {

ProgramRegister::ProgramRegister(const QString& location)
    : m_database(makeDatabase(location))
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

} // namespace osago
