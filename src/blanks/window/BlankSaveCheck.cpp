#include "blanks/window/BlankSaveCheck.h"

#include "blanks/window/BlanksAccess.h"
#include "storage/BlankJournal.h"
#include "storage/BlankNumbers.h"
#include "storage/IssuePeriod.h"
#include "storage/PolicyRow.h"
#include "widgets/Messages.h"

#include <QStringList>

#include <algorithm>

namespace osago {

namespace {

// The blanks a row's three fields name, in the kinds' order; fields left empty name none.
std::vector<BlankNumber> blanksOf(const PolicyRow& row)
{
    std::vector<BlankNumber> numbers;
    for (BlankKind kind : kBlankKinds) {
        if (const std::optional<BlankNumber> blank = blankOfField(kind, row.value(blankColumn(kind))))
            numbers.push_back(*blank);
    }
    return numbers;
}

bool holds(const std::vector<BlankNumber>& numbers, const BlankNumber& number)
{
    return std::find(numbers.begin(), numbers.end(), number) != numbers.end();
}

QString statusDay(const QString& what, const BlankCheck& check)
{
    return check.statusDate.isValid() ? what + u' ' + registerDateText(check.statusDate) : what;
}

} // namespace

QString blankRefusalReason(const BlankCheck& check)
{
    switch (check.verdict) {
    case BlankVerdict::NotReceived: return QStringLiteral("бланк не поступал");
    case BlankVerdict::UsedByAnother:
        return check.user.isEmpty() ? QStringLiteral("бланк уже использован в другой записи")
                                    : QStringLiteral("бланк уже использован в записи: %1, дата выдачи %2")
                                          .arg(check.user.holder, check.user.issued);
    case BlankVerdict::Spoiled: return statusDay(QStringLiteral("бланк испорчен"), check);
    case BlankVerdict::Lost: return statusDay(QStringLiteral("бланк утрачен"), check);
    case BlankVerdict::Returned: return statusDay(QStringLiteral("бланк сдан страховщику"), check);
    case BlankVerdict::OnHand:
    case BlankVerdict::UsedByThisRecord: break;
    }
    return {};
}

// One read of the journal answers for the new numbers and the old ones together.
std::optional<RecordBlanks> BlankSaveQuestions::forSave(const PolicyDatabase& database, const PolicyRow& row,
                                                        const std::optional<PolicyRow>& stored,
                                                        const QString& code) const
{
    RecordBlanks blanks;
    blanks.today = today;
    const StorageResult<bool> received = database.blanks().anyReceived();
    if (!received.ok) {
        messages.show(over, kBlanksTitle, received.error, Messages::Icon::Critical);
        return std::nullopt;
    }
    if (!received.value)
        return blanks;
    const std::vector<BlankNumber> numbers = blanksOf(row);
    std::vector<BlankNumber> asked = numbers;
    std::vector<BlankNumber> given;
    if (stored) {
        for (const BlankNumber& old : blanksOf(*stored)) {
            if (!holds(numbers, old))
                given.push_back(old);
        }
        asked.insert(asked.end(), given.begin(), given.end());
    }
    std::vector<BlankCheck> checks;
    if (const StorageStatus checked = database.blanks().check(asked, code, checks); !checked.ok) {
        messages.show(over, kBlanksTitle, checked.error, Messages::Icon::Critical);
        return std::nullopt;
    }
    QStringList refusals;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (checks[i].verdict == BlankVerdict::OnHand)
            blanks.take.push_back(numbers[i]);
        else if (const QString reason = blankRefusalReason(checks[i]); !reason.isEmpty())
            refusals << QStringLiteral("%1 %2: %3.").arg(blankKindName(numbers[i].kind), blankText(numbers[i]), reason);
    }
    if (!refusals.isEmpty()
        && !messages.confirmDefaultNo(over, kBlanksTitle, refusals.join(u'\n') + u'\n' + kSaveAnywayQuestion))
        return std::nullopt;
    for (std::size_t i = numbers.size(); i < checks.size(); ++i) {
        if (checks[i].verdict != BlankVerdict::UsedByThisRecord)
            continue;
        const bool spoiled = messages.confirm(over, kConfirmTitle,
                                              QStringLiteral("Бланк %1 испорчен?").arg(blankText(checks[i].number)));
        blanks.release.push_back({checks[i].number, spoiled});
    }
    return blanks;
}

std::optional<RecordBlanks> BlankSaveQuestions::forRemoval(const PolicyDatabase& database, const PolicyRow& stored,
                                                           const QString& code) const
{
    return forSave(database, PolicyRow(), stored, code);
}

} // namespace osago
