#include "ProgramRegister.h"

#include "PolicyDatabase.h"
#include "RegisterModel.h"

namespace osago {

ProgramRegister::ProgramRegister(const QString& path)
    : m_database(std::make_unique<PolicyDatabase>())
    , m_model(std::make_unique<RegisterModel>(*m_database))
{
    StorageStatus status = m_database->open(path);
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
