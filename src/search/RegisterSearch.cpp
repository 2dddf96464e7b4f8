#include "RegisterSearch.h"

#include "PolicyColumns.h"
#include "PolicySql.h"

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

RegisterModel::RowSelection RegisterSearch::rowsContaining(int column, const QString& word, int amongOldest)
{
    const QString table = policySql::quoted(kRegisterTable);
    if (amongOldest <= 0)
        return {QStringLiteral("SELECT rowid FROM %1 WHERE %2").arg(table, containsCondition(column)), {word}};
    // NOT INDEXED keeps SQLite on the table's rowid range, away from the column's index and its other order.
    return {QStringLiteral("SELECT rowid FROM %1 NOT INDEXED WHERE rowid < (SELECT min(rowid) FROM %1) + ? AND %2")
                .arg(table, containsCondition(column)),
            {amongOldest, word}};
}

StorageStatus RegisterSearch::find(int column, const QString& word, const IndexProgress& progress,
                                   const std::function<void()>& firstRowsShown)
{
    if (showsWholeRegister(word))
        return showAll();
    if (!hasSearchIndex(m_database, column))
        buildSearchIndex(m_database, column, progress);
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
