#pragma once

#include "storage/Blanks.h"
#include "storage/IssuePeriod.h"
#include "storage/StorageStatus.h"

#include <QString>

#include <array>
#include <vector>

namespace osago {

class PolicyDatabase;

// The groups of the period report, in its columns' order.
enum class BlankGroup { AtStart, Received, Used, Spoiled, Lost, Returned, AtEnd };
inline constexpr int kBlankGroupCount = 7;

// The group's column title: "На начало", "Поступило", "Использовано", "Испорчено", "Утрачено", "Сдано",
// "На конец".
QString blankGroupName(BlankGroup group);

// One kind and series of the report: the numbers of each group, ascending.
struct BlankReportLine
{
    BlankKind kind = BlankKind::Policy;
    QString series;
    std::array<std::vector<qint64>, kBlankGroupCount> numbers;

    qint64 count(BlankGroup group) const { return qint64(numbers[std::size_t(group)].size()); }
    // What the end should be: the start plus what came minus what went (a spoiled blank handed back left the
    // hand once, when it was spoiled).
    qint64 expectedAtEnd() const;
    bool balanced() const { return count(BlankGroup::AtEnd) == expectedAtEnd(); }
    // Handed back in the period straight from the hand (not spoiled before).
    qint64 returnedFromHand = 0;
};

// A record of the period that does not agree with the journal.
struct BlankDiscrepancy
{
    BlankNumber number;
    // The records holding the number (two or more for one used twice).
    std::vector<BlankUser> records;
    // Why: "бланк не поступал", "бланк испорчен", "бланк использован в другой записи", "номер в двух записях", ...
    QString reason;
};

struct BlankReport
{
    IssuePeriod period;
    // By kind, then series.
    std::vector<BlankReportLine> lines;
    std::vector<BlankDiscrepancy> discrepancies;
};

// A record of the period and what the check says of each blank its fields name.
struct RecordBlankChecks
{
    BlankUser user;
    std::vector<BlankCheck> checks;
};

// The report from the journal's rows (BlankJournal::readHistory()) and the checks of the period's records: each
// group counted from the blanks' dates, the end counted on its own and compared with the balance, never taken
// from it.
BlankReport buildBlankReport(const IssuePeriod& period, const std::vector<BlankHistoryRow>& history,
                             const std::vector<RecordBlankChecks>& records);

// Why a check's verdict makes its record a discrepancy ("бланк не поступал", "бланк испорчен", ...); empty for a
// blank used by the record itself.
QString discrepancyReason(const BlankCheck& check);

// Reads the journal and the period's records of `database` and builds the report.
StorageResult<BlankReport> makeBlankReport(const PolicyDatabase& database, const IssuePeriod& period);

} // namespace osago
