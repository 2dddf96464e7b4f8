#pragma once

#include "storage/PolicyColumns.h"

#include <QString>

#include <optional>

namespace osago {

// The register the agent chose in "Реестр...": a file on this computer, or a database on a PostgreSQL server
// reached as a user. Kept between runs in the program's settings; a password never is.
struct RegisterSettings
{
    enum class Kind { File, Server };
    static constexpr int kDefaultPort = 5432;

    Kind kind = Kind::File;
    QString file = kDefaultRegisterFile.toString();
    QString host;
    int port = kDefaultPort;
    QString database;
    // Empty: libpq's default, the name of the system's user.
    QString user;

    // What the program opens: the file's path, or postgresql://user@host:port/database.
    QString location() const;
    // What keeps the choice from naming a register: the field at fault and the words for the agent.
    struct Problem
    {
        enum class Field { File, Host, Database };
        Field field;
        QString text;
    };
    std::optional<Problem> problem() const;

    static RegisterSettings load();
    void save() const;

    friend bool operator==(const RegisterSettings&, const RegisterSettings&) = default;
};

} // namespace osago
