#pragma once

#include "transfer/CopyRegisterCommand.h"
#include "storage/PolicyColumns.h"
#include "storage/PolicyDatabase.h"
#include "StorageTestSupport.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTextStream>

#include <memory>
#include <vector>

namespace osago::test {

// Every row of the register at `location`, in order, 123 texts each; none when it cannot be read.
inline std::vector<QStringList> rowsOf(const QString& location)
{
    const std::unique_ptr<PolicyDatabase> database = makeDatabase(location);
    std::vector<qint64> ids;
    std::vector<QStringList> rows;
    if (!database->open(location, PolicyDatabase::Access::ReadOnly).ok || !database->readAllIds(ids).ok
        || !database->readRows(ids, rows).ok)
        return {};
    return rows;
}

// The register at `location` with `count` rows of its own added, tagged `tag`; gives its rows as stored.
inline std::vector<QStringList> fillRegister(const QString& location, int count, const QString& tag)
{
    const std::unique_ptr<PolicyDatabase> database = makeDatabase(location);
    if (!database->open(location).ok)
        return {};
    for (int i = 0; i < count; ++i) {
        if (!database->insert(trickyRow(QStringLiteral("%1-%2").arg(tag).arg(i))).ok)
            return {};
    }
    database->close();
    return rowsOf(location);
}

// Every row of the register file at `path` as SQLite holds it, in row order: each value's text, and "NULL"
// apart from the texts for SQL's NULL.
inline std::vector<QStringList> storedRowsOf(const QString& path)
{
    const RawConnection file(path);
    QSqlQuery query(file.db());
    std::vector<QStringList> rows;
    if (!query.exec(QStringLiteral("SELECT * FROM TableStrah ORDER BY rowid")))
        return rows;
    while (query.next()) {
        QStringList& row = rows.emplace_back();
        for (int column = 0; column < query.record().count(); ++column)
            row << (query.isNull(column) ? QStringLiteral("NULL") : QStringLiteral("'") + query.value(column).toString());
    }
    return rows;
}

// The register file at `path` with two rows, the first holding in its columns after the code the bytes that
// COPY's text format escapes, its own mark of NULL as a text, an empty text and a NULL; gives storedRowsOf().
inline std::vector<QStringList> fillWithBytesToEscape(const QString& path)
{
    static const QVariantList values{QStringLiteral("a\tb"), QStringLiteral("first\nsecond\r\n"),
                                     QStringLiteral("back\\slash\\"), QStringLiteral("\\N"), QStringLiteral("\\."),
                                     QStringLiteral(""), QVariant(), QStringLiteral("Ёж\t\\N")};
    static const QStringList expected{"'a\tb", "'first\nsecond\r\n", "'back\\slash\\", "'\\N", "'\\.", "'", "NULL",
                                      "'Ёж\t\\N"};
    if (fillRegister(path, 2, QStringLiteral("ф")).size() != 2)
        return {};
    {
        const RawConnection raw(path);
        QSqlQuery update(raw.db());
        for (int column = 0; column < values.size(); ++column) {
            update.prepare(QStringLiteral("UPDATE TableStrah SET \"%1\" = ? WHERE rowid = 1")
                               .arg(policyColumnNames().at(column + 1)));
            update.addBindValue(values[column]);
            if (!update.exec())
                return {};
        }
    }
    std::vector<QStringList> stored = storedRowsOf(path);
    return stored.size() == 2 && stored.front().mid(1, values.size()) == expected ? stored
                                                                                    : std::vector<QStringList>{};
}

// What one run of `osago copy-register` gave.
struct CommandRun
{
    int status = -1;
    QString output;
    QString errors;
};

inline CommandRun copyRegister(const QStringList& words)
{
    CommandRun run;
    QTextStream output(&run.output);
    QTextStream errors(&run.errors);
    run.status = runCopyRegisterCommand(words, output, errors);
    return run;
}

} // namespace osago::test
