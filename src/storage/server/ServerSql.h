#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <span>
#include <vector>

namespace osago {

// The SQL texts of the register on a PostgreSQL server, all derived from the column table. Values are always
// bound ($1, $2, ...); the only names in these texts are the table's, its columns' and its indexes' own, quoted.
// TableStrah holds the 123 text columns in their order, then the key the program gives every row: a bigint
// identity, ascending in the order rows were added; then, for each searched column, its folded text, which the
// server itself keeps (a stored generated column), so that no search folds a row's text again. A table made
// before the folded columns has the 124 columns only and is searched over the folding expression.
namespace serverSql {

inline constexpr QStringView kKeyColumn = u"Номер_строки";
inline constexpr QStringView kSearchExtension = u"pg_trgm";
// The collation whose lower() folds every alphabet, whatever the database's own locale; a server built
// without ICU folds through the database's locale instead.
inline constexpr QStringView kFoldingCollation = u"und-x-icu";

// How the search folds a column's text: lower case, ё as е.
enum class Folding { Icu, DatabaseLocale };

// How a search reads a column. KeyOrder: the narrow index of key and folded text, read whole in key order,
// for words shorter than kTrigramLength characters, of which pg_trgm takes no trigram. Trigrams: for longer
// words, the planner's choice between the trigram index over the folded column (a word in few rows) and the
// key-order index (a word in many rows, where reading every found row from the table costs more). Expression:
// a table without the folded columns, whose trigram index is over the folding expression.
enum class SearchPath { Trigrams, KeyOrder, Expression };
inline constexpr int kTrigramLength = 3;
// Folded texts of this many bytes or more stay out of the key-order index (a btree entry must stay under
// about 2,700 bytes) and are found through an index of their keys alone.
inline constexpr int kLongFoldedBytes = 2000;

QString foldedColumnName(int column);
QString createTable(Folding folding);
QString codeIndexName();
QString createCodeIndex();
QString createSearchExtension();
QString searchIndexName(int column);
QString createSearchIndex(int column, Folding folding, SearchPath over);
// The key-order index of the column's folded text and the index of the keys of its long texts.
QStringList keyOrderIndexNames(int column);
QStringList createKeyOrderIndexes(int column);
// The number of rows of TableStrah, kept by the server in the one-row table rowCountTable(): triggers after every
// INSERT, DELETE and TRUNCATE of the register change it in the same transaction, whichever program ran the
// statement, so a snapshot sees a count that matches its rows. The trigger function runs as the table's owner:
// the desks' roles need only SELECT on the count.
QString rowCountTable();
// Makes the kept count, or mends one whose triggers are missing or disabled, and sets it to the rows there now
// (the register has to be locked against writers meanwhile).
QStringList keepRowCount();
// Everything an administrator runs to make the register on a server (table, indexes, the kept row count, the
// search extension).
QString schemaScript();
// What an administrator runs once on a table made before the folded columns: adds them (rewriting the table)
// and remakes the search indexes over them.
QString foldedColumnsScript();

// Table, column and index checks; the table's regclass text is the first bound value.
QByteArray tableName();
// Name, type and whether the server generates it ("s"), of each column in order.
QByteArray selectTableColumns();
// SELECT, INSERT, UPDATE, DELETE rights and whether the role owns the table.
QByteArray selectTableRights();
QByteArray selectMayCreateInSchema();
// The index named by the second bound value, when it is usable.
QByteArray selectIndexExists();
QByteArray selectExtensionExists();
QByteArray selectCollationExists();
QByteArray selectServerReadOnly();
// Whether the role may read the kept row count (no row: there is none).
QByteArray selectRowCountReadable();
// Whether the kept row count can be trusted: its three triggers enabled, its one row there.
QByteArray selectRowCountSound();

QByteArray lockCodes();
QByteArray lockSchema();
// 123 bound values; adds nothing when a row already holds the code (bound at the code column's position).
QByteArray insertUnlessCodeTaken();
// The 122 columns other than the code, bound in column order, then the key.
QByteArray updateByKey();
QByteArray deleteByKey();
QByteArray selectForUpdate();
QByteArray lockForAppend();
QByteArray selectAnyRow();
QByteArray copyIn();
// A copy of the register and its restoring: the table locked against every other reader and writer, emptied
// (TRUNCATE: the kept row count follows it), and the rows read through a cursor, in key order, a block at a time.
QByteArray lockWholeTable();
QByteArray emptyTable();
QByteArray declareCopyCursor();
QByteArray fetchCopyCursor();
QByteArray closeCopyCursor();
// The name and the CREATE statement of each index of the table that backs no key ($1: tableName()).
QByteArray selectLoadDeferredIndexes();
QByteArray dropIndex(const QByteArray& name);

// The number of rows and the highest key; `keptCount` reads the kept row count when it can be trusted, and
// counts the rows when it cannot.
QByteArray selectExtent(bool keptCount);
QByteArray selectIdsBetween(bool descending);
QByteArray selectAllIds();
QByteArray selectIdsByCode();
// Key and 123 columns of the rows whose key is in the bound array (`{1,2,3}`), or between the two bound keys.
QByteArray selectByKeys();
QByteArray selectByKeyRange();
QByteArray selectByCode();
// Keys of the rows whose `column` holds the bound folded word (LIKE-escaped but for KeyOrder); with
// `amongOldest`, the second bound value limits the look to that many rows from the oldest.
QByteArray selectContaining(int column, SearchPath path, Folding folding, bool amongOldest);
// The same over the folded column, among its short texts (those of the key-order index) or its long ones.
QByteArray selectFoldedContaining(int column, SearchPath path, bool longTexts);
// The issue index: the issue date as a text YYYYMMDD where it matches sureDatePattern(), '' where it does not.
QString issueIndexName();
QString createIssueIndex();
// The key and `columns` of every row whose issue date lies between the two bound days (YYYYMMDD) or does not
// match sureDatePattern(); `byAgent`: only those whose agent is the third bound value.
QByteArray selectIssuedIn(std::span<const int> columns, bool byAgent);
// Each issue date and agent, the agent not empty, of the rows whose issue date is a sure date between the two
// bound days, once.
QByteArray selectAgentDaysIssuedIn();
// The renewals' indexes: the end of insurance as a text YYYYMMDD, the VIN and the plate each with the start.
QStringList renewalIndexNames();
QStringList createRenewalIndexes();
// The key and `columns` of every row whose end of insurance lies between the two bound days (YYYYMMDD).
QByteArray selectEndingIn(std::span<const int> columns);
// `column` and the start of insurance of the rows whose `column` holds one of the texts of the bound JSON array.
QByteArray selectStartsOf(int column);
QByteArray sureDatePattern();
// The number of rows ending between the two bound days (YYYYMMDD) that no later start of the same vehicle renews
// (PolicyDatabase::countRenewalsDue()); $3 is sqlNames::trimmedCharacters(), $4 readableDatePattern().
QByteArray countRenewalsDue();
QByteArray readableDatePattern();

// The commission rates' table (kCommissionTable): the day a rate applies from and the rate in hundredths of a
// percent; readable by every role, written by the roles the administrator lets.
QStringList createCommissionTable();
QByteArray commissionTableName();
// Whether the table named by the bound value exists.
QByteArray selectTableExists();
// Each rate's day as YYYY-MM-DD and its rate, the earliest first.
QByteArray selectCommissionRates();
QByteArray lockCommissionRates();
// Day (YYYY-MM-DD) and rate bound: adds nothing when a rate starts on that day or later.
QByteArray insertCommissionRateIfLatest();
QByteArray insertCommissionRate();
QByteArray deleteCommissionRates();

} // namespace serverSql

} // namespace osago
