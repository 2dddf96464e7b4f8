#pragma once

#include "storage/Blanks.h"
#include "storage/StorageStatus.h"

#include <QDate>
#include <QString>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <span>

namespace osago {

// What both engines' journals say and decide alike: the first words of their failures, their refusals, which
// status a command may change, and the verdict of the check.

inline const QString kReceiveAction = QStringLiteral("Бланки не приняты");
inline const QString kCancelReceiptAction = QStringLiteral("Поступление не отменено");
inline const QString kMarkBlanksAction = QStringLiteral("Бланки не отмечены");
inline const QString kCopyBlanksAction = QStringLiteral("Журнал бланков не скопирован");
inline const QString kReadBlanksAction = QStringLiteral("Журнал бланков не прочитан");

// How a date is kept in the journal's tables: "YYYY-MM-DD", which sorts as the days do.
QString journalDate(const QDate& date);
QDate dateOfJournal(const QString& text);

// "диапазон пересекается с поступлением № 3 от 01.12.2026 (акт 15): Полис ОСАГО ААА 0000000001–0000000100".
QString overlapRefusal(const ReceiptRow& earlier);
// The save's failure when a blank it was to take is no longer on hand (blankTaken set).
StorageStatus blankTakenFailure(const BlankNumber& blank);
// Why a cancel is refused: `moved` of the receipt's blanks are no longer on hand.
QString cancelRefusal(qint64 moved);
// Whether a blank in `current` may be marked `wanted` by a journal command.
bool markAllowed(BlankStatus current, BlankStatus wanted);
// The statuses markAllowed() takes for `wanted`.
std::span<const BlankStatus> statusesMarkable(BlankStatus wanted);
// Why `blank` in `current` is not marked `wanted`.
QString markRefusal(const BlankNumber& blank, BlankStatus current, BlankStatus wanted);
// Why a journal command's entry cannot be written (no date; no reason for spoiled or lost; not a command's
// status); empty when it can.
QString markEntryRefusal(const BlankMark& mark);
// Which of a blank's columns a command writes besides its status and date.
struct MarkColumns
{
    bool spoiledOn = false;
    bool reason = false;
    bool act = false;
};
MarkColumns markColumns(const BlankMark& mark);
// What "the command changes nothing, the journal changed meanwhile" says.
StorageStatus journalChangedFailure(const QString& action);

// The check's verdict on a blank in `status` used by `usedBy`, for the record `recordCode`.
BlankVerdict verdictOf(BlankStatus status, const QString& usedBy, const QString& recordCode);

// The record a blank names, from its code, the policyholder's three names and its issue date.
BlankUser blankUser(const QString& code, const QString& surname, const QString& name, const QString& patronymic,
                    const QString& issued);

// The register columns a blank's user is read from, in blankUser()'s order after the code: the code, the
// policyholder's surname or firm, name, patronymic, the issue date.
std::span<const int> blankUserColumns();

// Reads the records named by `codes`, each under its code.
using UserReader = std::function<StorageStatus(const std::set<QString>& codes, std::map<QString, BlankUser>& users)>;
// Gives each of `rows` (the journal's rows or the check's) the record its user's code names, as `read` finds it.
template <typename Rows>
StorageStatus nameUsers(Rows& rows, const UserReader& read)
{
    std::set<QString> codes;
    for (const auto& row : rows) {
        if (!row.user.code.isEmpty())
            codes.insert(row.user.code);
    }
    if (codes.empty())
        return {};
    std::map<QString, BlankUser> users;
    const StorageStatus status = read(codes, users);
    for (auto& row : rows) {
        if (const auto user = users.find(row.user.code); user != users.end())
            row.user = user->second;
    }
    return status;
}

// A record's own part of its write, through the engine's statements: `release` puts back (or spoils) a blank
// the record gave up, `take` marks one used and gives how many blanks it changed. A blank `take` finds no longer
// on hand fails the write (blankTakenFailure()).
using ReleaseBlank = std::function<StorageStatus(const BlankRelease& release)>;
using TakeBlank = std::function<StorageResult<qint64>(const BlankNumber& number)>;
StorageStatus markRecordBlanks(const RecordBlanks& blanks, const ReleaseBlank& release, const TakeBlank& take);

// Whether the record field `field` names a blank of `receipt`'s range; the number it names.
std::optional<qint64> numberInReceipt(const BlankReceipt& receipt, QStringView field);

} // namespace osago
