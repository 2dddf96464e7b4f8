#include "storage/sqlite/SqliteSearchIndex.h"
#include "storage/SqlNames.h"

#include "storage/PolicyColumns.h"
#include "storage/SearchFolding.h"
#include "storage/sqlite/SqliteHandle.h"
#include "storage/StorageActions.h"

#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <string>

namespace osago {

namespace {

constexpr char kContainsFunction[] = "osago_contains";

// Decodes UTF-8 and folds it into `folded`, whose memory is reused; a malformed byte becomes U+FFFD. Written out
// rather than through QStringDecoder, which took twice as long over a million short texts.
void foldUtf8(const char* text, int size, std::u16string& folded)
{
    folded.resize(std::size_t(size)); // never more UTF-16 units than UTF-8 bytes
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    std::size_t out = 0;
    for (int i = 0; i < size;) {
        const unsigned char lead = bytes[i];
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        bool valid = length > 0 && i + length <= size;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; valid && k < length; ++k) {
            valid = (bytes[i + k] & 0xC0) == 0x80;
            code = (code << 6) | (bytes[i + k] & 0x3F);
        }
        if (!valid) {
            folded[out++] = u'\uFFFD';
            ++i;
            continue;
        }
        i += length;
        if (QChar::requiresSurrogates(code)) {
            folded[out++] = QChar::highSurrogate(code);
            folded[out++] = QChar::lowSurrogate(code);
        } else {
            folded[out++] = foldedUnit(char16_t(code));
        }
    }
    folded.resize(out);
}

// What one statement's call of osago_contains keeps between rows (SQLite holds it with the bound word): the
// folded word, and the last text with its answer, since an index scan meets equal texts one after another.
struct WordMatch
{
    std::u16string word;
    std::string lastText;
    bool lastFound = false;
    bool hasLast = false;
    std::u16string folded;
};

void destroyWordMatch(void* match)
{
    delete static_cast<WordMatch*>(match);
}

const char* textOf(sqlite3_value* value)
{
    return reinterpret_cast<const char*>(sqlite3_value_text(value));
}

// osago_contains(text, word): 1 when the folded word occurs in the folded text, 0 otherwise or for NULL.
void containsFunction(sqlite3_context* context, int, sqlite3_value** arguments)
{
    const char* text = textOf(arguments[0]);
    if (!text || sqlite3_value_type(arguments[1]) == SQLITE_NULL) {
        sqlite3_result_int(context, 0);
        return;
    }
    const int size = sqlite3_value_bytes(arguments[0]);

    std::unique_ptr<WordMatch> fresh;
    auto* match = static_cast<WordMatch*>(sqlite3_get_auxdata(context, 1));
    if (!match) {
        fresh = std::make_unique<WordMatch>();
        const char* word = textOf(arguments[1]);
        if (word)
            foldUtf8(word, sqlite3_value_bytes(arguments[1]), fresh->word);
        match = fresh.get();
    }
    const std::string_view textBytes(text, std::size_t(size));
    if (!match->hasLast || match->lastText != textBytes) {
        foldUtf8(text, size, match->folded);
        match->lastFound = std::u16string_view(match->folded).find(match->word) != std::u16string_view::npos;
        match->lastText.assign(textBytes);
        match->hasLast = true;
    }
    sqlite3_result_int(context, match->lastFound ? 1 : 0);
    if (fresh)
        sqlite3_set_auxdata(context, 1, fresh.release(), &destroyWordMatch);
}

} // namespace

bool installSearchFunction(const QSqlDatabase& connection)
{
    sqlite3* db = sqliteHandle(connection);
    return db
           && sqlite3_create_function_v2(db, kContainsFunction, 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                         &containsFunction, nullptr, nullptr, nullptr)
                  == SQLITE_OK;
}

QString containsCondition(int column)
{
    return QStringLiteral("%1(%2, ?)").arg(QLatin1String(kContainsFunction),
                                           sqlNames::quoted(policyColumnNames().at(column)));
}

SelectionQuery selectionQuery(const RowSelection& selection)
{
    const QString table = sqlNames::quoted(kRegisterTable);
    const QString contains = containsCondition(selection.column);
    if (selection.amongOldest <= 0)
        return {QStringLiteral("SELECT rowid FROM %1 WHERE %2").arg(table, contains), {selection.word}};
    // NOT INDEXED keeps SQLite on the table's rowid range, away from the column's index and its other order.
    return {QStringLiteral("SELECT rowid FROM %1 NOT INDEXED WHERE rowid < (SELECT min(rowid) FROM %1) + ? AND %2")
                .arg(table, contains),
            {selection.amongOldest, selection.word}};
}

sqliteSql::Index searchIndex(int column)
{
    const QString& columnName = policyColumnNames().at(column);
    const QString name = kRegisterTable.toString() + QStringLiteral("_search_") + columnName;
    return {name, QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                      .arg(sqlNames::quoted(name), sqlNames::quoted(kRegisterTable), sqlNames::quoted(columnName))};
}

std::vector<sqliteSql::Index> searchIndexes()
{
    std::vector<sqliteSql::Index> all;
    for (int column : searchedColumns())
        all.push_back(searchIndex(column));
    return all;
}

} // namespace osago
