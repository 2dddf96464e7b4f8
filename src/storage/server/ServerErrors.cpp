#include "storage/server/ServerErrors.h"

#include <algorithm>
#include <initializer_list>

namespace osago::serverErrors {

namespace {

const QString kAdministrator = QStringLiteral("обратитесь к администратору сервера");

bool saysAny(const QString& message, std::initializer_list<QStringView> signs)
{
    return std::any_of(signs.begin(), signs.end(), [&](QStringView sign) { return message.contains(sign); });
}

// What libpq and the server say when a connection fails, in English and in Russian: libpq speaks the program's
// language, the server its own (lc_messages). Checked in this order: the later signs are broader.
enum class Refused {
    UnreadableLocation,
    TlsNotOffered,
    CertificateName,
    CertificateUntrusted,
    PasswordRefused,
    AuthenticationFailed,
    StartingOrStopping,
    NoDatabase,
    NoRole,
    NoConnectRight,
    TooManyConnections,
    NoWritableServer,
    Unreachable,
    Other,
};

Refused refusedFor(const PgConnection::Refusal& refusal)
{
    const QString& m = refusal.message;
    if (refusal.unreadableLocation)
        return Refused::UnreadableLocation;
    if (saysAny(m, {u"server does not support SSL", u"сервер не поддерживает SSL"}))
        return Refused::TlsNotOffered;
    if (saysAny(m, {u"does not match host name", u"не соответствует имени сервера"}))
        return Refused::CertificateName;
    if (saysAny(m, {u"certificate verify failed", u"root certificate file", u"файл корневых сертификатов"}))
        return Refused::CertificateUntrusted;
    // A value libpq read but cannot use (a port that is no number, an unknown sslmode).
    if (saysAny(m, {u"invalid ", u"неверн"}))
        return Refused::UnreadableLocation;
    if (refusal.usedPassword && saysAny(m, {u"password authentication failed", u"по паролю"}))
        return Refused::PasswordRefused;
    if (saysAny(m, {u"authentication failed", u"не прошёл проверку подлинности", u"no pg_hba.conf entry",
                    u"в pg_hba.conf нет записи"}))
        return Refused::AuthenticationFailed;
    if (saysAny(m, {u"starting up", u"shutting down", u"запускается", u"останавливается"}))
        return Refused::StartingOrStopping;
    if (saysAny(m, {u"database \"", u"база данных \""}) && saysAny(m, {u"does not exist", u"не существует"}))
        return Refused::NoDatabase;
    if (saysAny(m, {u"role \"", u"роль \""}) && saysAny(m, {u"does not exist", u"не существует"}))
        return Refused::NoRole;
    if (saysAny(m, {u"permission denied for database", u"доступ к базе", u"not permitted to log in", u"вход запрещён"}))
        return Refused::NoConnectRight;
    if (saysAny(m, {u"too many clients", u"too many connections", u"connection slots are reserved",
                    u"слишком много клиентов", u"слишком много подключений", u"слоты подключений зарезервированы"}))
        return Refused::TooManyConnections;
    // Several servers tried, none taking writes: the primary is gone and its standby not promoted yet. The texts
    // are quoted from the server's and libpq's messages, in English and in Russian, and must stay as they word them.
    if (saysAny(m, {u"session is read-only", u"server is in hot standby mode", u"сеанс не допускает запись",
                    u"режиме горячего резерва"}))
        return Refused::NoWritableServer;
    if (saysAny(m, {u"Connection refused", u"timeout expired", u"could not translate host name",
                    u"No such file or directory", u"Network is unreachable", u"No route to host",
                    u"could not connect", u"тайм-аут", u"в адрес не удалось"}))
        return Refused::Unreachable;
    return Refused::Other;
}

QString connectReason(const QString& user, const PgConnection::Refusal& refusal)
{
    if (refusal.needsPassword) {
        return QStringLiteral("сервер требует пароль роли %1, а он не введён; введите пароль, когда программа его "
                              "спросит, или запишите его в файл ~/.pgpass")
            .arg(user);
    }
    switch (refusedFor(refusal)) {
    case Refused::UnreadableLocation:
        return QStringLiteral("адрес реестра записан с ошибкой, и его не удалось прочитать; проверьте его: "
                              "postgresql://ПОЛЬЗОВАТЕЛЬ@СЕРВЕР:ПОРТ/БАЗА (адрес IPv6 в квадратных скобках)");
    case Refused::TlsNotOffered:
        return QStringLiteral("адрес реестра требует защищённого соединения (TLS, sslmode), а сервер его не "
                              "предлагает; пусть администратор сервера включит на нём TLS");
    case Refused::CertificateName:
        return QStringLiteral("сертификат сервера выписан на другое имя, чем указано в адресе реестра; укажите "
                              "сервер тем именем или адресом, на который выписан сертификат, или ")
               + kAdministrator;
    case Refused::CertificateUntrusted:
        return QStringLiteral("сертификату сервера этот компьютер не доверяет; получите у администратора сервера "
                              "его корневой сертификат и укажите его в адресе (sslrootcert=ФАЙЛ) или положите в "
                              "~/.postgresql/root.crt");
    case Refused::PasswordRefused:
        return QStringLiteral("сервер не принял пароль роли %1; проверьте пароль (введённый, в файле ~/.pgpass или "
                              "в адресе реестра) и повторите")
            .arg(user);
    case Refused::AuthenticationFailed:
        return QStringLiteral("сервер не пропустил роль %1: проверка подлинности не пройдена или подключение роли с "
                              "этого компьютера не разрешено (pg_hba.conf); проверьте имя роли или ")
                   .arg(user)
               + kAdministrator;
    case Refused::StartingOrStopping:
        return QStringLiteral("сервер запускается или останавливается; повторите через несколько секунд");
    case Refused::NoDatabase:
        return QStringLiteral("такой базы данных на сервере нет; проверьте имя базы в адресе реестра или ")
               + kAdministrator;
    case Refused::NoRole:
        return QStringLiteral("роли %1 на сервере нет; проверьте имя пользователя в адресе реестра или ").arg(user)
               + kAdministrator;
    case Refused::NoConnectRight:
        return QStringLiteral("у роли %1 нет права подключаться к этой базе; ").arg(user) + kAdministrator;
    case Refused::TooManyConnections:
        return QStringLiteral("на сервере заняты все подключения; повторите через минуту или ") + kAdministrator;
    case Refused::NoWritableServer:
        return QStringLiteral("ни один из серверов реестра не принимает записи: основной сервер недоступен, а "
                              "резервный ещё не стал основным; повторите через минуту или ")
               + kAdministrator;
    case Refused::Unreachable:
        return QStringLiteral("сервер не отвечает; проверьте, что он запущен и доступен по сети с этого компьютера, "
                              "и повторите, или ")
               + kAdministrator;
    case Refused::Other:
        break;
    }
    return QStringLiteral("сервер отказал в подключении роли %1; проверьте имя роли и базы в адресе реестра или ").arg(user)
           + kAdministrator;
}

QString statementReason(const QString& user, const PgResult& result)
{
    if (result.connectionLost()) {
        return QStringLiteral("соединение с сервером потеряно (сервер перезапущен или прервалась сеть); повторите "
                              "команду: программа подключится заново");
    }
    const QString state = result.sqlState();
    const QString category = state.left(2);
    if (state == u"42501") {
        return QStringLiteral("у роли %1 нет прав на это действие с таблицей TableStrah; ").arg(user) + kAdministrator;
    }
    if (state == u"57014") {
        return QStringLiteral("сервер не ответил за %1 с; повторите позже или ").arg(kStatementSeconds) + kAdministrator;
    }
    if (state == u"55P03" || state == u"40P01" || state == u"40001") {
        return QStringLiteral("запись занята другим рабочим местом; повторите через несколько секунд");
    }
    if (state == u"25006") {
        return QStringLiteral("сервер принимает сейчас только чтение (резервный сервер или режим только для чтения); ")
               + kAdministrator;
    }
    if (category == u"53") {
        return QStringLiteral("на сервере не хватает места на диске или памяти; ") + kAdministrator;
    }
    if (state == u"42P01") {
        return QStringLiteral("таблицы TableStrah на сервере больше нет; ") + kAdministrator;
    }
    if (category == u"57" || category == u"08") {
        return QStringLiteral("сервер прервал работу (останавливается или перезапускается); повторите команду "
                              "через несколько секунд");
    }
    if (category == u"XX") {
        return QStringLiteral("данные на сервере повреждены; ") + kAdministrator;
    }
    return QStringLiteral("сервер отказал в выполнении команды; ") + kAdministrator;
}

QString withDetail(const QString& message, const QString& detail)
{
    return detail.isEmpty() ? message : message + QStringLiteral("\n(%1)").arg(detail);
}

} // namespace

namespace {

QString silence(const QString& action, const QString& location)
{
    return QStringLiteral("%1. Сервер не отвечает дольше %2 с, и программа перестала его ждать; проверьте, что "
                          "сервер работает и доступен по сети, и повторите команду: программа подключится заново.")
               .arg(action)
               .arg(kSilenceSeconds)
           + QStringLiteral("\nРеестр: ") + location;
}

} // namespace

QString failure(const QString& action, const QString& location, const QString& reason)
{
    const QString message = QStringLiteral("%1: %2.").arg(action, reason);
    return location.isEmpty() ? message : message + QStringLiteral("\nРеестр: ") + location;
}

QString connectFailure(const QString& action, const QString& location, const QString& user,
                       const PgConnection::Refusal& refusal)
{
    return withDetail(failure(action, location, connectReason(user, refusal)), refusal.message);
}

QString statementFailure(const QString& action, const QString& location, const QString& user, const PgResult& result)
{
    if (result.timedOut())
        return silence(action, location);
    return withDetail(failure(action, location, statementReason(user, result)), result.message());
}

bool isDamage(const PgResult& result)
{
    const QString state = result.sqlState();
    return state == u"XX001" || state == u"XX002";
}

} // namespace osago::serverErrors
