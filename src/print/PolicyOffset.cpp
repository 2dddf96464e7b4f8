#include "print/PolicyOffset.h"

#include <QSettings>

namespace osago {

namespace {

const QString kHorizontalKey = QStringLiteral("print/policyOffsetHorizontalMm");
const QString kVerticalKey = QStringLiteral("print/policyOffsetVerticalMm");

} // namespace

PolicyOffset loadPolicyOffset()
{
    const QSettings settings;
    return {settings.value(kHorizontalKey, 0.0).toDouble(), settings.value(kVerticalKey, 0.0).toDouble()};
}

void savePolicyOffset(const PolicyOffset& offset)
{
    QSettings settings;
    settings.setValue(kHorizontalKey, offset.horizontalMm);
    settings.setValue(kVerticalKey, offset.verticalMm);
}

} // namespace osago
