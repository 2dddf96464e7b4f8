#include "storage/server/ServerErrors.h"

#include <QStringList>

#include <algorithm>

namespace osago::serverErrors {

namespace {

const QString kAdministrator = QStringLiteral("обратитесь к администратору сервера");

// libpq's words when it reached no server at all (English, as libpq itself is not translated here).
bool reachedNoServer(const QString& message)
{
    static const QStringList signs{QStringLiteral("Connection refused"), QStringLiteral("timeout expired"),
                                   QStringLiteral("could not translate host name"),
                                   QStringLiteral("No such file or directory"), QStringLiteral("Network is unreachable"),
                                   QStringLiteral("No route to host"), QStringLiteral("could not connect")};
    return std::any_of(signs.begin(), signs.end(), [&](const QString& sign) { return message.contains(sign); });
}

// The server's words for a refused password, in English or Russian as its lc_messages says.
bool refusedPassword(const QString& message)
{
    return message.contains(QStringLiteral("password authentication failed"))
           || message.contains(QStringLiteral("по паролю"));
}

QString connectReason(const QString& user, const PgConnection::Refusal& refusal)
{
    if (refusal.needsPassword) {
        return QStringLiteral("сервер требует пароль роли %1, а он не введён; введите пароль, когда программа его "
                              "спросит, или запишите его в файл ~/.pgpass")
            .arg(user);
    }
    if (refusal.usedPassword && refusedPassword(refusal.message)) {
        return QStringLiteral("сервер не принял пароль роли %1; проверьте пароль (введённый, в файле ~/.pgpass или "
                              "в адресе реестра) и повторите")
            .arg(user);
    }
    if (refusal.message.contains(QStringLiteral("starting up")) || refusal.message.contains(QStringLiteral("shutting down"))) {
        return QStringLiteral("сервер запускается или останавливается; повторите через несколько секунд");
    }
    if (reachedNoServer(refusal.message)) {
        return QStringLiteral("сервер не отвечает; проверьте, что он запущен и доступен по сети с этого компьютера, "
                              "и повторите, или ")
               + kAdministrator;
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
    return withDetail(failure(action, location, statementReason(user, result)), result.message());
}

bool isDamage(const PgResult& result)
{
    const QString state = result.sqlState();
    return state == u"XX001" || state == u"XX002";
}

} // namespace osago::serverErrors
