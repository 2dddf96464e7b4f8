#include "ServerSql.h"

#include <QFile>
#include <QTest>

using namespace osago;

// The administrator's script in the README is the one the program runs; a new column or index shows here first.
class ServerSqlTest : public QObject
{
    Q_OBJECT

private slots:
    void readmeGivesTheProgramsOwnScript()
    {
        QFile readme(QStringLiteral(README_PATH));
        QVERIFY(readme.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(readme.readAll());
        const QString opening = QStringLiteral("<!-- register.sql -->\n```sql\n");
        const qsizetype start = text.indexOf(opening);
        QVERIFY(start >= 0);
        const qsizetype end = text.indexOf(QStringLiteral("```"), start + opening.size());
        const QString script = text.mid(start + opening.size(), end - start - opening.size());
        if (script != serverSql::schemaScript()) {
            QFile expected(QStringLiteral("register.sql"));
            QVERIFY(expected.open(QIODevice::WriteOnly));
            expected.write(serverSql::schemaScript().toUtf8());
            QFAIL("the README's register.sql differs from the program's: the program's is in register.sql in the "
                  "test's working folder");
        }
    }
};

QTEST_GUILESS_MAIN(ServerSqlTest)
#include "ServerSqlTest.moc"
