#pragma once

#include "storage/PolicyColumns.h"
#include "storage/PolicyDatabase.h"
#include "storage/PolicyRow.h"
#include "TestRegister.h"

#include <QFile>
#include <QTest>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

#include <unistd.h>

namespace osago::test {

// A row whose every column holds a different text with Cyrillic letters and the characters SQL treats
// specially, so a value written into the wrong column or mangled on the way shows.
inline PolicyRow trickyRow(const QString& tag)
{
    PolicyRow row;
    for (int column = 0; column < kPolicyColumnCount; ++column) {
        row.setValue(column, QStringLiteral("%1 Ёжик-%2 'одинарные' \"двойные\" 100% _под_ \\ ; DROP TABLE TableStrah;--")
                                 .arg(tag)
                                 .arg(column));
    }
    return row;
}

// A connection of its own to a register file, outside the code under test.
class RawConnection
{
public:
    explicit RawConnection(const QString& path)
        : m_name(QUuid::createUuid().toString())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.open();
    }
    ~RawConnection()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

    // The first value of the first row of `sql`, or an invalid QVariant.
    QVariant scalar(const QString& sql) const
    {
        QSqlQuery query(db());
        if (!query.exec(sql) || !query.next())
            return {};
        return query.value(0);
    }

    bool exec(const QString& sql) const
    {
        QSqlQuery query(db());
        return query.exec(sql);
    }

    qint64 rowCount() const { return scalar(QStringLiteral("SELECT count(*) FROM TableStrah")).toLongLong(); }

private:
    QString m_name;
};

// The key of the first row holding `code` (one this program gave), or a key no row has.
inline RowKey keyOf(const PolicyDatabase& database, const QString& code)
{
    std::vector<qint64> ids;
    return RowKey(database.readIdsOfCode(code, ids).ok && !ids.empty() ? ids.front() : -1);
}

// A change or deletion of the row holding `code`, as it is stored now.
inline StorageStatus updateByCode(PolicyDatabase& database, const QString& code, const PolicyRow& row)
{
    const RowKey key = keyOf(database, code);
    return database.update(key, database.load(key).value, row);
}

inline StorageStatus removeByCode(PolicyDatabase& database, const QString& code)
{
    const RowKey key = keyOf(database, code);
    return database.remove(key, database.load(key).value);
}

constexpr uid_t kNobody = 65534;

// The effective user becomes `nobody` for the object's life when the test runs as the superuser, whom file
// permissions do not stop; a test run by an ordinary user stays that user.
class AsUnprivilegedUser
{
public:
    AsUnprivilegedUser()
    {
        if (::geteuid() == 0)
            m_switched = ::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0;
    }
    ~AsUnprivilegedUser()
    {
        if (m_switched) {
            [[maybe_unused]] const int user = ::seteuid(0);
            [[maybe_unused]] const int group = ::setegid(0);
        }
    }
    AsUnprivilegedUser(const AsUnprivilegedUser&) = delete;
    AsUnprivilegedUser& operator=(const AsUnprivilegedUser&) = delete;

private:
    bool m_switched = false;
};

// Rows written by another program straight into the table: `codes` in Мантисса_кода, the surname "Чужая n".
inline void insertForeignRows(RawRegister&& raw, const QStringList& codes)
{
    for (int n = 0; n < codes.size(); ++n) {
        QVERIFY(raw.exec(QStringLiteral("INSERT INTO \"TableStrah\" (\"Страхователь_фамилия_фирма\", "
                                        "\"Мантисса_кода\") VALUES (?, ?)"),
                         {QStringLiteral("Чужая %1").arg(n + 1), codes[n]}));
    }
}

inline void insertForeignRows(const TestRegister& testRegister, const QStringList& codes)
{
    insertForeignRows(RawRegister(testRegister), codes);
}

inline void insertForeignRows(const QString& filePath, const QStringList& codes)
{
    insertForeignRows(RawRegister(filePath), codes);
}

// The surnames of the register's rows in row order, read by another program.
inline QStringList surnames(const TestRegister& testRegister)
{
    RawRegister raw(testRegister);
    return raw.column(QStringLiteral("SELECT \"Страхователь_фамилия_фирма\" FROM \"TableStrah\" ORDER BY %1").arg(raw.key()));
}

// The count and the last id `database` reads are those another program finds in the table.
inline void compareExtentWithTable(const PolicyDatabase& database, RawRegister& raw)
{
    const StorageResult<TableExtent> extent = database.readTableExtent();
    QVERIFY2(extent.ok, qPrintable(extent.error));
    QCOMPARE(qint64(extent.value.rows), raw.rowCount());
    QCOMPARE(extent.value.lastId,
             raw.scalar(QStringLiteral("SELECT coalesce(max(%1), 0) FROM \"TableStrah\"").arg(raw.key())).toLongLong());
}

// For a test about the register file itself (its permissions, pages, journal): skipped in the run on the server.
#define OSAGO_FILE_REGISTER_ONLY()                                                                                     \
    do {                                                                                                               \
        if (osago::test::onTestServer())                                                                               \
            QSKIP("about the register file itself");                                                                   \
    } while (false)

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace osago::test
