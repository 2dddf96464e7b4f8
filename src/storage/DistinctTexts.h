#pragma once

#include "storage/BlankJournalRules.h"

#include <QDate>
#include <QString>

#include <map>
#include <string>
#include <string_view>

namespace osago {

// A column's values turned into `Value` once for each distinct text: a journal holds a few hundred days and
// series, and a report may read a million blanks.
template <typename Value, Value (*convert)(std::string_view)>
class DistinctTexts
{
public:
    Value operator()(std::string_view text)
    {
        if (m_last != m_values.end() && m_last->first == text)
            return m_last->second;
        m_last = m_values.find(text);
        if (m_last == m_values.end())
            m_last = m_values.emplace(std::string(text), convert(text)).first;
        return m_last->second;
    }

private:
    std::map<std::string, Value, std::less<>> m_values;
    typename std::map<std::string, Value, std::less<>>::const_iterator m_last = m_values.end();
};

inline QString utf8Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// A journal's day ("YYYY-MM-DD"); invalid for an empty text.
inline QDate journalDay(std::string_view text)
{
    return text.empty() ? QDate() : dateOfJournal(utf8Text(text));
}

using JournalDays = DistinctTexts<QDate, journalDay>;
using JournalTexts = DistinctTexts<QString, utf8Text>;

} // namespace osago
