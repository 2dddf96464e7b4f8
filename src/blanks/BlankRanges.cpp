#include "blanks/BlankRanges.h"

#include "storage/BlankNumbers.h"

#include <QStringList>

#include <algorithm>

namespace osago {

QString rangesText(BlankKind kind, std::vector<qint64> numbers)
{
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    QStringList parts;
    for (std::size_t start = 0; start < numbers.size();) {
        std::size_t end = start;
        while (end + 1 < numbers.size() && numbers[end + 1] == numbers[end] + 1)
            ++end;
        const QString first = blankNumberText(kind, numbers[start]);
        parts << (end == start ? first : first + QChar(u'–') + blankNumberText(kind, numbers[end]));
        start = end + 1;
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace osago
