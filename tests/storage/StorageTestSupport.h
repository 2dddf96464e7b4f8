#pragma once

#include "PolicyColumns.h"
#include "PolicyRow.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

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

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace osago::test
