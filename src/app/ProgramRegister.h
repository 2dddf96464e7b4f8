#pragma once

#include "PolicyDatabase.h"

#include <QString>

#include <memory>

namespace osago {

class RegisterModel;
class SwitchableDatabase;

// The register the program works on, opened when the program starts, and the grid's model over it. A register
// that cannot be opened, or a file that is not a register, is left as it is: the model then shows no rows and
// every save reports that the register is not open. The agent may move the program to another register while it
// runs; whoever holds database() or model() keeps them across that.
class ProgramRegister
{
public:
    // `location`: a file path or a server's connection URI (see makeDatabase); `askPassword` answers a server
    // that wants a password.
    ProgramRegister(const QString& location, PasswordSource askPassword = {});
    ~ProgramRegister();
    ProgramRegister(const ProgramRegister&) = delete;
    ProgramRegister& operator=(const ProgramRegister&) = delete;

    PolicyDatabase& database();
    RegisterModel& model() { return *m_model; }
    // Why the register could not be opened or read, at start or at the last reopen(); empty when it was.
    const QString& openFailure() const { return m_openFailure; }

    // Opens the register at `location` in place of the open one and shows all its rows. When it does not open,
    // the open one stays as it was and the failure says why; a failure to read its rows is openFailure().
    StorageStatus reopen(const QString& location);

private:
    std::unique_ptr<SwitchableDatabase> m_database;
    std::unique_ptr<RegisterModel> m_model;
    QString m_openFailure;
};

} // namespace osago
