#include "storage/server/ServerBlanks.h"

#include "storage/BlankJournalRules.h"
#include "storage/BlankNumbers.h"
#include "storage/DistinctTexts.h"
#include "storage/StorageActions.h"
#include "storage/server/ServerBlankSql.h"
#include "storage/server/ServerDatabase.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <set>

namespace osago {

namespace sql = serverBlankSql;

namespace {

QByteArray number(qint64 value)
{
    return QByteArray::number(value);
}

QByteArray text(const QString& value)
{
    return value.toUtf8();
}

QByteArray flag(bool value)
{
    return value ? "t" : "f";
}

template <typename Values, typename Write>
QByteArray arrayOf(const Values& values, Write write)
{
    QByteArray array = "{";
    for (const auto& value : values) {
        if (array.size() > 1)
            array += ',';
        array += write(value);
    }
    return array + '}';
}

QByteArray idArray(std::span<const qint64> ids)
{
    return arrayOf(ids, [](qint64 id) { return number(id); });
}

// A text in an array literal: quoted, its quotes and backslashes escaped.
QByteArray quotedElement(const QString& value)
{
    QByteArray element = text(value);
    element.replace('\\', "\\\\").replace('"', "\\\"");
    return '"' + element + '"';
}

std::vector<QByteArray> numberValues(const BlankNumber& blank)
{
    return {number(int(blank.kind)), text(foldBlankSeries(blank.series)), number(blank.number)};
}

BlankNumber numberAt(const PgResult& result, int row, int first)
{
    return {BlankKind(result.text(row, first).toInt()), result.text(row, first + 1),
            result.text(row, first + 2).toLongLong()};
}

// kind, series, number, received, status, status_date, spoiled_on, record_code from `first` on.
BlankHistoryRow historyAt(const PgResult& result, int row, int first)
{
    return {numberAt(result, row, first), dateOfJournal(result.text(row, first + 3)),
            BlankStatus(result.text(row, first + 4).toInt()), dateOfJournal(result.text(row, first + 5)),
            dateOfJournal(result.text(row, first + 6)), result.text(row, first + 7)};
}

ReceiptRow receiptAt(const PgResult& result, int row)
{
    return {result.text(row, 0).toLongLong(),
            {BlankKind(result.text(row, 1).toInt()), result.text(row, 2), result.text(row, 3).toLongLong(),
             result.text(row, 4).toLongLong(), dateOfJournal(result.text(row, 5)), result.text(row, 6),
             result.text(row, 7)}};
}

std::vector<QByteArray> filterValues(const BlankFilter& filter)
{
    std::vector<QByteArray> values;
    if (filter.kind)
        values.push_back(number(int(*filter.kind)));
    if (!filter.series.isEmpty())
        values.push_back(text(foldBlankSeries(filter.series)));
    if (filter.status)
        values.push_back(number(int(*filter.status)));
    if (!filter.numberPart.isEmpty())
        values.push_back(text(filter.numberPart.trimmed()));
    return values;
}

std::vector<QByteArray> operator+(std::vector<QByteArray> first, const std::vector<QByteArray>& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

} // namespace

// The tables are made by the register's owner (under the schema lock, so desks opening at once make them once)
// and given to the roles that have the register; another role finds them or is told who makes them.
void ServerBlankJournal::prepare(bool ownsRegister, bool writable)
{
    m_present = m_database.exists(sql::selectTablesPresent());
    if (m_present || !ownsRegister || !writable)
        return;
    const StorageStatus made = m_database.inTransaction(
        kOpenAction,
        [this](const QString& action) {
            StorageStatus step = run(action, serverSql::lockSchema());
            for (const QByteArray& statement : sql::createTables()) {
                if (step.ok)
                    step = run(action, statement);
            }
            return step.ok ? StorageStatus(run(action, sql::grantAsRegister())) : step;
        },
        true);
    m_present = made.ok;
}

StorageStatus ServerBlankJournal::tablesMissing(const QString& action) const
{
    return m_database.failure(action, QStringLiteral("журнала бланков на сервере ещё нет: владелец таблицы TableStrah "
                                                     "должен один раз открыть реестр этой программой"));
}

StorageStatus ServerBlankJournal::writable(const QString& action) const
{
    const StorageStatus status = m_database.writable(action);
    return !status.ok || m_present ? status : tablesMissing(action);
}

StorageStatus ServerBlankJournal::openForReading() const
{
    return m_database.isOpen() ? StorageStatus{}
                               : m_database.failure(kReadBlanksAction, QStringLiteral("реестр не открыт"));
}

StorageResult<PgResult> ServerBlankJournal::run(const QString& action, const QByteArray& statement,
                                                const std::vector<QByteArray>& values) const
{
    return m_database.exec(action, statement, values);
}

StorageResult<PgResult> ServerBlankJournal::read(const QByteArray& statement, const std::vector<QByteArray>& values) const
{
    const StorageStatus open = openForReading();
    return open.ok ? run(kReadBlanksAction, statement, values) : StorageResult<PgResult>::failure(open);
}

StorageResult<bool> ServerBlankJournal::anyReceived() const
{
    if (!m_present)
        return {openForReading(), false};
    const StorageResult<PgResult> found = read(sql::selectAnyBlank(), {});
    return {found, found.ok && found.value.rows() == 1 && found.value.text(0, 0) == u"t"};
}

StorageResult<ReceiveOutcome> ServerBlankJournal::receive(const BlankReceipt& given)
{
    using Result = StorageResult<ReceiveOutcome>;
    BlankReceipt receipt = given;
    receipt.series = foldBlankSeries(hasSeries(receipt.kind) ? receipt.series : QString());
    StorageStatus status = writable(kReceiveAction);
    if (!status.ok)
        return Result::failure(status);
    if (receipt.first > receipt.last || receipt.first < 0 || receipt.last > highestBlankNumber(receipt.kind))
        return Result::failure(m_database.failure(kReceiveAction, QStringLiteral("неверный диапазон номеров")));
    ReceiveOutcome outcome;
    status = m_database.inTransaction(kReceiveAction, [&](const QString& action) {
        const QByteArray kind = number(int(receipt.kind));
        const QByteArray series = text(receipt.series);
        const QByteArray day = text(journalDate(receipt.date));
        const StorageResult<PgResult> overlapping = run(
            action, sql::selectOverlappingReceipt(), {kind, series, number(receipt.last), number(receipt.first)});
        if (!overlapping.ok)
            return StorageStatus(overlapping);
        if (overlapping.value.rows() > 0)
            return m_database.failure(action, overlapRefusal(receiptAt(overlapping.value, 0)));
        const StorageResult<PgResult> added =
            run(action, sql::insertReceipt(),
                            {kind, series, number(receipt.first), number(receipt.last), day, text(receipt.act),
                             text(receipt.note)});
        if (!added.ok)
            return StorageStatus(added);
        outcome.receiptId = added.value.text(0, 0).toLongLong();
        const StorageResult<PgResult> blanks = run(
            action, sql::insertReceivedBlanks(),
            {number(receipt.first), number(receipt.last), number(outcome.receiptId), kind, series, day});
        if (!blanks.ok)
            return StorageStatus(blanks);
        outcome.received = blanks.value.affectedRows();
        const StorageResult<PgResult> records = run(
            action, sql::selectRecordsInRange(receipt.kind),
            {text(blankNumberText(receipt.kind, receipt.first)), text(blankNumberText(receipt.kind, receipt.last))});
        if (!records.ok)
            return StorageStatus(records);
        std::map<qint64, QString> users;
        for (int row = 0; row < records.value.rows(); ++row) {
            if (const std::optional<qint64> found = numberInReceipt(receipt, records.value.text(row, 1)))
                users.try_emplace(*found, records.value.text(row, 0));
        }
        for (const auto& [used, code] : users) {
            const StorageResult<PgResult> taken =
                run(action, sql::takeBlank(), {day, text(code), kind, series, number(used)});
            if (!taken.ok)
                return StorageStatus(taken);
            outcome.markedUsed += taken.value.affectedRows();
        }
        return StorageStatus{};
    });
    return status.ok ? Result::success(outcome) : Result::failure(status);
}

StorageStatus ServerBlankJournal::readReceipts(std::vector<ReceiptRow>& receipts) const
{
    receipts.clear();
    if (!m_present)
        return openForReading();
    const StorageResult<PgResult> found = read(sql::selectReceipts(), {});
    for (int row = 0; found.ok && row < found.value.rows(); ++row)
        receipts.push_back(receiptAt(found.value, row));
    return found;
}

StorageStatus ServerBlankJournal::cancelReceipt(qint64 receiptId)
{
    const StorageStatus status = writable(kCancelReceiptAction);
    if (!status.ok)
        return status;
    return m_database.inTransaction(kCancelReceiptAction, [&](const QString& action) {
        const QByteArray id = number(receiptId);
        const StorageResult<PgResult> counted = run(action, sql::countMovedOfReceipt(), {id});
        if (!counted.ok)
            return StorageStatus(counted);
        if (counted.value.text(0, 0).toInt() == 0)
            return journalChangedFailure(action);
        if (const qint64 moved = counted.value.text(0, 1).toLongLong(); moved > 0)
            return m_database.failure(action, cancelRefusal(moved));
        const StorageStatus removed = run(action, sql::deleteBlanksOfReceipt(), {id});
        return removed.ok ? StorageStatus(run(action, sql::deleteReceipt(), {id})) : removed;
    });
}

StorageResult<TableExtent> ServerBlankJournal::readExtent() const
{
    if (!m_present)
        return {openForReading(), {}};
    const StorageResult<PgResult> found = read(sql::selectExtent(), {});
    if (!found.ok)
        return {found, {}};
    return StorageResult<TableExtent>::success({int(std::min<qint64>(found.value.text(0, 0).toLongLong(), INT_MAX)),
                                                found.value.text(0, 1).toLongLong()});
}

StorageStatus ServerBlankJournal::readIdsBetween(qint64 lowest, qint64 highest, int limit, Walk walk,
                                                 std::vector<qint64>& ids) const
{
    if (!m_present)
        return openForReading();
    return m_database.readIds(kReadBlanksAction, sql::selectIdsBetween(walk == Walk::Down),
                              std::vector<QByteArray>{number(lowest), number(highest), number(limit)}, ids, true);
}

StorageStatus ServerBlankJournal::readIds(const BlankFilter& filter, std::vector<qint64>& ids) const
{
    ids.clear();
    if (!m_present)
        return openForReading();
    return m_database.readIds(kReadBlanksAction, sql::selectIdsOf(filter), filterValues(filter), ids);
}

StorageStatus ServerBlankJournal::readUsers(const std::set<QString>& codes, std::map<QString, BlankUser>& users) const
{
    if (codes.empty())
        return {};
    const StorageResult<PgResult> found = read(sql::selectUsers(), {arrayOf(codes, quotedElement)});
    for (int row = 0; found.ok && row < found.value.rows(); ++row) {
        const QString code = found.value.text(row, 0);
        users[code] = blankUser(code, found.value.text(row, 1), found.value.text(row, 2), found.value.text(row, 3),
                                found.value.text(row, 4));
    }
    return found;
}

StorageStatus ServerBlankJournal::readRows(std::span<const qint64> ids, std::vector<BlankRow>& rows) const
{
    rows.assign(ids.size(), BlankRow{});
    if (!m_present || ids.empty())
        return openForReading();
    const StorageResult<PgResult> found = read(sql::selectRows(), {idArray(ids)});
    if (!found.ok)
        return found;
    const PgResult& result = found.value;
    for (int at = 0; at < result.rows(); ++at) {
        const qint64 id = result.text(at, 0).toLongLong();
        BlankRow& row = rows[std::size_t(std::lower_bound(ids.begin(), ids.end(), id) - ids.begin())];
        row.id = id;
        row.number = numberAt(result, at, 1);
        row.status = BlankStatus(result.text(at, 4).toInt());
        row.statusDate = dateOfJournal(result.text(at, 5));
        row.user.code = result.text(at, 6);
        row.receiptId = result.text(at, 7).toLongLong();
        row.receivedOn = dateOfJournal(result.text(at, 8));
        row.reason = result.text(at, 9);
        row.returnAct = result.text(at, 10);
        row.receiptAct = result.text(at, 11);
        row.note = result.text(at, 12);
    }
    return nameUsers(rows, [this](const std::set<QString>& codes, std::map<QString, BlankUser>& users) {
        return readUsers(codes, users);
    });
}

StorageResult<BlankCounts> ServerBlankJournal::readCounts(const BlankFilter& filter) const
{
    BlankCounts counts;
    if (!m_present)
        return {openForReading(), counts};
    const StorageResult<PgResult> found = read(sql::selectCountsOf(filter), filterValues(filter));
    for (int row = 0; found.ok && row < found.value.rows(); ++row) {
        const int status = found.value.text(row, 0).toInt();
        if (status >= 0 && status < kBlankStatusCount)
            counts.byStatus[std::size_t(status)] = found.value.text(row, 1).toLongLong();
    }
    return {found, counts};
}

StorageResult<qint64> ServerBlankJournal::mark(std::span<const qint64> ids, const BlankMark& mark)
{
    using Result = StorageResult<qint64>;
    StorageStatus status = writable(kMarkBlanksAction);
    if (!status.ok)
        return Result::failure(status);
    if (const QString refusal = markEntryRefusal(mark); !refusal.isEmpty())
        return Result::failure(m_database.failure(kMarkBlanksAction, refusal));
    std::vector<qint64> sorted(ids.begin(), ids.end());
    std::sort(sorted.begin(), sorted.end());
    const QByteArray idList = idArray(sorted);
    const QByteArray allowed =
        arrayOf(statusesMarkable(mark.status), [](BlankStatus each) { return number(int(each)); });
    const MarkColumns columns = markColumns(mark);
    const QByteArray day = text(journalDate(mark.date));
    qint64 marked = 0;
    status = m_database.inTransaction(kMarkBlanksAction, [&](const QString& action) {
        const StorageResult<PgResult> locked = run(action, sql::lockPresent(), {idList});
        if (!locked.ok)
            return StorageStatus(locked);
        if (locked.value.text(0, 0).toLongLong() != qint64(sorted.size()))
            return journalChangedFailure(action);
        const StorageResult<PgResult> unmarkable = run(action, sql::selectUnmarkable(), {allowed, idList});
        if (!unmarkable.ok)
            return StorageStatus(unmarkable);
        if (unmarkable.value.rows() > 0) {
            return m_database.failure(action, markRefusal(numberAt(unmarkable.value, 0, 0),
                                                          BlankStatus(unmarkable.value.text(0, 3).toInt()), mark.status));
        }
        const StorageResult<PgResult> changed = run(
            action, sql::markBlanks(),
            {number(int(mark.status)), day, columns.spoiledOn ? day : QByteArray(""), flag(columns.reason),
             text(mark.reason), flag(columns.act), text(mark.act), idList});
        marked = changed.value.affectedRows();
        return StorageStatus(changed);
    });
    return status.ok ? Result::success(marked) : Result::failure(status);
}

StorageStatus ServerBlankJournal::check(std::span<const BlankNumber> numbers, const QString& recordCode,
                                        std::vector<BlankCheck>& checks) const
{
    checks.clear();
    if (const StorageStatus open = openForReading(); !open.ok)
        return open;
    for (const BlankNumber& each : numbers) {
        BlankCheck check{each, BlankVerdict::NotReceived, {}, {}};
        check.number.series = foldBlankSeries(each.series);
        if (m_present) {
            const StorageResult<PgResult> found = read(sql::selectBlank(), numberValues(each));
            if (!found.ok)
                return found;
            if (found.value.rows() > 0) {
                check.verdict = verdictOf(BlankStatus(found.value.text(0, 0).toInt()), found.value.text(0, 2), recordCode);
                check.statusDate = dateOfJournal(found.value.text(0, 1));
                check.user.code = found.value.text(0, 2);
            }
        }
        checks.push_back(check);
    }
    return nameUsers(checks, [this](const std::set<QString>& codes, std::map<QString, BlankUser>& users) {
        return readUsers(codes, users);
    });
}

StorageStatus ServerBlankJournal::readHistory(const IssuePeriod& period, std::vector<BlankHistoryRow>& rows) const
{
    rows.clear();
    if (!m_present)
        return openForReading();
    const StorageResult<PgResult> found =
        read(sql::selectHistory(), {text(journalDate(period.to)), text(journalDate(period.from))});
    const PgResult& result = found.value;
    rows.reserve(std::size_t(result.rows()));
    // A month's report may read a million blanks: each day and series text is turned into a value once.
    JournalDays days;
    JournalTexts series;
    const auto textAt = [&result](int row, int column) {
        const QByteArrayView bytes = result.bytes(row, column);
        return std::string_view(bytes.data(), std::size_t(bytes.size()));
    };
    const auto numberOf = [&textAt](int row, int column) {
        const std::string_view digits = textAt(row, column);
        qint64 value = 0;
        std::from_chars(digits.data(), digits.data() + digits.size(), value);
        return value;
    };
    for (int row = 0; found.ok && row < result.rows(); ++row) {
        rows.push_back({{BlankKind(numberOf(row, 0)), series(textAt(row, 1)), numberOf(row, 2)},
                        days(textAt(row, 3)),
                        BlankStatus(numberOf(row, 4)),
                        days(textAt(row, 5)),
                        days(textAt(row, 6)),
                        result.isNull(row, 7) ? QString() : utf8Text(textAt(row, 7))});
    }
    return found;
}

StorageStatus ServerBlankJournal::markRecord(const QString& action, const QString& code, const RecordBlanks& blanks)
{
    if (blanks.isEmpty())
        return {};
    if (!m_present)
        return tablesMissing(action);
    const QByteArray day = text(journalDate(blanks.today));
    const auto release = [&](const BlankRelease& given) -> StorageStatus {
        return run(action, sql::releaseBlank(),
                   std::vector<QByteArray>{number(int(given.spoiled ? BlankStatus::Spoiled : BlankStatus::OnHand)),
                                           given.spoiled ? day : QByteArray(""), text(code)}
                       + numberValues(given.number));
    };
    const auto take = [&](const BlankNumber& taken) {
        const StorageResult<PgResult> marked =
            run(action, sql::takeBlank(), std::vector<QByteArray>{day, text(code)} + numberValues(taken));
        return marked.ok ? StorageResult<qint64>::success(marked.value.affectedRows())
                         : StorageResult<qint64>::failure(marked);
    };
    return markRecordBlanks(blanks, release, take);
}

StorageStatus ServerBlankJournal::readCopyBlock(qint64 afterId, int limit, std::vector<qint64>& ids,
                                                std::vector<BlankCopyRow>& rows) const
{
    ids.clear();
    rows.clear();
    if (const StorageStatus open = openForReading(); !open.ok || !m_present)
        return open;
    const StorageResult<PgResult> found = read(sql::selectCopyBlock(), {number(afterId), number(limit)});
    const PgResult& result = found.value;
    for (int row = 0; found.ok && row < result.rows(); ++row) {
        ids.push_back(result.text(row, 0).toLongLong());
        rows.push_back({result.text(row, 1).toLongLong(), historyAt(result, row, 2), result.text(row, 10),
                        result.text(row, 11)});
    }
    return found;
}

StorageStatus ServerBlankJournal::appendCopy(const std::vector<ReceiptRow>& receipts, const BlankBlocks& next)
{
    const StorageStatus status = writable(kCopyBlanksAction);
    if (!status.ok)
        return status;
    return m_database.inTransaction(
        kCopyBlanksAction, [&](const QString& action) { return appendCopyIn(action, receipts, next); }, true);
}

StorageStatus ServerBlankJournal::replaceIn(const QString& action, const BlankJournal& copy)
{
    if (!m_present)
        return tablesMissing(action);
    for (const QByteArray& statement : {sql::deleteAllBlanks(), sql::deleteAllReceipts()}) {
        if (const StorageStatus emptied = run(action, statement); !emptied.ok)
            return emptied;
    }
    std::vector<ReceiptRow> receipts;
    if (const StorageStatus read = copy.readReceipts(receipts); !read.ok || receipts.empty())
        return read;
    return appendCopyIn(action, receipts, blankBlocksOf(copy));
}

StorageStatus ServerBlankJournal::appendCopyIn(const QString& action, const std::vector<ReceiptRow>& receipts,
                                               const BlankBlocks& next)
{
    std::map<qint64, QByteArray> newIds;
    for (const ReceiptRow& row : receipts) {
        const BlankReceipt& receipt = row.receipt;
        const StorageResult<PgResult> added =
            run(action, sql::insertReceipt(),
                {number(int(receipt.kind)), text(receipt.series), number(receipt.first), number(receipt.last),
                 text(journalDate(receipt.date)), text(receipt.act), text(receipt.note)});
        if (!added.ok)
            return added;
        newIds[row.id] = added.value.bytes(0, 0).toByteArray();
    }
    return addEachBlank(next, [&](const BlankCopyRow& copied) -> StorageStatus {
        const BlankHistoryRow& blank = copied.blank;
        return run(action, sql::insertCopiedBlank(),
                   {newIds[copied.receiptId], number(int(blank.number.kind)), text(blank.number.series),
                    number(blank.number.number), text(journalDate(blank.receivedOn)), number(int(blank.status)),
                    text(journalDate(blank.statusDate)), text(journalDate(blank.spoiledOn)), text(blank.recordCode),
                    text(copied.reason), text(copied.returnAct)});
    });
}

} // namespace osago
