#pragma once

#include "storage/PolicyDatabase.h"

#include <QObject>
#include <QString>

#include <memory>

namespace osago {

class RegisterModel;

// The register the program works on, opened when the program starts, and the grid's model over it. A register
// that cannot be opened, or a file that is not a register, is left as it is: the model then shows no rows and
// every save reports that the register is not open. The agent may move the program to another register while it
// runs: reopen() puts the new one in place of the old and says so in replaced(), before the old one goes, so
// whoever works on the register moves with it and nobody keeps a register that was closed.
class ProgramRegister : public QObject
{
    Q_OBJECT

public:
    // `location`: a file path or a server's connection URI (see makeDatabase); `askPassword` answers a server
    // that wants a password.
    ProgramRegister(const QString& location, PasswordSource askPassword = {});
    ~ProgramRegister() override;
    ProgramRegister(const ProgramRegister&) = delete;
    ProgramRegister& operator=(const ProgramRegister&) = delete;

    PolicyDatabase& database() { return *m_database; }
    RegisterModel& model() { return *m_model; }
    // Why the register could not be opened or read, at start or at the last reopen(); empty when it was.
    const QString& openFailure() const { return m_openFailure; }

    // Opens the register at `location` in place of the open one and shows all its rows. When it does not open,
    // the open one stays as it was and the failure says why; a failure to read its rows is openFailure().
    StorageStatus reopen(const QString& location);

signals:
    // `database` now stands where the old register stood; the old one is closed once every receiver returned.
    void replaced(PolicyDatabase& database);

private:
    PasswordSource m_askPassword;
    std::unique_ptr<PolicyDatabase> m_database;
    std::unique_ptr<RegisterModel> m_model;
    QString m_openFailure;
};

} // namespace osago
