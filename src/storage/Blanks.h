#pragma once

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>
#include <vector>

namespace osago {

// The insurer's numbered blanks of strict accountability, as the register keeps them: one row a blank, in
// tables of the program's own beside TableStrah. These are the rows and the words the journal's members
// (BlankJournal.h) take and give; the rules over them (a receipt's checks, ranges, the report) are in blanks/.

// The three kinds a record uses, each in one of its columns. The values are what the tables hold.
enum class BlankKind { Policy = 0, Receipt = 1, Sign = 2 };
inline constexpr int kBlankKindCount = 3;
inline constexpr std::array<BlankKind, kBlankKindCount> kBlankKinds{BlankKind::Policy, BlankKind::Receipt,
                                                                    BlankKind::Sign};

// Where a blank is. The values are what the tables hold.
enum class BlankStatus { OnHand = 0, Used = 1, Spoiled = 2, Lost = 3, Returned = 4 };
inline constexpr int kBlankStatusCount = 5;
inline constexpr std::array<BlankStatus, kBlankStatusCount> kBlankStatuses{
    BlankStatus::OnHand, BlankStatus::Used, BlankStatus::Spoiled, BlankStatus::Lost, BlankStatus::Returned};

// One blank's identity: its kind, its series folded (foldBlankSeries(); empty for a receipt) and its number.
struct BlankNumber
{
    BlankKind kind = BlankKind::Policy;
    QString series;
    qint64 number = 0;

    friend bool operator==(const BlankNumber&, const BlankNumber&) = default;
};

// A range of blanks received from the insurer by one act. `series` is taken folded.
struct BlankReceipt
{
    BlankKind kind = BlankKind::Policy;
    QString series;
    qint64 first = 0;
    qint64 last = 0;
    QDate date;
    QString act;
    QString note;
};

// A receipt as the register keeps it.
struct ReceiptRow
{
    qint64 id = 0;
    BlankReceipt receipt;
};

// What receiving did: the new receipt, how many blanks it added, and how many of them were at once marked used
// by the saved records that already held their numbers.
struct ReceiveOutcome
{
    qint64 receiptId = 0;
    qint64 received = 0;
    qint64 markedUsed = 0;
};

// Which blanks the journal shows: every one where a part is not given. `series` is compared folded;
// `numberPart` is digits found anywhere in the number written with its leading zeros.
struct BlankFilter
{
    std::optional<BlankKind> kind;
    std::optional<BlankStatus> status;
    QString series;
    QString numberPart;

    bool showsAll() const { return !kind && !status && series.isEmpty() && numberPart.isEmpty(); }
    friend bool operator==(const BlankFilter&, const BlankFilter&) = default;
};

// The record that used a blank, as the register holds it now (empty texts when the record is gone).
struct BlankUser
{
    QString code;
    // The policyholder's surname or firm, name and patronymic, joined by spaces.
    QString holder;
    // The record's issue date as written in it (Дата_выдачи).
    QString issued;

    bool isEmpty() const { return code.isEmpty(); }
    friend bool operator==(const BlankUser&, const BlankUser&) = default;
};

// One blank as the journal shows it.
struct BlankRow
{
    qint64 id = 0;
    BlankNumber number;
    BlankStatus status = BlankStatus::OnHand;
    // The day the blank came to its status (the receipt's day while on hand).
    QDate statusDate;
    // The record that used it (status Used).
    BlankUser user;
    qint64 receiptId = 0;
    QDate receivedOn;
    // The receipt's act and note.
    QString receiptAct;
    QString note;
    // Why it was spoiled or lost, as the agent wrote it.
    QString reason;
    // The act it was handed back by.
    QString returnAct;
};

// How many blanks of a filter are in each status, indexed by BlankStatus.
struct BlankCounts
{
    std::array<qint64, kBlankStatusCount> byStatus{};

    qint64 of(BlankStatus status) const { return byStatus[std::size_t(status)]; }
    qint64 total() const
    {
        qint64 sum = 0;
        for (qint64 count : byStatus)
            sum += count;
        return sum;
    }
};

// A command of the journal on selected blanks: Spoiled or Lost (date, reason required; only blanks on hand) or
// Returned (date, act; only blanks on hand or spoiled).
struct BlankMark
{
    BlankStatus status = BlankStatus::Spoiled;
    QDate date;
    QString reason;
    QString act;
};

// What the check at save found for one of a record's numbers.
enum class BlankVerdict {
    NotReceived,
    OnHand,
    // Used by the record being saved itself (an edit that kept its number): nothing to ask.
    UsedByThisRecord,
    UsedByAnother,
    Spoiled,
    Lost,
    Returned,
};

struct BlankCheck
{
    BlankNumber number;
    BlankVerdict verdict = BlankVerdict::NotReceived;
    // The day of the blank's status; the record that used it for UsedByAnother.
    QDate statusDate;
    BlankUser user;
};

// A blank a record no longer holds (edited to another number, or deleted): spoiled today, or back on hand.
struct BlankRelease
{
    BlankNumber number;
    bool spoiled = false;
};

// The blanks' part of a record's save, change or deletion, written in the record's own transaction. `take`:
// the numbers the check found on hand, marked used by the record; one found no longer on hand (another desk
// took it meanwhile) fails the whole write with StorageStatus::blankTaken, the record not written. `release`:
// blanks used by this record that it no longer holds. Empty: the blanks are not touched.
struct RecordBlanks
{
    std::vector<BlankNumber> take;
    std::vector<BlankRelease> release;
    // The day a released blank is spoiled on and a taken one used on.
    QDate today = QDate::currentDate();

    bool isEmpty() const { return take.empty() && release.empty(); }
};

// One blank for the period report: what it is, when it came, where it is now and since when. A blank keeps
// only its present status; `spoiledOn` keeps the day it was spoiled also after it was handed back.
struct BlankHistoryRow
{
    BlankNumber number;
    QDate receivedOn;
    BlankStatus status = BlankStatus::OnHand;
    QDate statusDate;
    QDate spoiledOn;
    QString recordCode;
};

} // namespace osago
