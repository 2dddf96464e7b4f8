#pragma once

#include "storage/Blanks.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace osago {

// How a blank's number is written in a record and compared: both engines and the rules above storage use these,
// so a series typed in Latin look-alikes or lower case is the same series everywhere.

// The register column holding the blanks of `kind` (Номер_серия_полиса, Квитанция, Номер_серия_спец_знака).
int blankColumn(BlankKind kind);
// Whether blanks of `kind` have a series (three letters); a receipt has none.
bool hasSeries(BlankKind kind);
// How many digits a number of `kind` has: 10 for the policy and the sign, 6 for the receipt.
int blankDigits(BlankKind kind);
// The highest number `kind` can have (all nines).
qint64 highestBlankNumber(BlankKind kind);

// The series as it is compared: letters in upper case, and the Latin letters that look like Cyrillic ones
// (A B E K M H O P C T Y X, in either case) as those Cyrillic letters; spaces around it dropped.
QString foldBlankSeries(QStringView series);
// Whether a folded series is three Cyrillic capital letters.
bool isBlankSeries(QStringView folded);

// The blank a record's field of `kind` names ("ААА№0123456789", "ааа № 0123456789", "123456"), or none when it
// names none (left empty as the mask leaves it, or not of the kind's form).
std::optional<BlankNumber> blankOfField(BlankKind kind, QStringView field);
// The number with its leading zeros.
QString blankNumberText(BlankKind kind, qint64 number);
// The blank as the agent reads it: "ААА №0123456789", or the receipt's digits alone.
QString blankText(const BlankNumber& blank);

// The Russian names of the kinds and the statuses as the windows and the report show them.
QString blankKindName(BlankKind kind);
QString blankStatusName(BlankStatus status);

} // namespace osago
