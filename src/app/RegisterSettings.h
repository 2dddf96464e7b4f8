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
    // How the connection to a server is protected, as libpq's sslmode: encrypted when the server offers it
    // ("prefer"), always encrypted ("require"), or encrypted with the server proven by its certificate, issued
    // under the root certificate chosen and for the name the address gives ("verify-full").
    enum class Encryption { IfOffered, Required, Verified };
    static constexpr int kDefaultPort = 5432;

    Kind kind = Kind::File;
    QString file = kDefaultRegisterFile.toString();
    // One server or several, comma-separated, each a name or address with its own ":PORT" where it is not `port`:
    // with several, libpq tries them in turn for the one that takes writes (an agency's primary and standby).
    QString host;
    int port = kDefaultPort;
    QString database;
    // Empty: libpq's default, the name of the system's user.
    QString user;
    Encryption encryption = Encryption::IfOffered;
    // The root certificate the server's certificate must be issued under; used only for Encryption::Verified.
    QString rootCertificate;

    // What the program opens: the file's path, or postgresql://user@host:port/database with
    // target_session_attrs=read-write for several servers, and sslmode and sslrootcert beyond the default.
    QString location() const;
    // What keeps the choice from naming a register: the field at fault and the words for the agent.
    struct Problem
    {
        enum class Field { File, Host, Database, RootCertificate };
        Field field;
        QString text;
    };
    std::optional<Problem> problem() const;

    static RegisterSettings load();
    void save() const;

    friend bool operator==(const RegisterSettings&, const RegisterSettings&) = default;
};

} // namespace osago
