#include "SwitchableDatabase.h"

#include "RegisterEngines.h"

namespace osago {

// Until a register opens, the program holds a file register that is not open.
SwitchableDatabase::SwitchableDatabase(PasswordSource askPassword)
    : m_askPassword(std::move(askPassword))
    , m_current(makeDatabase(QString()))
{
}

StorageStatus SwitchableDatabase::open(const QString& location, Access access)
{
    StorageResult<std::unique_ptr<PolicyDatabase>> opened = openDatabase(location, access, m_askPassword);
    if (opened.ok)
        m_current = std::move(opened.value);
    return opened;
}

} // namespace osago
