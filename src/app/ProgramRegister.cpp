#include "ProgramRegister.h"

#include "RegisterEngines.h"
#include "RegisterModel.h"

namespace osago {

// A register this build cannot open leaves a file register that is never opened in its place.
ProgramRegister::ProgramRegister(const QString& location)
    : m_database(makeDatabase(location))
{
    const bool supported = m_database != nullptr;
    if (!supported)
        m_database = makeDatabase(QString());
    m_model = std::make_unique<RegisterModel>(*m_database);
    if (!supported) {
        m_openFailure = kServerRegisterUnsupported;
        return;
    }
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
