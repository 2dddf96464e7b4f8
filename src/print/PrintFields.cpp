#include "print/PrintFields.h"

#include "print/RecordFactors.h"
#include "tariff/TariffTables.h"

namespace osago {

PrintFields::PrintFields(const PrintRecord& record)
    : m_record(record)
    , m_factors(record.factors ? record.factors : factorsAgreeingWithPremium(record.row))
{
}

namespace {

// The hidden defaults ("0") of the load fields that the vehicle type does not show print as nothing.
bool appliesToTheVehicle(QStringView column, const PolicyRow& row)
{
    const std::string type = row.value(u"Тип_ТС").toStdString();
    if (column == u"Разрешенная_макс_масса_кг" || column == u"Масса_без_нагрузки_кг")
        return hasLoadMass(type);
    if (column == u"Количество_мест_сидения")
        return hasSeatCount(type);
    return true;
}

} // namespace

std::optional<QString> PrintFields::value(QStringView name) const
{
    if (const int column = policyColumnIndex(name); column >= 0)
        return appliesToTheVehicle(name, m_record.row) ? m_record.row.value(column) : QString();
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
