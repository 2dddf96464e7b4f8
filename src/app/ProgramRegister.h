#pragma once

#include <QString>

#include <memory>

namespace osago {

class PolicyDatabase;
class RegisterModel;

// The register the program works on, opened when the program starts, and the grid's model over it. A register
// that cannot be opened, or a file that is not a register, is left as it is: the model then shows no rows and
// every save reports that the register is not open.
class ProgramRegister
{
public:
    // `location`: a file path or a server's connection URI (see makeDatabase).
    explicit ProgramRegister(const QString& location);
    ~ProgramRegister();
    ProgramRegister(const ProgramRegister&) = delete;
    ProgramRegister& operator=(const ProgramRegister&) = delete;

    PolicyDatabase& database() { return *m_database; }
    RegisterModel& model() { return *m_model; }
    // Why the register could not be opened or read at start; empty when it was.
    const QString& openFailure() const { return m_openFailure; }

private:
    std::unique_ptr<PolicyDatabase> m_database;
    std::unique_ptr<RegisterModel> m_model;
    QString m_openFailure;
};

} // namespace osago
