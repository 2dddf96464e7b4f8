#pragma once

#include "print/PrintRecord.h"
#include "print/TemplateText.h"

namespace osago {

// The fields the document templates name: every register column by its own name, the nine factors by their short
// names ("ТБ" ... "КН") and "Страховщик", the insurer. Factors that are neither given nor recomputed in agreement
// with the premium fill in as empty texts.
class PrintFields
{
public:
    explicit PrintFields(const PrintRecord& record);

    std::optional<QString> value(QStringView name) const;
    FieldLookup lookup() const;

private:
    const PrintRecord& m_record;
    std::optional<TariffFactors> m_factors;
};

inline constexpr QStringView kInsurerField = u"Страховщик";

} // namespace osago
