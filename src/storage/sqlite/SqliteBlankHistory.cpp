#include "storage/sqlite/SqliteBlanks.h"

#include "storage/BlankJournalRules.h"
#include "storage/DistinctTexts.h"
#include "storage/sqlite/SqliteBlankSql.h"
#include "storage/sqlite/SqliteDatabase.h"
#include "storage/sqlite/SqliteHandle.h"

#include <sqlite3.h>

#include <memory>
#include <string_view>

namespace osago {

namespace {

using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

std::string_view textAt(sqlite3_stmt* statement, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text ? std::string_view(text, std::size_t(sqlite3_column_bytes(statement, column))) : std::string_view();
}

void bindDay(sqlite3_stmt* statement, int position, const QDate& day)
{
    const QByteArray text = journalDate(day).toUtf8();
    sqlite3_bind_text(statement, position, text.constData(), int(text.size()), SQLITE_TRANSIENT);
}

} // namespace

// A month's report may read every one of a million blanks: through Qt SQL, a QVariant a value and three dates
// parsed a row took most of its time.
StorageStatus SqliteBlankJournal::readHistoryRows(const IssuePeriod& period, std::vector<BlankHistoryRow>& rows) const
{
    const SqliteDatabase& database = m_database;
    sqlite3* db = sqliteHandle(database.connection());
    if (!db)
        return readable();
    const QByteArray sql = sqliteBlankSql::selectHistory().toUtf8();
    sqlite3_stmt* prepared = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &prepared, nullptr);
    const Statement statement(prepared, &sqlite3_finalize);
    if (!statement)
        return database.failure(kReadBlanksAction, db);
    bindDay(prepared, 1, period.to);
    bindDay(prepared, 2, period.from);
    bindDay(prepared, 3, period.from);
    // Growing the vector row by row moved every row already read at each new block.
    if (const StorageResult<TableExtent> extent = readExtent(); extent.ok)
        rows.reserve(std::size_t(extent.value.rows));
    JournalDays days;
    JournalTexts series;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(prepared)) == SQLITE_ROW) {
        const std::string_view code = textAt(prepared, 7);
        rows.push_back({{BlankKind(sqlite3_column_int(prepared, 0)), series(textAt(prepared, 1)),
                         sqlite3_column_int64(prepared, 2)},
                        days(textAt(prepared, 3)),
                        BlankStatus(sqlite3_column_int(prepared, 4)),
                        days(textAt(prepared, 5)),
                        days(textAt(prepared, 6)),
                        code.empty() ? QString() : utf8Text(code)});
    }
    if (step != SQLITE_DONE) {
        rows.clear();
        return database.failure(kReadBlanksAction, db);
    }
    return {};
}

} // namespace osago
