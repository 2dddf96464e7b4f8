#pragma once

#include "storage/PolicyDatabase.h"
#include "grid/RegisterModel.h"

#include <QString>

#include <functional>

namespace osago {

// What the search window does to the main window's grid. A search shows the rows whose column holds the word
// anywhere in it, letter case and ё/е aside (see RowSelection); the word is searched exactly as typed, spaces
// included, and is only ever a bound value. An empty word, or the prompt the window starts with, shows the
// whole register, as "Вся таблица" does.
class RegisterSearch
{
public:
    // How many of the oldest rows the first look reads from the table itself (about 16 MB).
    static constexpr int kFirstLookRows = 8192;

    RegisterSearch(PolicyDatabase& database, RegisterModel& model);

    static const QString& prompt();
    static bool showsWholeRegister(const QString& word);
    // The rows whose `column` contains `word`, for RegisterModel::select; with `amongOldest`, only those among
    // that many rows from the oldest on.
    static RowSelection rowsContaining(int column, const QString& word, int amongOldest = 0);

    // Builds the column's index first when the register lacks it (telling `progress`); if that fails (a
    // read-only register, a long write of another program) the search reads the table instead, which is slower.
    // The grid lists rows in the order they were added, so the rows found among the oldest are the top of the
    // complete answer: they go into the grid first and `firstRowsShown` may paint them while the index is read
    // for the rest.
    StorageStatus find(int column, const QString& word, const IndexProgress& progress,
                       const std::function<void()>& firstRowsShown);
    StorageStatus showAll();

    RegisterModel& model() const { return m_model; }

private:
    PolicyDatabase& m_database;
    RegisterModel& m_model;
};

} // namespace osago
