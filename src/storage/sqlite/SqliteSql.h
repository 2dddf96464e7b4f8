#pragma once

#include <QString>

#include <vector>

namespace osago {

// The SQL texts over the register, all derived from the column table. Values are always bound ("?"); the only
// names in these texts are the table's and the columns' own, quoted.
namespace sqliteSql {

QString createTable();
// An index of the register, with the name it is known by in the file.
struct Index
{
    QString name;
    QString create;
};
// The indexes every register the program writes has from its opening on. The code index finds a row by its
// code; the order index has one constant key, so it holds nothing but the row ids in ascending order: the
// narrowest thing SQLite can scan to list the rows, which it then prefers to the table itself.
const std::vector<Index>& indexes();
const Index& orderIndex();
// The index of issueDayKey(), so the rows of a period are found without reading the others. A new register has
// it; an older one gets it at its first report, since building it reads the whole table.
const Index& issueDayIndex();
// The date in `column` as a text that sorts as the days do, "YYYY-MM-DD", where it is a date "DD.MM.YYYY"
// (checked against the calendar), and '' where it is not. Only SQLite's own functions, so that any program
// writing the file keeps its index up to date. `of` qualifies the column ("t.").
QString dayKey(QStringView column, const QString& of = {});
QString issueDayKey();
// The indexes of the renewals' reads: the end of insurance as dayKey(), the VIN and the plate each with the start
// of insurance. A new register
// has them; an older one gets them at its first list of renewals.
const std::vector<Index>& renewalIndexes();
// rowid and `columns` (quoted, comma separated) of the rows whose end of insurance lies between the two bound
// keys, in the order of the table's rows.
QString selectEndingBetween(const QString& columns);
// `column` and the start of insurance of the rows whose `column` holds one of the texts of the bound JSON array.
QString selectStartsOf(int column);
// The number of rows ending between the two bound keys that no later start of the same vehicle renews
// (PolicyDatabase::countRenewalsDue()); the third bound value is sqlNames::trimmedCharacters().
QString countRenewalsDue();
// `columns` (quoted, comma separated) of the rows whose issueDayKey() lies between the two bound keys, and of
// the rows without a readable issue date, in the order of the table's rows; `byAgent`: only those whose agent is
// the third bound value.
QString selectIssuedBetween(const QString& columns, bool byAgent);
// Each issue date and agent, the agent not empty, of the rows whose issueDayKey() lies between the two bound keys,
// once.
QString selectAgentDaysIssuedBetween();
// The grid's full query: the 123 columns of every row, in the order of the table's rows.
QString selectAll();
// The row ids of every row, in no stated order (the grid reads them all when it needs ids far from both ends
// of the register, and sorts them).
QString selectAllIds();
// The number of rows and the highest row id, read together so they agree.
QString selectRowCountAndLastId();
// At most the third bound value of row ids from the first bound value to the second, in ascending order, or
// in descending order when `descending`: a short walk of the table from one end of the range.
QString selectIdsBetween(bool descending);
// The same ids read from the order index instead of the table: the way past a damaged page of the table, whose
// rows' ids the index still holds. It scans the whole index.
QString selectIdsBetweenInOrderIndex(bool descending);
// The row ids of the rows holding the code bound as the only value.
QString selectIdsByCode();
// rowid and the 123 columns of the rows whose rowid is one of `count` bound values.
QString selectByIds(int count);
// rowid and the 123 columns of the rows whose rowid lies between the two bound values.
QString selectByIdRange();
// The 123 columns of the rows holding the bound code.
QString selectByCode();
// 123 bound values.
QString insert();
// The 122 columns other than the code, bound in column order, then the row id of the row to change: the code
// stays what it was.
QString updateById();
QString deleteById();

// The commission rates' table (kCommissionTable): the day as "YYYY-MM-DD", the rate in hundredths of a percent.
QString createCommissionTable();
QString selectCommissionTableExists();
QString selectCommissionRates();
// Day and rate bound, then the day again: adds nothing when a rate starts on that day or later.
QString insertCommissionRateIfLatest();
QString insertCommissionRate();
QString deleteCommissionRates();

} // namespace sqliteSql

} // namespace osago
