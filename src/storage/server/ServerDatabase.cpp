#include "storage/server/ServerDatabase.h"
#include "storage/server/ServerBlanks.h"

#include "storage/SqlNames.h"

#include "storage/EngineMakers.h"
#include "storage/PolicyColumns.h"
#include "storage/SearchFolding.h"
#include "storage/server/ServerErrors.h"
#include "storage/server/ServerText.h"
#include "storage/StorageActions.h"

#include <QUuid>

#include <algorithm>

namespace osago {

namespace {

const QString kSearchWithoutIndex = QStringLiteral("; поиск работает и без него, просматривая всю таблицу");

QByteArray number(qint64 value)
{
    return QByteArray::number(value);
}

QByteArray text(const QString& value)
{
    return value.toUtf8();
}

// A word as LIKE takes it literally: its own wildcards and the escape character escaped.
QByteArray likeLiteral(const QString& folded)
{
    QString escaped;
    escaped.reserve(folded.size());
    for (QChar unit : folded) {
        if (unit == u'\\' || unit == u'%' || unit == u'_')
            escaped += u'\\';
        escaped += unit;
    }
    return escaped.toUtf8();
}

// How COPY's text format writes a byte of a value, or null for the byte itself.
const char* copyEscape(char byte)
{
    switch (byte) {
    case '\\': return "\\\\";
    case '\t': return "\\t";
    case '\n': return "\\n";
    case '\r': return "\\r";
    default: return nullptr;
    }
}

// One line of COPY's text format: tabs between values; backslash, tab and line ends escaped; NULL as \N. The
// bytes between escapes go in as runs.
void appendCopyLine(const Utf8Row& row, QByteArray& lines)
{
    for (qsizetype column = 0; column < row.size(); ++column) {
        if (column > 0)
            lines += '\t';
        if (row.isNull(column)) {
            lines += "\\N";
            continue;
        }
        const QByteArrayView value = row[column];
        qsizetype run = 0;
        for (qsizetype i = 0; i < value.size(); ++i) {
            if (const char* escaped = copyEscape(value[i])) {
                lines.append(value.sliced(run, i - run));
                lines += escaped;
                run = i + 1;
            }
        }
        lines.append(value.sliced(run));
    }
    lines += '\n';
}

// The first and the last day of `period` as the server's day keys compare them, YYYYMMDD.
std::vector<QByteArray> dayKeys(const IssuePeriod& period)
{
    const QString format = QStringLiteral("yyyyMMdd");
    return {text(period.from.toString(format)), text(period.to.toString(format))};
}

QStringList rowTexts(const PgResult& result, int row, int firstColumn, int count)
{
    QStringList values;
    values.reserve(count);
    for (int column = firstColumn; column < firstColumn + count; ++column)
        values << result.text(row, column);
    return values;
}

} // namespace

ServerDatabase::ServerDatabase(PasswordSource askPassword)
    : m_session(std::move(askPassword)), m_blanks(std::make_unique<ServerBlankJournal>(*this))
{
}

ServerDatabase::~ServerDatabase() = default;

void ServerDatabase::close()
{
    m_session.close();
    m_readOnlyReason.clear();
    m_ownsTable = false;
    m_keptCount = false;
    m_foldedColumns = false;
    m_searchIndexRefusal.clear();
}

StorageStatus ServerDatabase::open(const QString& location, Access access)
{
    close();
    m_damaged = false;
    StorageStatus status = m_session.open(location, access == Access::ReadOnly, kOpenAction);
    if (status.ok) {
        m_folding = exists(serverSql::selectCollationExists()) ? serverSql::Folding::Icu
                                                                : serverSql::Folding::DatabaseLocale;
        if (access == Access::ReadOnly)
            m_readOnlyReason = kOpenedForReading;
        status = prepareTable();
    }
    if (!status.ok) {
        // The place stays known for the message; the connection itself is closed.
        close();
    }
    return status;
}

QString ServerDatabase::openWarning() const
{
    if (!isOpen() || !m_session.addressHoldsPassword())
        return {};
    return QStringLiteral("Пароль записан в адресе реестра. Программа подключилась с ним, но надёжнее хранить его "
                          "в файле ~/.pgpass (строка СЕРВЕР:ПОРТ:БАЗА:ПОЛЬЗОВАТЕЛЬ:ПАРОЛЬ, файл доступен только "
                          "владельцу) и убрать из адреса.");
}

QString ServerDatabase::connectionSecurity() const
{
    const PgConnection& connection = m_session.connection();
    if (!isOpen() || !connection.isOpen())
        return {};
    QString protocol = connection.tlsProtocol();
    if (protocol.isEmpty())
        return QStringLiteral("соединение не зашифровано");
    protocol.replace(QStringLiteral("TLSv"), QStringLiteral("TLS "));
    const bool verified = connection.sslMode() == u"verify-full";
    return QStringLiteral("соединение зашифровано (%1), %2")
        .arg(protocol, verified ? QStringLiteral("сервер проверен") : QStringLiteral("сервер не проверен"));
}

StorageStatus ServerDatabase::prepareTable()
{
    bool missing = false;
    StorageStatus status = checkColumns(kOpenAction, missing);
    if (status.ok && missing) {
        status = createTable();
        m_foldedColumns = status.ok;
    }
    if (status.ok)
        status = checkRights();
    if (status.ok)
        m_blanks->prepare(m_ownsTable, !isReadOnly());
    if (status.ok && m_ownsTable && !isReadOnly()) {
        createMissingIndexes();
        keepRowCount();
        createCommissionTable();
    }
    if (status.ok)
        m_keptCount = exists(serverSql::selectRowCountReadable());
    return status;
}

// Reads only: a table that fails here has not been touched.
StorageStatus ServerDatabase::checkColumns(const QString& action, bool& missing)
{
    const QByteArray table = serverSql::tableName();
    const StorageResult<PgResult> columns = exec(action, serverSql::selectTableColumns(), std::span(&table, 1));
    if (!columns.ok)
        return columns;
    missing = columns.value.rows() == 0;
    if (missing)
        return {};

    const QString foreign = QStringLiteral("таблица TableStrah на сервере не является реестром полисов этой "
                                           "программы (%1); она не изменена");
    struct Expected
    {
        QString name;
        QString type;
        bool generated = false;
    };
    std::vector<Expected> expected;
    for (const QString& name : policyColumnNames())
        expected.push_back({name, QStringLiteral("text")});
    expected.push_back({serverSql::kKeyColumn.toString(), QStringLiteral("bigint")});
    const int withoutFolded = int(expected.size());
    for (int column : searchedColumns())
        expected.push_back({serverSql::foldedColumnName(column), QStringLiteral("text"), true});
    const int count = columns.value.rows();
    if (count != withoutFolded && count != int(expected.size())) {
        return failure(action, foreign.arg(QStringLiteral("в ней %1 столбцов вместо %2").arg(count).arg(expected.size())));
    }
    for (int i = 0; i < count; ++i) {
        const Expected& column = expected[std::size_t(i)];
        const bool generated = columns.value.text(i, 2) == u"s";
        if (columns.value.text(i, 0) != column.name || columns.value.text(i, 1) != column.type
            || generated != column.generated) {
            const QString kept = column.generated ? QStringLiteral(", вычисляемый сервером (GENERATED ... STORED)") : QString();
            return failure(action, foreign.arg(QStringLiteral("столбец %1 должен называться «%2» и иметь тип %3%4")
                                                   .arg(QString::number(i + 1), column.name, column.type, kept)));
        }
    }
    m_foldedColumns = count == int(expected.size());
    return {};
}

StorageStatus ServerDatabase::createTable()
{
    const QString missing = QStringLiteral("таблицы TableStrah на сервере нет");
    if (isReadOnly())
        return failure(kOpenAction, missing);
    if (!exists(serverSql::selectMayCreateInSchema())) {
        return failure(kOpenAction, missing + QStringLiteral(", а роли %1 нельзя её создать; пусть администратор "
                                                             "сервера создаст таблицу (SQL в README программы)")
                                                  .arg(m_session.user()));
    }
    return inTransaction(kOpenAction, [this](const QString& action) {
        for (const QByteArray& sql : {serverSql::lockSchema(), text(serverSql::createTable(m_folding)), text(serverSql::createCodeIndex())}) {
            const StorageResult<PgResult> made = exec(action, sql);
            if (!made.ok)
                return StorageStatus(made);
        }
        return StorageStatus{};
    });
}

StorageStatus ServerDatabase::checkRights()
{
    const QByteArray table = serverSql::tableName();
    const StorageResult<PgResult> rights = exec(kOpenAction, serverSql::selectTableRights(), std::span(&table, 1));
    if (!rights.ok)
        return rights;
    const auto granted = [&](int column) { return rights.value.rows() == 1 && rights.value.text(0, column) == u"t"; };
    if (!granted(0)) {
        return failure(kOpenAction, QStringLiteral("роли %1 не разрешено читать таблицу TableStrah; пусть "
                                                   "администратор сервера даст ей права (GRANT SELECT, INSERT, "
                                                   "UPDATE, DELETE ON \"TableStrah\" TO %1)")
                                        .arg(m_session.user()));
    }
    m_ownsTable = granted(4);
    if (isReadOnly())
        return {};
    if (!granted(1) || !granted(2) || !granted(3)) {
        m_readOnlyReason = QStringLiteral("роли %1 разрешено только читать таблицу TableStrah на сервере; чтобы "
                                          "вносить записи, пусть администратор сервера даст ей права INSERT, "
                                          "UPDATE и DELETE")
                               .arg(m_session.user());
    } else if (exists(serverSql::selectServerReadOnly())) {
        m_readOnlyReason = QStringLiteral("сервер принимает только чтение (резервный сервер или режим только для "
                                          "чтения); чтобы вносить записи, подключитесь к основному серверу");
    }
    return {};
}

// The code index, and the search extension with the search indexes while the table is empty (they are built
// in no time then; a filled table gets each at its first search, with progress). Failures leave the register
// working, only slower.
void ServerDatabase::createMissingIndexes()
{
    const QByteArray codeIndex[] = {serverSql::tableName(), text(serverSql::codeIndexName())};
    if (!exists(serverSql::selectIndexExists(), codeIndex)) {
        inTransaction(kOpenAction,
                      [this](const QString& action) { return exec(action, text(serverSql::createCodeIndex())); });
    }
    if (exists(serverSql::selectAnyRow()))
        return;
    for (int column : searchedColumns())
        buildSearchIndex(column, {});
    buildRenewalIndexes({});
    buildIssueDayIndex({});
}

// Makes the kept row count of a table made without it (by an older program, or restored from a dump of the
// table alone), or mends one whose triggers were dropped or disabled. Writers wait on the register's lock
// meanwhile, so the count taken is the rows there; desks opening at once take the schema lock in turn, and
// the later ones find the count made. A failure (a writer holding the table longer than the lock timeout)
// leaves the rows counted at each refresh instead.
void ServerDatabase::keepRowCount()
{
    if (rowCountIsSound())
        return;
    inTransaction(kOpenAction, [this](const QString& action) {
        for (const QByteArray& lock : {serverSql::lockSchema(), serverSql::lockForAppend()}) {
            const StorageStatus locked = exec(action, lock);
            if (!locked.ok)
                return locked;
        }
        if (rowCountIsSound())
            return StorageStatus{};
        for (const QString& statement : serverSql::keepRowCount()) {
            const StorageStatus done = exec(action, text(statement));
            if (!done.ok)
                return done;
        }
        return StorageStatus{};
    });
}

bool ServerDatabase::rowCountIsSound() const
{
    return exists(serverSql::selectRowCountReadable()) && exists(serverSql::selectRowCountSound());
}

StorageStatus ServerDatabase::inTransaction(const QString& action, const Steps& steps, bool longWork)
{
    StorageStatus status = exec(action, "BEGIN");
    if (status.ok && longWork) {
        status = exec(action, "SET LOCAL statement_timeout = 0");
        m_session.allowLongSilence(true);
    }
    if (status.ok)
        status = steps(action);
    m_session.allowLongSilence(false);
    if (status.ok) {
        const StorageResult<PgResult> commit = m_session.exec(action, "COMMIT");
        if (!commit.ok && commit.value.connectionLost() && !commit.value.timedOut()) {
            return failure(action, QStringLiteral("соединение с сервером потеряно в момент сохранения, и неизвестно, "
                                                  "успел ли сервер его принять; проверьте в таблице, есть ли эта "
                                                  "запись, прежде чем повторить"));
        }
        status = commit;
    }
    if (!status.ok && m_session.connection().inTransaction())
        m_session.connection().exec("ROLLBACK");
    return status;
}

StorageStatus ServerDatabase::writable(const QString& action) const
{
    if (!isOpen())
        return failure(action, QStringLiteral("реестр не открыт"));
    if (m_damaged) {
        StorageStatus refusal = failure(action, damagedReason());
        refusal.damaged = true;
        return refusal;
    }
    if (isReadOnly()) {
        return failure(action, m_readOnlyReason == kOpenedForReading
                                   ? kOpenedForReading
                                   : kOpenedForReading + QStringLiteral(": ") + m_readOnlyReason);
    }
    return {};
}

StorageResult<QString> ServerDatabase::insert(const PolicyRow& row, const RecordBlanks& blanks)
{
    using Result = StorageResult<QString>;
    StorageStatus status = writable(kSaveAction);
    if (!status.ok)
        return Result::failure(status);
    // A random code is taken already only by a row copied in with it; another is drawn then. A save that failed
    // may still have been taken (its answer lost with the connection): the same record saved again goes under
    // the same code, and that code found taken is the earlier save, not written twice.
    bool again = m_unansweredSave && m_unansweredSave->row == row;
    for (;;) {
        const QString code = again ? m_unansweredSave->code : QUuid::createUuid().toString(QUuid::Id128);
        bool taken = false;
        status = inTransaction(kSaveAction, [&](const QString& action) {
            const StorageStatus locked = exec(action, serverSql::lockCodes());
            if (!locked.ok)
                return locked;
            std::vector<QByteArray> values;
            values.reserve(kPolicyColumnCount);
            for (int column = 0; column < kPolicyColumnCount; ++column)
                values.push_back(text(column == rowCodeColumnIndex() ? code : row.value(column)));
            const StorageResult<PgResult> inserted = exec(action, serverSql::insertUnlessCodeTaken(), values);
            taken = inserted.ok && inserted.value.affectedRows() == 0;
            if (!inserted.ok || taken)
                return StorageStatus(inserted);
            return m_blanks->markRecord(action, code, blanks);
        });
        if (!status.ok) {
            m_unansweredSave = UnansweredSave{row, code};
            return Result::failure(status);
        }
        if (!taken || again) {
            m_unansweredSave.reset();
            return Result::success(code);
        }
    }
}

StorageStatus ServerDatabase::update(RowKey key, const PolicyRow& asRead, const PolicyRow& row,
                               const RecordBlanks& blanks)
{
    return changeRow(kUpdateAction, key, asRead, [&](const QString& action) {
        std::vector<QByteArray> values;
        values.reserve(kPolicyColumnCount);
        for (int column = 0; column < kPolicyColumnCount; ++column) {
            if (column != rowCodeColumnIndex())
                values.push_back(text(row.value(column)));
        }
        values.push_back(number(key.value()));
        const StorageStatus updated = exec(action, serverSql::updateByKey(), values);
        return updated.ok ? m_blanks->markRecord(action, asRead.value(rowCodeColumnIndex()), blanks) : updated;
    });
}

StorageStatus ServerDatabase::remove(RowKey key, const PolicyRow& asRead, const RecordBlanks& blanks)
{
    return changeRow(kRemoveAction, key, asRead, [&](const QString& action) {
        const QByteArray id = number(key.value());
        const StorageStatus removed = exec(action, serverSql::deleteByKey(), std::span(&id, 1));
        return removed.ok ? m_blanks->markRecord(action, asRead.value(rowCodeColumnIndex()), blanks) : removed;
    });
}

StorageStatus ServerDatabase::changeRow(const QString& action, RowKey key, const PolicyRow& asRead, const Steps& write)
{
    const StorageStatus status = writable(action);
    if (!status.ok)
        return status;
    return inTransaction(action, [&](const QString& sameAction) {
        const StorageStatus unchanged = checkUnchanged(sameAction, key, asRead);
        return unchanged.ok ? write(sameAction) : unchanged;
    });
}

// Inside the write's transaction: the row stays locked against every other desk until the write commits.
StorageStatus ServerDatabase::checkUnchanged(const QString& action, RowKey key, const PolicyRow& asRead)
{
    const QByteArray id = number(key.value());
    const StorageResult<PgResult> current = exec(action, serverSql::selectForUpdate(), std::span(&id, 1));
    if (!current.ok)
        return current;
    if (current.value.rows() != 1
        || PolicyRow::fromValues(rowTexts(current.value, 0, 0, kPolicyColumnCount)) != asRead)
        return rowChanged();
    return {};
}

// The table is locked against other desks' writes for the copy, so the rows keep their order together after the
// rows there. Into an empty table of its own the rows go first and the indexes but the key's are built after
// them, in the same transaction, as a restore of a dump does: a trigram index takes rows far faster all at
// once than one by one. The other desks then wait for the copy's end even to read the (empty) register.
StorageResult<qint64> ServerDatabase::appendRows(const RowBlocks& next, bool requireEmpty,
                                                 const AppendProgress& progress)
{
    using Result = StorageResult<qint64>;
    qint64 added = 0;
    StorageStatus status = writable(kAppendAction);
    if (!status.ok)
        return Result::failure(status);
    status = inTransaction(
        kAppendAction,
        [&](const QString& action) {
            StorageStatus step = exec(action, serverSql::lockForAppend());
            if (!step.ok)
                return step;
            const bool empty = !exists(serverSql::selectAnyRow());
            if (requireEmpty && !empty) {
                return failure(action, QStringLiteral("в реестре уже есть записи, а добавлять их разрешено только "
                                                      "в пустой реестр"));
            }
            std::vector<QByteArray> laterIndexes;
            if (empty && m_ownsTable)
                step = dropIndexes(action, laterIndexes);
            if (step.ok)
                step = copyRows(action, next, progress, added);
            for (std::size_t i = 0; step.ok && i < laterIndexes.size(); ++i)
                step = exec(action, laterIndexes[i]);
            return step;
        },
        true);
    return status.ok ? Result::success(added) : Result::failure(status);
}

StorageStatus ServerDatabase::dropIndexes(const QString& action, std::vector<QByteArray>& creates)
{
    const QByteArray table = serverSql::tableName();
    const StorageResult<PgResult> found = exec(action, serverSql::selectLoadDeferredIndexes(), std::span(&table, 1));
    if (!found.ok)
        return found;
    for (int row = 0; row < found.value.rows(); ++row) {
        const StorageStatus dropped = exec(action, serverSql::dropIndex(found.value.bytes(row, 0).toByteArray()));
        if (!dropped.ok)
            return dropped;
        creates.push_back(found.value.bytes(row, 1).toByteArray());
    }
    return {};
}

StorageStatus ServerDatabase::copyRows(const QString& action, const RowBlocks& next, const AppendProgress& progress,
                                       qint64& added)
{
    StorageStatus step = exec(action, serverSql::copyIn());
    if (!step.ok)
        return step;
    PgConnection& connection = m_session.connection();
    Utf8Rows block;
    QByteArray lines;
    for (;;) {
        block.clear();
        step = next(block);
        for (std::size_t i = 0; step.ok && i < block.size(); ++i) {
            if (block.row(i).size() != kPolicyColumnCount) {
                step = failure(action, QStringLiteral("в строке %1 значений %2 вместо %3")
                                           .arg(added + qint64(i) + 1)
                                           .arg(block.row(i).size())
                                           .arg(kPolicyColumnCount));
            } else {
                step = checkStorable(action, block.row(i), added + qint64(i) + 1);
            }
        }
        if (!step.ok) {
            connection.endCopy(step.error);
            return step;
        }
        if (block.empty())
            break;
        lines.resize(0);
        for (std::size_t i = 0; i < block.size(); ++i)
            appendCopyLine(block.row(i), lines);
        if (!connection.putCopyData(lines))
            break;
        added += qint64(block.size());
        if (progress)
            progress(added);
    }
    const PgResult copied = connection.endCopy();
    return copied.ok() ? StorageStatus{} : m_session.failure(action, copied);
}

// Checked before the row is sent, as the server's own refusal of a COPY names neither row nor column in words the
// agent could follow.
StorageStatus ServerDatabase::checkStorable(const QString& action, const Utf8Row& row, qint64 number) const
{
    for (qsizetype column = 0; column < row.size(); ++column) {
        if (const std::optional<QString> why = serverText::whyUnstorable(row[column])) {
            return failure(action, QStringLiteral("строка %1 источника, Столбец «%2»: %3, а сервер такого текста не "
                                                  "хранит; исправьте значение в источнике и повторите")
                                       .arg(QString::number(number), policyColumnNames().at(column), *why));
        }
    }
    return {};
}

StorageResult<PolicyRow> ServerDatabase::load(RowKey key) const
{
    return loadThroughReadRows(key, rowChanged());
}

StorageResult<PolicyRow> ServerDatabase::load(const QString& code) const
{
    using Result = StorageResult<PolicyRow>;
    const QByteArray value = text(code);
    const StorageResult<PgResult> found = exec(kLoadAction, serverSql::selectByCode(), std::span(&value, 1));
    if (!found.ok)
        return Result::failure(found);
    if (found.value.rows() == 0)
        return Result::failure(failure(kLoadAction, QStringLiteral("записи с этим кодом в реестре нет")));
    return Result::success(*PolicyRow::fromValues(rowTexts(found.value, 0, 0, kPolicyColumnCount)));
}

StorageResult<TableExtent> ServerDatabase::readTableExtent() const
{
    using Result = StorageResult<TableExtent>;
    StorageResult<PgResult> extent = exec(kReadAction, serverSql::selectExtent(m_keptCount));
    // The count's table dropped or its right taken away since the register was opened: the rows are counted.
    const QString refusal = extent.value.sqlState();
    if (!extent.ok && m_keptCount && (refusal == u"42P01" || refusal == u"42501")) {
        m_keptCount = false;
        extent = exec(kReadAction, serverSql::selectExtent(false));
    }
    if (!extent.ok)
        return Result::failure(extent);
    const qint64 rows = std::min<qint64>(extent.value.text(0, 0).toLongLong(), INT_MAX);
    return Result::success({int(rows), extent.value.text(0, 1).toLongLong()});
}

StorageStatus ServerDatabase::readIds(const QString& action, const QByteArray& sql, std::span<const QByteArray> values,
                                      std::vector<qint64>& ids, bool append) const
{
    if (!append)
        ids.clear();
    const StorageResult<PgResult> read = exec(action, sql, values, PgConnection::Format::Binary);
    if (!read.ok)
        return read;
    const int rows = read.value.rows();
    ids.reserve(ids.size() + std::size_t(rows));
    for (int row = 0; row < rows; ++row)
        ids.push_back(read.value.binaryInt64(row, 0));
    return {};
}

StorageStatus ServerDatabase::readIdsBetween(qint64 lowest, qint64 highest, int limit, Walk walk,
                                             std::vector<qint64>& ids) const
{
    const QByteArray values[] = {number(lowest), number(highest), number(limit)};
    return readIds(kReadAction, serverSql::selectIdsBetween(walk == Walk::Down), values, ids, true);
}

StorageStatus ServerDatabase::readAllIds(std::vector<qint64>& ids) const
{
    return readIds(kReadAction, serverSql::selectAllIds(), {}, ids);
}

serverSql::SearchPath ServerDatabase::searchPath(const QString& folded) const
{
    if (!m_foldedColumns)
        return serverSql::SearchPath::Expression;
    return folded.toUcs4().size() < serverSql::kTrigramLength ? serverSql::SearchPath::KeyOrder
                                                              : serverSql::SearchPath::Trigrams;
}

StorageStatus ServerDatabase::readSelectedIds(const RowSelection& selection, std::vector<qint64>& ids) const
{
    const bool amongOldest = selection.amongOldest > 0;
    const QString folded = searchFolded(selection.word);
    const serverSql::SearchPath path = searchPath(folded);
    const QByteArray values[] = {path == serverSql::SearchPath::KeyOrder ? text(folded) : likeLiteral(folded),
                                 number(selection.amongOldest)};
    if (path == serverSql::SearchPath::Expression || amongOldest) {
        return readIds(kReadAction, serverSql::selectContaining(selection.column, path, m_folding, amongOldest),
                       std::span(values, amongOldest ? 2 : 1), ids);
    }
    // The short texts and the long ones are read apart, each in key order through its own index, and merged
    // here: one statement for both would have the server sort up to every key of the table. A row changed
    // between the two is found once.
    StorageStatus status = readIds(kReadAction, serverSql::selectFoldedContaining(selection.column, path, false),
                                   std::span(values, 1), ids);
    const auto shortEnd = std::ptrdiff_t(ids.size());
    if (status.ok) {
        status = readIds(kReadAction, serverSql::selectFoldedContaining(selection.column, path, true),
                         std::span(values, 1), ids, true);
    }
    std::inplace_merge(ids.begin(), ids.begin() + std::min(shortEnd, std::ptrdiff_t(ids.size())), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return status;
}

StorageStatus ServerDatabase::readIdsOfCode(const QString& code, std::vector<qint64>& ids) const
{
    const QByteArray value = text(code);
    return readIds(kReadAction, serverSql::selectIdsByCode(), std::span(&value, 1), ids);
}

// Ids without a gap are read as one range of keys, others as one array of them.
StorageResult<PgResult> ServerDatabase::readRowsWithKeys(std::span<const qint64> ids) const
{
    if (ids.empty()) {
        return isOpen() ? StorageResult<PgResult>::success(PgResult())
                        : StorageResult<PgResult>::failure(failure(kReadAction, QStringLiteral("реестр не открыт")));
    }
    const bool range = ids.back() - ids.front() == qint64(ids.size()) - 1;
    std::vector<QByteArray> values;
    if (range) {
        values = {number(ids.front()), number(ids.back())};
    } else {
        QByteArray array = "{";
        for (std::size_t i = 0; i < ids.size(); ++i) {
            if (i > 0)
                array += ',';
            array += number(ids[i]);
        }
        values = {array + '}'};
    }
    return exec(kReadAction, range ? serverSql::selectByKeyRange() : serverSql::selectByKeys(), values);
}

StorageStatus ServerDatabase::readRows(std::span<const qint64> ids, std::vector<QStringList>& rows) const
{
    rows.assign(ids.size(), QStringList());
    const StorageResult<PgResult> read = readRowsWithKeys(ids);
    if (!read.ok || ids.empty())
        return read;
    for (int row = 0; row < read.value.rows(); ++row) {
        const qint64 id = read.value.text(row, 0).toLongLong();
        const auto found = std::lower_bound(ids.begin(), ids.end(), id);
        if (found != ids.end() && *found == id)
            rows[std::size_t(found - ids.begin())] = rowTexts(read.value, row, 1, kPolicyColumnCount);
    }
    return {};
}

// The server sends texts in the connection's client encoding, always UTF-8 (PgConnection::open()).
StorageStatus ServerDatabase::readRowsUtf8(std::span<const qint64> ids, Utf8Rows& rows) const
{
    rows.clear();
    const StorageResult<PgResult> read = readRowsWithKeys(ids);
    if (!read.ok || ids.empty())
        return read;
    // The key comes first, then the 123 columns.
    read.value.appendRows(1, kPolicyColumnCount, rows);
    return {};
}

StorageStatus ServerDatabase::readIssuedIn(const IssuePeriod& period, std::span<const int> columns,
                                           std::vector<QStringList>& rows) const
{
    return readIssued(period, nullptr, columns, rows);
}

StorageStatus ServerDatabase::readIssuedByAgent(const IssuePeriod& period, const QString& agent,
                                                std::span<const int> columns, std::vector<QStringList>& rows) const
{
    return readIssued(period, &agent, columns, rows);
}

StorageStatus ServerDatabase::readIssued(const IssuePeriod& period, const QString* agent, std::span<const int> columns,
                                         std::vector<QStringList>& rows) const
{
    rows.clear();
    std::vector<QByteArray> values = dayKeys(period);
    if (agent)
        values.push_back(text(*agent));
    const int count = int(columns.size());
    const StorageResult<PgResult> read = m_session.execRowByRow(
        kReadAction, serverSql::selectIssuedIn(columns, agent != nullptr), values,
        [&](const PgResult& row) { rows.push_back(rowTexts(row, 0, 1, count)); });
    if (!read.ok)
        rows.clear();
    return read;
}

StorageStatus ServerDatabase::readAgentDaysIssuedIn(const IssuePeriod& period, std::vector<QStringList>& pairs) const
{
    pairs.clear();
    const std::vector<QByteArray> values = dayKeys(period);
    const StorageResult<PgResult> read = exec(kReadAction, serverSql::selectAgentDaysIssuedIn(), values);
    if (!read.ok)
        return read;
    pairs.reserve(std::size_t(read.value.rows()));
    for (int row = 0; row < read.value.rows(); ++row)
        pairs.push_back(rowTexts(read.value, row, 0, 2));
    return {};
}

StorageStatus ServerDatabase::readEndingIn(const IssuePeriod& period, std::span<const int> columns,
                                           std::vector<qint64>& ids, std::vector<QStringList>& rows) const
{
    ids.clear();
    rows.clear();
    const std::vector<QByteArray> values = dayKeys(period);
    const int count = int(columns.size());
    const StorageResult<PgResult> read =
        m_session.execRowByRow(kReadAction, serverSql::selectEndingIn(columns), values, [&](const PgResult& row) {
            ids.push_back(row.text(0, 0).toLongLong());
            rows.push_back(rowTexts(row, 0, 1, count));
        });
    if (!read.ok) {
        ids.clear();
        rows.clear();
    }
    return read;
}

StorageStatus ServerDatabase::readStartsOf(int column, const QStringList& values, std::vector<QStringList>& rows) const
{
    rows.clear();
    const QByteArray list = sqlNames::jsonTextArray(values);
    const StorageResult<PgResult> read = exec(kReadAction, serverSql::selectStartsOf(column), std::span(&list, 1));
    if (!read.ok)
        return read;
    rows.reserve(std::size_t(read.value.rows()));
    for (int row = 0; row < read.value.rows(); ++row)
        rows.push_back(rowTexts(read.value, row, 0, 2));
    return {};
}

StorageResult<int> ServerDatabase::countRenewalsDue(const IssuePeriod& period) const
{
    const QByteArray values[] = {text(period.from.toString(QStringLiteral("yyyyMMdd"))),
                                 text(period.to.toString(QStringLiteral("yyyyMMdd"))),
                                 text(sqlNames::trimmedCharacters()), serverSql::readableDatePattern()};
    const StorageResult<PgResult> read = exec(kReadAction, serverSql::countRenewalsDue(), values);
    if (!read.ok)
        return StorageResult<int>::failure(read);
    return StorageResult<int>::success(read.value.text(0, 0).toInt());
}

// The password goes with the opener, for the server that wants it; one it does not know is never asked for.
PolicyDatabase::ReaderOpener ServerDatabase::readerBeside() const
{
    return [reach = m_session.reach()]() {
        return openMade(makeServerDatabase([password = reach.password](const QString&) { return password; }),
                        reach.location, Access::ReadOnly);
    };
}

bool ServerDatabase::hasIndexes(const QStringList& names) const
{
    return std::all_of(names.begin(), names.end(), [this](const QString& name) {
        const QByteArray values[] = {serverSql::tableName(), text(name)};
        return exists(serverSql::selectIndexExists(), values);
    });
}

bool ServerDatabase::hasRenewalIndexes() const
{
    return hasIndexes(serverSql::renewalIndexNames());
}

StorageStatus ServerDatabase::buildRenewalIndexes(const IndexProgress& progress)
{
    return buildOwnersIndexes(kRenewalIndexAction, serverSql::renewalIndexNames(), serverSql::createRenewalIndexes(),
                              progress);
}

bool ServerDatabase::hasIssueDayIndex() const
{
    return hasIndexes({serverSql::issueIndexName()});
}

StorageStatus ServerDatabase::buildIssueDayIndex(const IndexProgress& progress)
{
    return buildOwnersIndexes(kIssueIndexAction, {serverSql::issueIndexName()}, {serverSql::createIssueIndex()},
                              progress);
}

StorageStatus ServerDatabase::buildOwnersIndexes(const QString& action, const QStringList& names,
                                                 const QStringList& statements, const IndexProgress& progress)
{
    const StorageStatus status = writable(action);
    if (!status.ok || hasIndexes(names))
        return status;
    if (!m_ownsTable) {
        return failure(action, QStringLiteral("строить указатели может только владелец таблицы "
                                              "TableStrah; пусть их построит администратор сервера"));
    }
    return createIndexes(action, statements, progress);
}

bool ServerDatabase::hasSearchIndex(int column) const
{
    QStringList names{serverSql::searchIndexName(column)};
    if (m_foldedColumns)
        names << serverSql::keyOrderIndexNames(column);
    return hasIndexes(names);
}

// The key-order indexes need no extension: built first, they serve the short words where trigrams cannot be.
StorageStatus ServerDatabase::buildSearchIndex(int column, const IndexProgress& progress)
{
    StorageStatus status = writable(kBuildAction);
    if (!status.ok || hasSearchIndex(column))
        return status;
    if (!m_ownsTable) {
        m_searchIndexRefusal = QStringLiteral("строить указатели может только владелец таблицы TableStrah; пусть их "
                                              "построит администратор сервера (SQL в README)");
    }
    if (!m_searchIndexRefusal.isEmpty())
        return failure(kBuildAction, m_searchIndexRefusal + kSearchWithoutIndex);
    QStringList statements;
    if (m_foldedColumns)
        statements = serverSql::createKeyOrderIndexes(column);
    const bool trigrams = exists(serverSql::selectExtensionExists()) || inTransaction(kBuildAction, [this](const QString& action) {
        return StorageStatus(exec(action, text(serverSql::createSearchExtension())));
    }).ok;
    if (trigrams) {
        statements << serverSql::createSearchIndex(column, m_folding,
                                                   m_foldedColumns ? serverSql::SearchPath::Trigrams
                                                                   : serverSql::SearchPath::Expression);
    }
    status = createIndexes(kBuildAction, statements, progress);
    if (status.ok && !trigrams) {
        m_searchIndexRefusal = QStringLiteral("расширение pg_trgm не установлено на сервере, и роли нельзя его "
                                              "установить; пусть администратор сервера установит пакет "
                                              "postgresql-contrib и выполнит CREATE EXTENSION pg_trgm");
        return failure(kBuildAction, m_searchIndexRefusal + kSearchWithoutIndex);
    }
    return status;
}

// Each statement's progress is its share of the whole.
StorageStatus ServerDatabase::createIndexes(const QString& action, const QStringList& statements,
                                           const IndexProgress& progress)
{
    StorageStatus status;
    const int count = int(statements.size());
    for (int i = 0; i < count && status.ok; ++i) {
        const IndexProgress share = [&](int percent) { progress((i * 100 + percent) / count); };
        status = createIndex(action, statements[i], progress ? share : IndexProgress{});
    }
    return status;
}

// CREATE INDEX runs while a second connection reads the server's account of it (the share of the table's
// blocks scanned) every tenth of a second; without that connection the index is built all the same.
StorageStatus ServerDatabase::createIndex(const QString& action, const QString& sql, const IndexProgress& progress)
{
    PgConnection watcher;
    const bool watching = progress && !m_session.openSideConnection(watcher);
    return inTransaction(
        action,
        [&](const QString& sameAction) {
            PgConnection& connection = m_session.connection();
            if (!connection.start(text(sql)))
                return m_session.failure(sameAction, connection.finish());
            const QByteArray pid = number(connection.backendPid());
            while (!connection.waitReady(100)) {
                if (!watching)
                    continue;
                const PgResult share = watcher.exec(
                    "SELECT blocks_done * 100 / nullif(blocks_total, 0) FROM pg_stat_progress_create_index "
                    "WHERE pid = $1",
                    std::span(&pid, 1));
                if (share.ok() && share.rows() == 1 && !share.isNull(0, 0))
                    progress(std::clamp(share.text(0, 0).toInt(), 0, 99));
            }
            const PgResult built = connection.finish();
            return built.ok() ? StorageStatus{} : m_session.failure(sameAction, built);
        },
        true);
}

bool ServerDatabase::exists(const QByteArray& sql, std::span<const QByteArray> values) const
{
    const StorageResult<PgResult> found = exec(kReadAction, sql, values);
    return found.ok && found.value.rows() > 0 && found.value.text(0, 0) != u"f";
}

StorageResult<PgResult> ServerDatabase::exec(const QString& action, const QByteArray& sql,
                                             std::span<const QByteArray> values, PgConnection::Format format) const
{
    StorageResult<PgResult> result = m_session.exec(action, sql, values, format);
    if (!result.ok && serverErrors::isDamage(result.value)) {
        m_damaged = true;
        result.damaged = true;
    }
    return result;
}

StorageStatus ServerDatabase::rowChanged() const
{
    StorageStatus status = StorageStatus::failure(kRowChangedMessage + QStringLiteral("\nРеестр: ") + m_session.place());
    status.rowChanged = true;
    return status;
}

StorageStatus ServerDatabase::failure(const QString& action, const QString& reason) const
{
    return m_session.failure(action, reason);
}

BlankJournal& ServerDatabase::blanks()
{
    return *m_blanks;
}

const BlankJournal& ServerDatabase::blanks() const
{
    return *m_blanks;
}

std::unique_ptr<PolicyDatabase> makeServerDatabase(PasswordSource askPassword)
{
    return std::make_unique<ServerDatabase>(std::move(askPassword));
}

} // namespace osago
