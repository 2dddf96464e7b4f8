#include "search/RegisterSearch.h"

#include "storage/PolicyDatabase.h"

namespace osago {

RegisterSearch::RegisterSearch(PolicyDatabase& database, RegisterModel& model)
    : m_database(database)
    , m_model(model)
{
}

const QString& RegisterSearch::prompt()
{
    static const QString text = QStringLiteral("Введите слово для поиска");
    return text;
}

bool RegisterSearch::showsWholeRegister(const QString& word)
{
    return word.isEmpty() || word == prompt();
}

RowSelection RegisterSearch::rowsContaining(int column, const QString& word, int amongOldest)
{
    return {column, word, amongOldest};
}

StorageStatus RegisterSearch::find(int column, const QString& word, const IndexProgress& progress,
                                   const std::function<void()>& firstRowsShown)
{
    if (showsWholeRegister(word))
        return showAll();
    if (!m_database.hasSearchIndex(column))
        m_database.buildSearchIndex(column, progress);
    const StorageStatus firstLook = m_model.select(rowsContaining(column, word, kFirstLookRows));
    if (!firstLook.ok)
        return firstLook;
    if (m_model.rowCount() > 0 && firstRowsShown)
        firstRowsShown();
    return m_model.select(rowsContaining(column, word));
}

StorageStatus RegisterSearch::showAll()
{
    return m_model.selectAll();
}

} // namespace osago
