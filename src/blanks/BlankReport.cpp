#include "blanks/BlankReport.h"

#include "storage/BlankJournal.h"
#include "storage/BlankJournalRules.h"
#include "storage/BlankNumbers.h"
#include "storage/PolicyColumns.h"
#include "storage/PolicyDatabase.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace osago {

QString blankGroupName(BlankGroup group)
{
    switch (group) {
    case BlankGroup::AtStart: return QStringLiteral("На начало");
    case BlankGroup::Received: return QStringLiteral("Поступило");
    case BlankGroup::Used: return QStringLiteral("Использовано");
    case BlankGroup::Spoiled: return QStringLiteral("Испорчено");
    case BlankGroup::Lost: return QStringLiteral("Утрачено");
    case BlankGroup::Returned: return QStringLiteral("Сдано");
    case BlankGroup::AtEnd: return QStringLiteral("На конец");
    }
    return {};
}

qint64 BlankReportLine::expectedAtEnd() const
{
    return count(BlankGroup::AtStart) + count(BlankGroup::Received) - count(BlankGroup::Used)
           - count(BlankGroup::Spoiled) - count(BlankGroup::Lost) - returnedFromHand;
}

namespace {

// The day a blank left the hand: the day it was spoiled, or the day of its status when that is not on hand.
std::optional<QDate> leftHandOn(const BlankHistoryRow& blank)
{
    if (blank.spoiledOn.isValid())
        return blank.spoiledOn;
    if (blank.status != BlankStatus::OnHand)
        return blank.statusDate;
    return std::nullopt;
}

void place(BlankReportLine& line, const IssuePeriod& period, const BlankHistoryRow& blank)
{
    const auto add = [&](BlankGroup group) { line.numbers[std::size_t(group)].push_back(blank.number.number); };
    const std::optional<QDate> left = leftHandOn(blank);
    if (blank.receivedOn < period.from && (!left || *left >= period.from))
        add(BlankGroup::AtStart);
    if (period.contains(blank.receivedOn))
        add(BlankGroup::Received);
    if (blank.spoiledOn.isValid() && period.contains(blank.spoiledOn))
        add(BlankGroup::Spoiled);
    const bool statusInPeriod = period.contains(blank.statusDate);
    if (statusInPeriod && blank.status == BlankStatus::Used)
        add(BlankGroup::Used);
    if (statusInPeriod && blank.status == BlankStatus::Lost)
        add(BlankGroup::Lost);
    if (statusInPeriod && blank.status == BlankStatus::Returned) {
        add(BlankGroup::Returned);
        if (!blank.spoiledOn.isValid())
            ++line.returnedFromHand;
    }
    if (blank.receivedOn <= period.to && (!left || *left > period.to))
        add(BlankGroup::AtEnd);
}

} // namespace

QString discrepancyReason(const BlankCheck& check)
{
    switch (check.verdict) {
    case BlankVerdict::UsedByThisRecord: return {};
    case BlankVerdict::NotReceived: return QStringLiteral("бланк не поступал");
    case BlankVerdict::OnHand: return QStringLiteral("бланк числится на руках");
    case BlankVerdict::UsedByAnother:
        return QStringLiteral("бланк использован в другой записи (%1, %2)").arg(check.user.holder, check.user.issued);
    case BlankVerdict::Spoiled: return QStringLiteral("бланк испорчен");
    case BlankVerdict::Lost: return QStringLiteral("бланк утрачен");
    case BlankVerdict::Returned: return QStringLiteral("бланк сдан страховщику");
    }
    return {};
}

BlankReport buildBlankReport(const IssuePeriod& period, const std::vector<BlankHistoryRow>& history,
                             const std::vector<RecordBlankChecks>& records)
{
    using LineKey = std::tuple<int, QString>;
    std::map<LineKey, BlankReportLine> lines;
    // A journal's blanks come a receipt's range after another: the line of the last blank is most often the next's.
    BlankReportLine* line = nullptr;
    for (const BlankHistoryRow& blank : history) {
        if (!line || line->kind != blank.number.kind || line->series != blank.number.series) {
            line = &lines[{int(blank.number.kind), blank.number.series}];
            line->kind = blank.number.kind;
            line->series = blank.number.series;
        }
        place(*line, period, blank);
    }
    BlankReport report{period, {}, {}};
    for (auto& [key, each] : lines) {
        for (std::vector<qint64>& numbers : each.numbers) {
            if (!std::is_sorted(numbers.begin(), numbers.end()))
                std::sort(numbers.begin(), numbers.end());
        }
        report.lines.push_back(std::move(each));
    }

    using NumberKey = std::tuple<int, QString, qint64>;
    std::map<NumberKey, std::vector<BlankUser>> holders;
    for (const RecordBlankChecks& record : records) {
        for (const BlankCheck& check : record.checks) {
            holders[{int(check.number.kind), check.number.series, check.number.number}].push_back(record.user);
            const QString reason = discrepancyReason(check);
            if (!reason.isEmpty())
                report.discrepancies.push_back({check.number, {record.user}, reason});
        }
    }
    for (const auto& [key, users] : holders) {
        if (users.size() > 1) {
            const auto& [kind, series, number] = key;
            report.discrepancies.push_back(
                {{BlankKind(kind), series, number}, users, QStringLiteral("номер в %1 записях").arg(users.size())});
        }
    }
    return report;
}

StorageResult<BlankReport> makeBlankReport(const PolicyDatabase& database, const IssuePeriod& period)
{
    using Result = StorageResult<BlankReport>;
    const BlankJournal& journal = database.blanks();
    std::vector<BlankHistoryRow> history;
    StorageStatus status = journal.readHistory(period, history);
    if (!status.ok)
        return Result::failure(status);

    const StorageResult<bool> received = journal.anyReceived();
    if (!received.ok)
        return Result::failure(received);
    // Without a journal no record is checked, so none disagrees with it.
    if (!received.value)
        return Result::success(buildBlankReport(period, history, {}));
    std::vector<int> columns(blankUserColumns().begin(), blankUserColumns().end());
    for (BlankKind kind : kBlankKinds)
        columns.push_back(blankColumn(kind));
    std::vector<QStringList> rows;
    status = database.readIssuedIn(period, columns, rows);
    if (!status.ok)
        return Result::failure(status);
    const int issuedAt = int(blankUserColumns().size()) - 1;
    std::vector<RecordBlankChecks> records;
    for (const QStringList& row : rows) {
        const std::optional<QDate> issued = registerDate(row.value(issuedAt));
        if (!issued || !period.contains(*issued))
            continue;
        std::vector<BlankNumber> numbers;
        for (BlankKind kind : kBlankKinds) {
            if (const std::optional<BlankNumber> blank = blankOfField(kind, row.value(issuedAt + 1 + int(kind))))
                numbers.push_back(*blank);
        }
        if (numbers.empty())
            continue;
        RecordBlankChecks record{blankUser(row[0], row[1], row[2], row[3], row[4]), {}};
        status = journal.check(numbers, record.user.code, record.checks);
        if (!status.ok)
            return Result::failure(status);
        records.push_back(std::move(record));
    }
    return Result::success(buildBlankReport(period, history, records));
}

} // namespace osago
