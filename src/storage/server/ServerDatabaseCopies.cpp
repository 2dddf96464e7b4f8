#include "storage/server/ServerDatabase.h"

#include "storage/server/ServerBlanks.h"

#include "storage/PolicyColumns.h"
#include "storage/RegisterRowStream.h"
#include "storage/StorageActions.h"

#include <QDir>
#include <QRegularExpression>

namespace osago {

QString ServerDatabase::damagedReason() const
{
    return QStringLiteral("таблица реестра на сервере повреждена, и в неё ничего не записывается; восстановите её "
                          "из резервной копии («Сервис → Восстановить из копии...») или попросите администратора "
                          "сервера проверить базу данных");
}

QString ServerDatabase::backupRefusal() const
{
    return isOpen() ? QString() : QStringLiteral("Реестр не открыт, поэтому копировать и восстанавливать нечего.");
}

QString ServerDatabase::restoreRefusal() const
{
    if (!isOpen())
        return backupRefusal();
    if (isReadOnly())
        return QStringLiteral("Реестр открыт только для чтения, восстановить его из копии нельзя: %1").arg(m_readOnlyReason);
    if (!m_ownsTable) {
        return QStringLiteral("Восстановить таблицу TableStrah из копии может только её владелец, а роль %1 им не "
                              "является; пусть это сделает владелец таблицы.")
            .arg(m_session.user());
    }
    return {};
}

// Copies land beside where the program was started, as a file register's do beside the file. Their names hold
// the server and its port (or the address's list of servers, the same whichever of them serves) and the
// database, with every character a file name may not hold taken for "_".
CopyPlace ServerDatabase::copyPlace() const
{
    const PgConnection& connection = m_session.connection();
    const QString list = m_session.serverList();
    const QString servers = list.isEmpty() ? connection.host() + u'-' + connection.port() : list;
    QString stem = QStringLiteral("%1-%2").arg(servers, connection.database());
    static const QRegularExpression unsafe(QStringLiteral("[^\\w.-]"), QRegularExpression::UseUnicodePropertiesOption);
    stem.replace(unsafe, QStringLiteral("_"));
    return {QDir::current().absoluteFilePath(QStringLiteral("Архив")), stem};
}

StorageStatus ServerDatabase::copyRowsInto(PolicyDatabase& copy, const BackupProgress& progress)
{
    const StorageResult<TableExtent> extent = readTableExtent();
    if (!extent.ok)
        return extent;
    StorageStatus status = exec(kBackupAction, serverSql::declareCopyCursor());
    if (!status.ok)
        return status;
    const RowBlocks next = [this](Utf8Rows& rows) -> StorageStatus {
        const StorageResult<PgResult> fetched = exec(kBackupAction, serverSql::fetchCopyCursor());
        if (!fetched.ok)
            return fetched;
        fetched.value.appendRows(0, kPolicyColumnCount, rows);
        return {};
    };
    const StorageResult<qint64> added = copy.appendRows(next, true, [&](qint64 rows) {
        if (progress)
            progress(int(std::min<qint64>(rows, extent.value.rows)), extent.value.rows);
    });
    if (!added.ok)
        return added;
    // The table is free again for the rest of the transaction (a restore empties it next).
    const StorageStatus closed = exec(kBackupAction, serverSql::closeCopyCursor());
    if (!closed.ok)
        return closed;
    // The journal and the rates go with the rows, read in the same snapshot.
    const StorageStatus journal = copyJournal(*m_blanks, copy.blanks());
    if (!journal.ok)
        return journal;
    const StorageResult<CommissionRates> rates = readRates(kBackupAction, true);
    return rates.ok ? copy.replaceCommissionRates(rates.value) : StorageStatus(rates);
}

StorageResult<QString> ServerDatabase::backup(const CopyPlace& place, const QDateTime& now, OnDisk onDisk,
                                              const BackupProgress& progress)
{
    using Result = StorageResult<QString>;
    if (const QString refusal = backupRefusal(); !refusal.isEmpty())
        return Result::failure(StorageStatus::failure(refusal));
    // One snapshot from the first row to the last, while other desks go on saving, read over a connection of its
    // own: the copy is made off the window's thread while this one goes on serving the agent.
    ServerDatabase reader;
    if (const StorageStatus opened = reader.m_session.openBeside(m_session, kBackupAction); !opened.ok)
        return Result::failure(opened);
    reader.m_blanks->prepare(false, false);
    StorageResult<QString> copy;
    const StorageStatus status = reader.inTransaction(
        kBackupAction,
        [&](const QString& action) {
            const StorageStatus snapshot = exec(action, "SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY");
            if (!snapshot.ok)
                return snapshot;
            copy = writeCopy(place, now, [&](PolicyDatabase& file) { return reader.copyRowsInto(file, progress); },
                             onDisk);
            return StorageStatus(copy);
        },
        true);
    return status.ok ? copy : Result::failure(status);
}

StorageStatus ServerDatabase::restore(const QString& copy, const QDateTime& now)
{
    if (const QString refusal = restoreRefusal(); !refusal.isEmpty())
        return StorageStatus::failure(refusal);
    if (const QString refusal = copyRefusal(copy); !refusal.isEmpty())
        return StorageStatus::failure(refusal);
    const StorageResult<std::unique_ptr<PolicyDatabase>> file = openDatabase(copy, Access::ReadOnly);
    if (!file.ok)
        return StorageStatus::failure(file.error);
    RegisterRowStream blocks(*file.value, std::nullopt);
    StorageStatus status = blocks.start();
    const StorageResult<CommissionRates> rates = file.value->readCommissionRates();
    if (!status.ok || !rates.ok)
        return status.ok ? StorageStatus(rates) : status;
    status = inTransaction(
        kRestoreAction,
        [&](const QString& action) {
            for (const QByteArray& lock : {serverSql::lockSchema(), serverSql::lockWholeTable()}) {
                const StorageStatus locked = exec(action, lock);
                if (!locked.ok)
                    return locked;
            }
            // The rows there now are kept first, as the table stands under the lock.
            const StorageResult<QString> kept =
                writeCopy(copyPlace(), now, [this](PolicyDatabase& file) { return copyRowsInto(file, {}); },
                          OnDisk::BeforeReport);
            if (!kept.ok) {
                return failure(action, QStringLiteral("текущие строки не сохранены в копию (%1)").arg(kept.error));
            }
            StorageStatus step = exec(action, serverSql::emptyTable());
            qint64 added = 0;
            if (step.ok)
                step = copyRows(action, [&](Utf8Rows& rows) { return blocks.next(rows); }, {}, added);
            if (step.ok)
                step = m_blanks->replaceIn(action, file.value->blanks());
            return step.ok ? writeRates(action, rates.value) : step;
        },
        true);
    if (status.ok)
        m_damaged = false;
    return status;
}

} // namespace osago
