#include "storage/BlankNumbers.h"

#include "storage/PolicyColumns.h"

#include <algorithm>

namespace osago {

int blankColumn(BlankKind kind)
{
    static const int columns[kBlankKindCount] = {policyColumnIndex(u"Номер_серия_полиса"),
                                                 policyColumnIndex(u"Квитанция"),
                                                 policyColumnIndex(u"Номер_серия_спец_знака")};
    return columns[int(kind)];
}

bool hasSeries(BlankKind kind)
{
    return kind != BlankKind::Receipt;
}

int blankDigits(BlankKind kind)
{
    return hasSeries(kind) ? 10 : 6;
}

qint64 highestBlankNumber(BlankKind kind)
{
    qint64 highest = 0;
    for (int digit = 0; digit < blankDigits(kind); ++digit)
        highest = highest * 10 + 9;
    return highest;
}

namespace {

// The Latin capitals drawn like Cyrillic ones, and those Cyrillic letters.
constexpr char16_t kLatinLookAlikes[] = u"ABEKMHOPCTYX";
constexpr char16_t kCyrillicLetters[] = u"АВЕКМНОРСТУХ";

QChar foldedLetter(QChar letter)
{
    const QChar upper = letter.toUpper();
    for (int i = 0; kLatinLookAlikes[i] != 0; ++i) {
        if (upper == QChar(kLatinLookAlikes[i]))
            return QChar(kCyrillicLetters[i]);
    }
    return upper;
}

bool isCyrillicCapital(QChar letter)
{
    return (letter >= QChar(u'А') && letter <= QChar(u'Я')) || letter == QChar(u'Ё');
}

} // namespace

QString foldBlankSeries(QStringView series)
{
    const QStringView trimmed = series.trimmed();
    // Never a null text: the tables take an empty series, not none.
    QString folded = QStringLiteral("");
    folded.reserve(trimmed.size());
    for (QChar letter : trimmed)
        folded += foldedLetter(letter);
    return folded;
}

bool isBlankSeries(QStringView folded)
{
    return folded.size() == 3 && std::all_of(folded.begin(), folded.end(), isCyrillicCapital);
}

// The mask writes "ААА№0123456789"; a value typed elsewhere may have spaces around the sign, or none at all.
std::optional<BlankNumber> blankOfField(BlankKind kind, QStringView field)
{
    QStringView rest = field.trimmed();
    BlankNumber blank{kind, {}, 0};
    if (hasSeries(kind)) {
        if (rest.size() < 3)
            return std::nullopt;
        blank.series = foldBlankSeries(rest.left(3));
        if (!isBlankSeries(blank.series))
            return std::nullopt;
        rest = rest.sliced(3).trimmed();
        if (rest.startsWith(u'№'))
            rest = rest.sliced(1).trimmed();
    }
    if (rest.size() != blankDigits(kind))
        return std::nullopt;
    for (QChar digit : rest) {
        if (digit < u'0' || digit > u'9')
            return std::nullopt;
        blank.number = blank.number * 10 + digit.digitValue();
    }
    return blank;
}

QString blankNumberText(BlankKind kind, qint64 number)
{
    return QStringLiteral("%1").arg(number, blankDigits(kind), 10, QChar(u'0'));
}

QString blankText(const BlankNumber& blank)
{
    const QString digits = blankNumberText(blank.kind, blank.number);
    return hasSeries(blank.kind) ? blank.series + QStringLiteral(" №") + digits : digits;
}

QString blankKindName(BlankKind kind)
{
    switch (kind) {
    case BlankKind::Policy: return QStringLiteral("Полис ОСАГО");
    case BlankKind::Receipt: return QStringLiteral("Квитанция");
    case BlankKind::Sign: return QStringLiteral("Спецзнак");
    }
    return {};
}

QString blankStatusName(BlankStatus status)
{
    switch (status) {
    case BlankStatus::OnHand: return QStringLiteral("на руках");
    case BlankStatus::Used: return QStringLiteral("использован");
    case BlankStatus::Spoiled: return QStringLiteral("испорчен");
    case BlankStatus::Lost: return QStringLiteral("утрачен");
    case BlankStatus::Returned: return QStringLiteral("сдан страховщику");
    }
    return {};
}

} // namespace osago
