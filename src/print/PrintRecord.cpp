#include "print/PrintRecord.h"

#include "widgets/Controls.h"

namespace osago {

namespace {

struct FactorEntry
{
    Field field;
    QStringView name;
};

constexpr std::array<FactorEntry, kFactorCount> kFactors = {{
    {Field::TB, u"ТБ"},
    {Field::KT, u"КТ"},
    {Field::KBM, u"КБМ"},
    {Field::KVS, u"КВС"},
    {Field::KO, u"КО"},
    {Field::KM, u"КМ"},
    {Field::KS, u"КС"},
    {Field::KP, u"КП"},
    {Field::KN, u"КН"},
}};

} // namespace

QString factorName(int index)
{
    return kFactors.at(std::size_t(index)).name.toString();
}

Field factorField(int index)
{
    return kFactors.at(std::size_t(index)).field;
}

TariffFactors factorsFromEditor(const QWidget& editor)
{
    TariffFactors factors;
    for (std::size_t i = 0; i < kFactors.size(); ++i)
        factors.texts[i] = controlText(editor, QString::fromUtf8(fieldObjectName(kFactors[i].field)));
    return factors;
}

} // namespace osago
