#pragma once

#include <QtGlobal>

#include <algorithm>
#include <vector>

namespace osago {

// The few pages of a lazy grid read last: a page asked for again is taken from here, a new one read in place of
// the one used longest ago. `Page` has an `int number`.
template <typename Page>
class PageCache
{
public:
    explicit PageCache(int capacity) : m_capacity(std::size_t(capacity)) {}

    // Page `number`, read by `read(number)` unless it is here.
    template <typename Read>
    const Page& page(int number, const Read& read)
    {
        const auto cached = std::find_if(m_pages.begin(), m_pages.end(),
                                         [&](const Entry& entry) { return entry.page.number == number; });
        if (cached != m_pages.end()) {
            cached->lastUse = ++m_useClock;
            return cached->page;
        }
        if (m_pages.size() >= m_capacity) {
            const auto oldest = std::min_element(m_pages.begin(), m_pages.end(),
                                                 [](const Entry& a, const Entry& b) { return a.lastUse < b.lastUse; });
            m_pages.erase(oldest);
        }
        m_pages.push_back({read(number), ++m_useClock});
        return m_pages.back().page;
    }

    void clear() { m_pages.clear(); }
    // Forgets the pages `unwanted` picks, so they are read again when next asked for.
    template <typename Predicate>
    void forget(const Predicate& unwanted)
    {
        std::erase_if(m_pages, [&](const Entry& entry) { return unwanted(entry.page); });
    }

private:
    struct Entry
    {
        Page page;
        quint64 lastUse = 0;
    };

    std::size_t m_capacity;
    std::vector<Entry> m_pages;
    quint64 m_useClock = 0;
};

} // namespace osago
