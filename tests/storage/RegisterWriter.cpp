// Test helper: inserts rows into the register FILE one after another until killed, printing "n code" on its own
// line after row n has been committed. Exits 1 when an insert fails.

#include "storage/sqlite/SqliteDatabase.h"
#include "StorageTestSupport.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (app.arguments().size() != 2)
        return 2;
    osago::SqliteDatabase database;
    const osago::StorageStatus opened = database.open(app.arguments().at(1));
    if (!opened.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(opened.error));
        return 1;
    }
    for (int n = 1;; ++n) {
        const auto saved = database.insert(osago::test::trickyRow(QString::number(n)));
        if (!saved.ok) {
            std::fprintf(stderr, "%s\n", qPrintable(saved.error));
            return 1;
        }
        std::printf("%d %s\n", n, qPrintable(saved.value));
        std::fflush(stdout);
    }
}
