#include "storage/SearchFolding.h"

#include "storage/PolicyColumns.h"

#include <algorithm>

namespace osago {

char16_t foldedUnit(char16_t unit)
{
    if (unit < 0x80)
        return unit >= u'A' && unit <= u'Z' ? char16_t(unit + (u'a' - u'A')) : unit;
    const auto folded = char16_t(QChar::toCaseFolded(char32_t(unit)));
    return folded == u'ё' ? u'е' : folded;
}

QString searchFolded(QStringView text)
{
    QString folded(text.size(), Qt::Uninitialized);
    std::transform(text.begin(), text.end(), folded.begin(), [](QChar unit) { return QChar(foldedUnit(unit.unicode())); });
    return folded;
}

const std::vector<int>& searchedColumns()
{
    static const std::vector<int> columns = [] {
        std::vector<int> found;
        for (const char16_t* name : {u"Страхователь_фамилия_фирма", u"Владелец_фамилия_фирма", u"Марка_модель",
                                     u"Регистрационный_знак", u"Квитанция", u"Номер_серия_полиса",
                                     u"Номер_серия_спец_знака"})
            found.push_back(policyColumnIndex(QStringView(name)));
        return found;
    }();
    return columns;
}

} // namespace osago
