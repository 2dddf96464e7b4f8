#include "blanks/BlankReport.h"

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

BlankReport buildBlankReport(const IssuePeriod& period, const std::vector<BlankHistoryRow>&,
                             const std::vector<RecordBlankFields>&)
{
    return BlankReport{period, {}, {}};
}

StorageResult<BlankReport> makeBlankReport(const PolicyDatabase&, const IssuePeriod& period)
{
    return StorageResult<BlankReport>::success(BlankReport{period, {}, {}});
}

} // namespace osago
