#pragma once

#include "storage/Blanks.h"

#include <QDate>
#include <QString>

#include <optional>

namespace osago {

// A receipt as the agent typed it, before it is checked.
struct ReceiptEntry
{
    BlankKind kind = BlankKind::Policy;
    QString series;
    QString first;
    QString last;
    QDate date;
    QString act;
    QString note;
};

// The field a refusal is about, so the window can put the cursor there.
enum class ReceiptField { None, Series, First, Last, Date };

// A range longer than this is received only after the agent says yes.
inline constexpr qint64 kReceiptAskAbove = 100000;

// The entry checked: the receipt to write (series folded, numbers read), or the refusal naming its field.
struct CheckedReceipt
{
    std::optional<BlankReceipt> receipt;
    ReceiptField field = ReceiptField::None;
    QString refusal;
    // How many blanks the range holds, and whether that many need the agent's yes first.
    qint64 count = 0;
    bool needsQuestion() const { return count > kReceiptAskAbove; }
};

// Refuses an empty or malformed series (kinds with a series), a number that does not fit the kind's mask, a
// first number above the last, and a missing date; each refusal names the field ("Серия", "Первый номер",
// "Последний номер", "Дата").
CheckedReceipt checkReceipt(const ReceiptEntry& entry);

// The field's name as the refusals quote it.
QString receiptFieldName(ReceiptField field);

// The question asked before a long range: "Поступает 250 000 бланков. Принять их?".
QString longReceiptQuestion(qint64 count);

} // namespace osago
