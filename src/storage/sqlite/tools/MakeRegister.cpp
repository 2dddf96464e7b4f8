// osago-make-register ROWS FILE [SEED]: writes a new register of ROWS realistic rows for measurements.
// The file is created by the program's own storage (same table, index and settings); the rows then go in
// through one transaction and one prepared statement, without a journal, which is safe only because nothing
// else uses a file that is still being made.

#include "storage/sqlite/SqliteDatabase.h"
#include "storage/sqlite/SqliteSql.h"
#include "storage/tools/SampleRecords.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <sqlite3.h>

#include <cstdio>

namespace {

bool run(sqlite3* db, const char* sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK)
        return true;
    std::fprintf(stderr, "%s: %s\n", sql, sqlite3_errmsg(db));
    return false;
}

bool fill(sqlite3* db, qint64 rows, quint64 seed)
{
    if (!run(db, "PRAGMA journal_mode=OFF") || !run(db, "PRAGMA synchronous=OFF")
        || !run(db, "PRAGMA cache_size=-262144") || !run(db, "BEGIN"))
        return false;
    const QByteArray insert = osago::sqliteSql::insert().toUtf8();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, insert.constData(), int(insert.size()), &statement, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "prepare: %s\n", sqlite3_errmsg(db));
        return false;
    }
    osago::SampleRecords samples(seed);
    bool ok = true;
    for (qint64 n = 1; ok && n <= rows; ++n) {
        const osago::PolicyRow row = samples.next();
        for (int column = 0; column < osago::kPolicyColumnCount; ++column) {
            const QByteArray text = row.value(column).toUtf8();
            sqlite3_bind_text(statement, column + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        }
        ok = sqlite3_step(statement) == SQLITE_DONE && sqlite3_reset(statement) == SQLITE_OK;
        if (n % 100000 == 0)
            std::fprintf(stderr, "%lld rows\n", static_cast<long long>(n));
    }
    if (!ok)
        std::fprintf(stderr, "insert: %s\n", sqlite3_errmsg(db));
    sqlite3_finalize(statement);
    return ok && run(db, "COMMIT") && run(db, "PRAGMA journal_mode=WAL");
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool counted = false;
    const qint64 rows = args.size() >= 3 ? args[1].toLongLong(&counted) : 0;
    if (!counted || rows < 0 || args.size() > 4) {
        std::fprintf(stderr, "usage: osago-make-register ROWS FILE [SEED]\n");
        return 2;
    }
    const QString path = args[2];
    const quint64 seed = args.size() == 4 ? args[3].toULongLong() : 20120315;
    if (QFileInfo::exists(path)) {
        std::fprintf(stderr, "%s exists; the tool only makes new registers\n", qPrintable(path));
        return 1;
    }

    QElapsedTimer timer;
    timer.start();
    {
        osago::SqliteDatabase database;
        const osago::StorageStatus created = database.open(path);
        if (!created.ok) {
            std::fprintf(stderr, "%s\n", qPrintable(created.error));
            return 1;
        }
    }
    sqlite3* db = nullptr;
    const bool ok = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK
                    && fill(db, rows, seed);
    sqlite3_close(db);
    if (!ok)
        return 1;
    const qint64 bytes = QFileInfo(path).size();
    std::printf("%lld rows in %.1f s, %lld bytes, %lld bytes a row\n", static_cast<long long>(rows),
                double(timer.elapsed()) / 1000.0, static_cast<long long>(bytes),
                static_cast<long long>(rows > 0 ? bytes / rows : 0));
    return 0;
}
