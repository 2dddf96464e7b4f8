#include "app/ProgramRegister.h"

#include "grid/RegisterModel.h"

#include <QCoreApplication>

namespace osago {

namespace {

// While a statement waits for a silent server the windows are painted and timers run, but the agent's keys and
// clicks wait for its end: no command starts inside another.
void paintWhileWaiting()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

ProgramRegister::ProgramRegister(const QString& location, PasswordSource askPassword)
    : m_askPassword(std::move(askPassword))
    , m_database(makeDatabase(location, m_askPassword))
    , m_model(std::make_unique<RegisterModel>(*m_database))
{
    m_database->setWaitHook(&paintWhileWaiting);
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

StorageStatus ProgramRegister::reopen(const QString& location)
{
    StorageResult<std::unique_ptr<PolicyDatabase>> opened =
        openDatabase(location, PolicyDatabase::Access::ReadWrite, m_askPassword);
    if (!opened.ok)
        return opened;
    opened.value->setWaitHook(&paintWhileWaiting);
    const std::unique_ptr<PolicyDatabase> old = std::exchange(m_database, std::move(opened.value));
    m_openFailure = m_model->showRegister(*m_database).error;
    emit replaced(*m_database);
    return {};
}

} // namespace osago
