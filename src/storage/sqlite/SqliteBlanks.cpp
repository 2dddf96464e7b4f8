#include "storage/sqlite/SqliteBlanks.h"

#include "storage/BlankJournalRules.h"
#include "storage/BlankNumbers.h"
#include "storage/StorageActions.h"
#include "storage/sqlite/SqliteBlankSql.h"
#include "storage/sqlite/SqliteDatabase.h"
#include "storage/sqlite/SqliteReads.h"

#include <QSqlQuery>
#include <QVariantList>

#include <algorithm>
#include <map>
#include <set>

namespace osago {

namespace sql = sqliteBlankSql;

namespace {

// Ids go into a statement this many at a time, well under SQLite's limit of bound values.
constexpr std::size_t kIdsAStatement = 500;

QVariant nullText()
{
    return QVariant(QString());
}

// Qt binds a null text as NULL; the journal's texts are never NULL.
QVariant textValue(const QString& text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

QVariantList numberValues(const BlankNumber& blank)
{
    return {int(blank.kind), foldBlankSeries(blank.series), blank.number};
}

BlankNumber numberAt(const QSqlQuery& query, int first)
{
    return {BlankKind(query.value(first).toInt()), query.value(first + 1).toString(),
            query.value(first + 2).toLongLong()};
}

// kind, series, number, received, status, status_date, spoiled_on, record_code from `first` on.
BlankHistoryRow historyAt(const QSqlQuery& query, int first)
{
    return {numberAt(query, first), dateOfJournal(query.value(first + 3).toString()),
            BlankStatus(query.value(first + 4).toInt()), dateOfJournal(query.value(first + 5).toString()),
            dateOfJournal(query.value(first + 6).toString()), query.value(first + 7).toString()};
}

ReceiptRow receiptAt(const QSqlQuery& query)
{
    return {query.value(0).toLongLong(),
            {BlankKind(query.value(1).toInt()), query.value(2).toString(), query.value(3).toLongLong(),
             query.value(4).toLongLong(), dateOfJournal(query.value(5).toString()), query.value(6).toString(),
             query.value(7).toString()}};
}

QVariantList filterValues(const BlankFilter& filter)
{
    QVariantList values;
    if (filter.kind)
        values << int(*filter.kind);
    if (!filter.series.isEmpty())
        values << foldBlankSeries(filter.series);
    if (filter.status)
        values << int(*filter.status);
    if (!filter.numberPart.isEmpty())
        values << filter.numberPart.trimmed();
    return values;
}

QVariantList idValues(std::span<const qint64> ids)
{
    QVariantList values;
    values.reserve(qsizetype(ids.size()));
    for (qint64 id : ids)
        values << id;
    return values;
}

} // namespace

StorageStatus SqliteBlankJournal::run(QSqlQuery& query, const QString& action, const QString& text,
                                      const QVariantList& values) const
{
    query.setForwardOnly(true);
    if (!query.prepare(text))
        return m_database.failure(action, query);
    for (const QVariant& value : values)
        query.addBindValue(value);
    return query.exec() ? StorageStatus{} : m_database.failure(action, query);
}

// A file opened for reading that was made before the journal has no tables of it: it has no blanks either.
bool SqliteBlankJournal::tablesPresent() const
{
    if (!m_database.isOpen())
        return false;
    QSqlQuery query(m_database.m_db);
    return query.exec(sql::selectTablesPresent()) && query.next() && query.value(0).toInt() == 2;
}

StorageStatus SqliteBlankJournal::readable() const
{
    return m_database.isOpen() ? StorageStatus{} : m_database.failure(kReadBlanksAction, QStringLiteral("реестр не открыт"));
}

StorageStatus SqliteBlankJournal::createTables(QSqlQuery& query, const QString& action) const
{
    for (const QString& statement : sql::createTables()) {
        if (!query.exec(statement))
            return m_database.failure(action, query);
    }
    return {};
}

StorageStatus SqliteBlankJournal::addTablesIfMissing()
{
    if (tablesPresent())
        return {};
    return m_database.inTransaction(kOpenAction, [this](const QString& action) {
        QSqlQuery query(m_database.m_db);
        return createTables(query, action);
    });
}

StorageResult<bool> SqliteBlankJournal::anyReceived() const
{
    const StorageStatus status = readable();
    if (!status.ok || !tablesPresent())
        return {status, false};
    QSqlQuery query(m_database.m_db);
    const StorageStatus read = run(query, kReadBlanksAction, sql::selectAnyBlank(), {});
    return {read, read.ok && query.next() && query.value(0).toBool()};
}

StorageResult<ReceiveOutcome> SqliteBlankJournal::receive(const BlankReceipt& given)
{
    using Result = StorageResult<ReceiveOutcome>;
    BlankReceipt receipt = given;
    receipt.series = foldBlankSeries(hasSeries(receipt.kind) ? receipt.series : QString());
    if (receipt.first > receipt.last || receipt.first < 0 || receipt.last > highestBlankNumber(receipt.kind))
        return Result::failure(m_database.failure(kReceiveAction, QStringLiteral("неверный диапазон номеров")));
    // The records of a received range are found by their numbers' index, made at the first receipt of a kind.
    const sqliteSql::Index& index = sql::recordNumberIndex(receipt.kind);
    if (!m_database.hasIndex(index.name) && !m_database.isReadOnly()) {
        m_database.inTransaction(kReceiveAction, [&](const QString& action) {
            QSqlQuery query(m_database.m_db);
            return query.exec(index.create) ? StorageStatus{} : m_database.failure(action, query);
        });
    }
    ReceiveOutcome outcome;
    const StorageStatus status = m_database.inTransaction(kReceiveAction, [&](const QString& action) {
        QSqlQuery query(m_database.m_db);
        StorageStatus step = run(query, action, sql::selectOverlappingReceipt(),
                                 {int(receipt.kind), receipt.series, receipt.last, receipt.first});
        if (!step.ok)
            return step;
        if (query.next())
            return m_database.failure(action, overlapRefusal(receiptAt(query)));
        const QString day = journalDate(receipt.date);
        step = run(query, action, sql::insertReceipt(),
                   {int(receipt.kind), receipt.series, receipt.first, receipt.last, day, textValue(receipt.act),
                    textValue(receipt.note)});
        if (!step.ok)
            return step;
        outcome.receiptId = query.lastInsertId().toLongLong();
        step = run(query, action, sql::insertReceivedBlanks(),
                   {receipt.first, receipt.last, outcome.receiptId, int(receipt.kind), receipt.series, day, day});
        if (!step.ok)
            return step;
        outcome.received = query.numRowsAffected();
        step = run(query, action, sql::selectRecordsInRange(receipt.kind),
                   {blankNumberText(receipt.kind, receipt.first), blankNumberText(receipt.kind, receipt.last)});
        if (!step.ok)
            return step;
        std::map<qint64, QString> users;
        while (query.next()) {
            if (const std::optional<qint64> number = numberInReceipt(receipt, query.value(2).toString()))
                users.try_emplace(*number, query.value(1).toString());
        }
        for (const auto& [number, code] : users) {
            step = run(query, action, sql::takeBlank(), {day, code, int(receipt.kind), receipt.series, number});
            if (!step.ok)
                return step;
            outcome.markedUsed += query.numRowsAffected();
        }
        return StorageStatus{};
    });
    return status.ok ? Result::success(outcome) : Result::failure(status);
}

StorageStatus SqliteBlankJournal::readReceipts(std::vector<ReceiptRow>& receipts) const
{
    receipts.clear();
    const StorageStatus status = readable();
    if (!status.ok || !tablesPresent())
        return status;
    QSqlQuery query(m_database.m_db);
    const StorageStatus read = run(query, kReadBlanksAction, sql::selectReceipts(), {});
    while (read.ok && query.next())
        receipts.push_back(receiptAt(query));
    return read;
}

StorageStatus SqliteBlankJournal::cancelReceipt(qint64 receiptId)
{
    return m_database.inTransaction(kCancelReceiptAction, [&](const QString& action) {
        QSqlQuery query(m_database.m_db);
        StorageStatus step = run(query, action, sql::countMovedOfReceipt(), {receiptId, receiptId});
        if (!step.ok || !query.next())
            return step.ok ? m_database.failure(action, query) : step;
        if (query.value(0).toInt() == 0)
            return journalChangedFailure(action);
        if (const qint64 moved = query.value(1).toLongLong(); moved > 0)
            return m_database.failure(action, cancelRefusal(moved));
        step = run(query, action, sql::deleteBlanksOfReceipt(), {receiptId});
        return step.ok ? run(query, action, sql::deleteReceipt(), {receiptId}) : step;
    });
}

StorageResult<TableExtent> SqliteBlankJournal::readExtent() const
{
    const StorageStatus status = readable();
    if (!status.ok || !tablesPresent())
        return {status, {}};
    QSqlQuery query(m_database.m_db);
    const StorageStatus read = run(query, kReadBlanksAction, sql::selectExtent(), {});
    if (!read.ok || !query.next())
        return {read, {}};
    return StorageResult<TableExtent>::success(
        {int(std::min<qint64>(query.value(0).toLongLong(), INT_MAX)), query.value(1).toLongLong()});
}

StorageStatus SqliteBlankJournal::readIdsBetween(qint64 lowest, qint64 highest, int limit, Walk walk,
                                                 std::vector<qint64>& ids) const
{
    const StorageStatus status = readable();
    if (!status.ok || !tablesPresent())
        return status;
    QSqlQuery query(m_database.m_db);
    const StorageStatus read =
        run(query, kReadBlanksAction, sql::selectIdsBetween(walk == Walk::Down), {lowest, highest, limit});
    while (read.ok && query.next())
        ids.push_back(query.value(0).toLongLong());
    return read;
}

StorageStatus SqliteBlankJournal::readIds(const BlankFilter& filter, std::vector<qint64>& ids) const
{
    ids.clear();
    const StorageStatus status = readable();
    if (!status.ok || !tablesPresent())
        return status;
    return readRowIds(m_database, sql::selectIdsOf(filter), filterValues(filter), ids);
}

StorageStatus SqliteBlankJournal::readUsers(const std::set<QString>& codes, std::map<QString, BlankUser>& users) const
{
    const std::vector<QString> all(codes.begin(), codes.end());
    QSqlQuery query(m_database.m_db);
    for (std::size_t start = 0; start < all.size(); start += kIdsAStatement) {
        const std::size_t count = std::min(kIdsAStatement, all.size() - start);
        QVariantList values;
        for (std::size_t i = start; i < start + count; ++i)
            values << all[i];
        const StorageStatus read = run(query, kReadBlanksAction, sql::selectUsers(int(count)), values);
        if (!read.ok)
            return read;
        // Oldest last, so where two records share a code the oldest is the one named.
        while (query.next()) {
            const QString code = query.value(0).toString();
            users[code] = blankUser(code, query.value(1).toString(), query.value(2).toString(),
                                    query.value(3).toString(), query.value(4).toString());
        }
    }
    return {};
}

StorageStatus SqliteBlankJournal::readRows(std::span<const qint64> ids, std::vector<BlankRow>& rows) const
{
    rows.assign(ids.size(), BlankRow{});
    const StorageStatus status = readable();
    if (!status.ok || !tablesPresent() || ids.empty())
        return status;
    QSqlQuery query(m_database.m_db);
    for (std::size_t start = 0; start < ids.size(); start += kIdsAStatement) {
        const std::span<const qint64> part = ids.subspan(start, std::min(kIdsAStatement, ids.size() - start));
        const StorageStatus read = run(query, kReadBlanksAction, sql::selectRows(int(part.size())), idValues(part));
        if (!read.ok)
            return read;
        while (query.next()) {
            const auto found = std::lower_bound(ids.begin(), ids.end(), query.value(0).toLongLong());
            BlankRow& row = rows[std::size_t(found - ids.begin())];
            row.id = query.value(0).toLongLong();
            row.number = numberAt(query, 1);
            row.status = BlankStatus(query.value(4).toInt());
            row.statusDate = dateOfJournal(query.value(5).toString());
            row.user.code = query.value(6).toString();
            row.receiptId = query.value(7).toLongLong();
            row.receivedOn = dateOfJournal(query.value(8).toString());
            row.reason = query.value(9).toString();
            row.returnAct = query.value(10).toString();
            row.receiptAct = query.value(11).toString();
            row.note = query.value(12).toString();
        }
    }
    return nameUsers(rows, [this](const std::set<QString>& codes, std::map<QString, BlankUser>& users) {
        return readUsers(codes, users);
    });
}

StorageResult<BlankCounts> SqliteBlankJournal::readCounts(const BlankFilter& filter) const
{
    BlankCounts counts;
    const StorageStatus status = readable();
    if (!status.ok || !tablesPresent())
        return {status, counts};
    QSqlQuery query(m_database.m_db);
    const StorageStatus read = run(query, kReadBlanksAction, sql::selectCountsOf(filter), filterValues(filter));
    while (read.ok && query.next()) {
        const int status = query.value(0).toInt();
        if (status >= 0 && status < kBlankStatusCount)
            counts.byStatus[std::size_t(status)] = query.value(1).toLongLong();
    }
    return {read, counts};
}

StorageResult<qint64> SqliteBlankJournal::mark(std::span<const qint64> ids, const BlankMark& mark)
{
    using Result = StorageResult<qint64>;
    const QString refusal = markEntryRefusal(mark);
    if (!refusal.isEmpty())
        return Result::failure(m_database.failure(kMarkBlanksAction, refusal));
    QVariantList allowed;
    for (BlankStatus status : statusesMarkable(mark.status))
        allowed << int(status);
    const QString day = journalDate(mark.date);
    qint64 marked = 0;
    const StorageStatus status = m_database.inTransaction(kMarkBlanksAction, [&](const QString& action) {
        QSqlQuery query(m_database.m_db);
        for (std::size_t start = 0; start < ids.size(); start += kIdsAStatement) {
            const std::span<const qint64> part = ids.subspan(start, std::min(kIdsAStatement, ids.size() - start));
            const int count = int(part.size());
            StorageStatus step = run(query, action, sql::countPresent(count), idValues(part));
            if (!step.ok)
                return step;
            if (!query.next() || query.value(0).toInt() != count)
                return journalChangedFailure(action);
            step = run(query, action, sql::selectUnmarkable(int(allowed.size()), count), allowed + idValues(part));
            if (!step.ok)
                return step;
            if (query.next())
                return m_database.failure(action, markRefusal(numberAt(query, 0), BlankStatus(query.value(3).toInt()),
                                                              mark.status));
            const MarkColumns columns = markColumns(mark);
            step = run(query, action, sql::markBlanks(count),
                       QVariantList{int(mark.status), day, columns.spoiledOn ? QVariant(day) : nullText(),
                                    columns.reason ? textValue(mark.reason) : nullText(),
                                    columns.act ? textValue(mark.act) : nullText()}
                           + idValues(part));
            if (!step.ok)
                return step;
            marked += query.numRowsAffected();
        }
        return StorageStatus{};
    });
    return status.ok ? Result::success(marked) : Result::failure(status);
}

StorageStatus SqliteBlankJournal::check(std::span<const BlankNumber> numbers, const QString& recordCode,
                                        std::vector<BlankCheck>& checks) const
{
    checks.clear();
    const StorageStatus status = readable();
    if (!status.ok)
        return status;
    const bool present = tablesPresent();
    QSqlQuery query(m_database.m_db);
    for (const BlankNumber& number : numbers) {
        BlankCheck check{number, BlankVerdict::NotReceived, {}, {}};
        check.number.series = foldBlankSeries(number.series);
        if (present) {
            const StorageStatus read = run(query, kReadBlanksAction, sql::selectBlank(), numberValues(number));
            if (!read.ok)
                return read;
            if (query.next()) {
                check.verdict = verdictOf(BlankStatus(query.value(0).toInt()), query.value(2).toString(), recordCode);
                check.statusDate = dateOfJournal(query.value(1).toString());
                check.user.code = query.value(2).toString();
            }
        }
        checks.push_back(check);
    }
    return nameUsers(checks, [this](const std::set<QString>& codes, std::map<QString, BlankUser>& users) {
        return readUsers(codes, users);
    });
}

StorageStatus SqliteBlankJournal::readHistory(const IssuePeriod& period, std::vector<BlankHistoryRow>& rows) const
{
    rows.clear();
    const StorageStatus status = readable();
    if (!status.ok || !tablesPresent())
        return status;
    return readHistoryRows(period, rows);
}

StorageStatus SqliteBlankJournal::markRecord(const QString& action, const QString& code, const RecordBlanks& blanks)
{
    if (blanks.isEmpty())
        return {};
    const QString day = journalDate(blanks.today);
    QSqlQuery query(m_database.m_db);
    const auto release = [&](const BlankRelease& given) {
        const QVariant spoiledDay = given.spoiled ? QVariant(day) : nullText();
        return run(query, action, sql::releaseBlank(),
                   QVariantList{int(given.spoiled ? BlankStatus::Spoiled : BlankStatus::OnHand), spoiledDay,
                                spoiledDay, code}
                       + numberValues(given.number));
    };
    const auto take = [&](const BlankNumber& number) {
        const StorageStatus step = run(query, action, sql::takeBlank(), QVariantList{day, code} + numberValues(number));
        return step.ok ? StorageResult<qint64>::success(query.numRowsAffected()) : StorageResult<qint64>::failure(step);
    };
    return markRecordBlanks(blanks, release, take);
}

StorageStatus SqliteBlankJournal::readCopyBlock(qint64 afterId, int limit, std::vector<qint64>& ids,
                                                std::vector<BlankCopyRow>& rows) const
{
    ids.clear();
    rows.clear();
    const StorageStatus status = readable();
    if (!status.ok || !tablesPresent())
        return status;
    QSqlQuery query(m_database.m_db);
    const StorageStatus read = run(query, kCopyBlanksAction, sql::selectCopyBlock(), {afterId, limit});
    while (read.ok && query.next()) {
        ids.push_back(query.value(0).toLongLong());
        rows.push_back({query.value(1).toLongLong(), historyAt(query, 2), query.value(10).toString(),
                        query.value(11).toString()});
    }
    return read;
}

StorageStatus SqliteBlankJournal::appendCopy(const std::vector<ReceiptRow>& receipts, const BlankBlocks& next)
{
    return m_database.inTransaction(kCopyBlanksAction, [&](const QString& action) {
        return appendCopyIn(action, receipts, next);
    });
}

StorageStatus SqliteBlankJournal::appendCopyIn(const QString& action, const std::vector<ReceiptRow>& receipts,
                                               const BlankBlocks& next)
{
    QSqlQuery query(m_database.m_db);
    std::map<qint64, qint64> newIds;
    for (const ReceiptRow& row : receipts) {
        const BlankReceipt& receipt = row.receipt;
        const StorageStatus step =
            run(query, action, sql::insertReceipt(),
                {int(receipt.kind), textValue(receipt.series), receipt.first, receipt.last, journalDate(receipt.date),
                 textValue(receipt.act), textValue(receipt.note)});
        if (!step.ok)
            return step;
        newIds[row.id] = query.lastInsertId().toLongLong();
    }
    if (!query.prepare(sql::insertCopiedBlank()))
        return m_database.failure(action, query);
    return addEachBlank(next, [&](const BlankCopyRow& copied) {
        const BlankHistoryRow& blank = copied.blank;
        const QString spoiled = journalDate(blank.spoiledOn);
        for (const QVariant& value :
             QVariantList{newIds[copied.receiptId], int(blank.number.kind), textValue(blank.number.series),
                          blank.number.number, journalDate(blank.receivedOn), int(blank.status),
                          journalDate(blank.statusDate), spoiled.isEmpty() ? nullText() : QVariant(spoiled),
                          blank.recordCode.isEmpty() ? nullText() : QVariant(blank.recordCode),
                          textValue(copied.reason), textValue(copied.returnAct)})
            query.addBindValue(value);
        return query.exec() ? StorageStatus{} : m_database.failure(action, query);
    });
}

} // namespace osago
