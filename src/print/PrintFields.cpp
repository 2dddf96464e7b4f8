#include "PrintFields.h"

#include "RecordFactors.h"

namespace osago {

PrintFields::PrintFields(const PrintRecord& record)
    : m_record(record)
    , m_factors(record.factors ? record.factors : factorsAgreeingWithPremium(record.row))
{
}

std::optional<QString> PrintFields::value(QStringView name) const
{
    if (const int column = policyColumnIndex(name); column >= 0)
        return m_record.row.value(column);
    for (int i = 0; i < kFactorCount; ++i) {
        if (name == factorName(i))
            return m_factors ? m_factors->texts[std::size_t(i)] : QString();
    }
    if (name == kInsurerField)
        return m_record.insurer;
    return std::nullopt;
}

FieldLookup PrintFields::lookup() const
{
    return [this](QStringView name) { return value(name); };
}

} // namespace osago
