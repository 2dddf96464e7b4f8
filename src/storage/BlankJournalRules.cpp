#include "storage/BlankJournalRules.h"

#include "storage/BlankNumbers.h"
#include "storage/IssuePeriod.h"
#include "storage/PolicyColumns.h"

#include <QStringList>

#include <algorithm>
#include <array>

namespace osago {

QString journalDate(const QDate& date)
{
    return date.toString(Qt::ISODate);
}

QDate dateOfJournal(const QString& text)
{
    return QDate::fromString(text.left(10), Qt::ISODate);
}

QString overlapRefusal(const ReceiptRow& earlier)
{
    const BlankReceipt& receipt = earlier.receipt;
    const QString series = hasSeries(receipt.kind) ? receipt.series + u' ' : QString();
    const QString act = receipt.act.isEmpty() ? QString() : QStringLiteral(" (акт %1)").arg(receipt.act);
    return QStringLiteral("диапазон пересекается с поступлением № %1 от %2%3: %4 %5%6–%7")
        .arg(QString::number(earlier.id), registerDateText(receipt.date), act, blankKindName(receipt.kind), series,
             blankNumberText(receipt.kind, receipt.first), blankNumberText(receipt.kind, receipt.last));
}

StorageStatus blankTakenFailure(const BlankNumber& blank)
{
    StorageStatus status = StorageStatus::failure(
        QStringLiteral("Запись не сохранена: бланк %1 уже не на руках — его только что использовали в другой записи.")
            .arg(blankText(blank)));
    status.blankTaken = true;
    return status;
}

QString cancelRefusal(qint64 moved)
{
    return QStringLiteral("из бланков этого поступления уже использованы, испорчены, утрачены или сданы: %1")
        .arg(moved);
}

std::span<const BlankStatus> statusesMarkable(BlankStatus wanted)
{
    static constexpr std::array<BlankStatus, 1> onHand{BlankStatus::OnHand};
    static constexpr std::array<BlankStatus, 2> onHandOrSpoiled{BlankStatus::OnHand, BlankStatus::Spoiled};
    if (wanted == BlankStatus::Returned)
        return onHandOrSpoiled;
    if (wanted == BlankStatus::Spoiled || wanted == BlankStatus::Lost)
        return onHand;
    return {};
}

bool markAllowed(BlankStatus current, BlankStatus wanted)
{
    const std::span<const BlankStatus> allowed = statusesMarkable(wanted);
    return std::find(allowed.begin(), allowed.end(), current) != allowed.end();
}

QString markRefusal(const BlankNumber& blank, BlankStatus current, BlankStatus wanted)
{
    QStringList allowed;
    for (BlankStatus status : statusesMarkable(wanted))
        allowed << QStringLiteral("«%1»").arg(blankStatusName(status));
    return QStringLiteral("бланк %1 %2 — отметить «%3» можно только бланки со статусом %4")
        .arg(blankText(blank), blankStatusName(current), blankStatusName(wanted),
             allowed.join(QStringLiteral(" или ")));
}

QString markEntryRefusal(const BlankMark& mark)
{
    if (statusesMarkable(mark.status).empty())
        return QStringLiteral("бланк можно отметить только испорченным, утраченным или сданным страховщику");
    if (!mark.date.isValid())
        return QStringLiteral("не указана дата");
    if (markColumns(mark).reason && mark.reason.trimmed().isEmpty())
        return QStringLiteral("не указана причина");
    return {};
}

MarkColumns markColumns(const BlankMark& mark)
{
    return {mark.status == BlankStatus::Spoiled, mark.status != BlankStatus::Returned,
            mark.status == BlankStatus::Returned};
}

StorageStatus journalChangedFailure(const QString& action)
{
    StorageStatus status = StorageStatus::failure(
        action + QStringLiteral(": журнал бланков изменён другой программой после того, как был прочитан; ничего не "
                                "изменено. Журнал прочитан заново: проверьте бланки и повторите команду."));
    status.rowChanged = true;
    return status;
}

BlankVerdict verdictOf(BlankStatus status, const QString& usedBy, const QString& recordCode)
{
    switch (status) {
    case BlankStatus::OnHand: return BlankVerdict::OnHand;
    case BlankStatus::Used:
        return !recordCode.isEmpty() && usedBy == recordCode ? BlankVerdict::UsedByThisRecord
                                                             : BlankVerdict::UsedByAnother;
    case BlankStatus::Spoiled: return BlankVerdict::Spoiled;
    case BlankStatus::Lost: return BlankVerdict::Lost;
    case BlankStatus::Returned: return BlankVerdict::Returned;
    }
    return BlankVerdict::NotReceived;
}

BlankUser blankUser(const QString& code, const QString& surname, const QString& name, const QString& patronymic,
                    const QString& issued)
{
    QStringList names;
    for (const QString& part : {surname, name, patronymic}) {
        if (!part.trimmed().isEmpty())
            names << part.trimmed();
    }
    return {code, names.join(u' '), issued.trimmed()};
}

std::span<const int> blankUserColumns()
{
    static const std::array<int, 5> columns{rowCodeColumnIndex(), policyColumnIndex(u"Страхователь_фамилия_фирма"),
                                            policyColumnIndex(u"Страхователь_имя"),
                                            policyColumnIndex(u"Страхователь_отчество"),
                                            policyColumnIndex(u"Дата_выдачи")};
    return columns;
}

std::optional<qint64> numberInReceipt(const BlankReceipt& receipt, QStringView field)
{
    const std::optional<BlankNumber> blank = blankOfField(receipt.kind, field);
    if (!blank || blank->series != receipt.series || blank->number < receipt.first || blank->number > receipt.last)
        return std::nullopt;
    return blank->number;
}

StorageStatus markRecordBlanks(const RecordBlanks& blanks, const ReleaseBlank& release, const TakeBlank& take)
{
    for (const BlankRelease& each : blanks.release) {
        const StorageStatus released = release(each);
        if (!released.ok)
            return released;
    }
    for (const BlankNumber& number : blanks.take) {
        const StorageResult<qint64> taken = take(number);
        if (!taken.ok)
            return taken;
        if (taken.value != 1)
            return blankTakenFailure(number);
    }
    return {};
}

} // namespace osago
