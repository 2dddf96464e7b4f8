#include "storage/server/ServerSql.h"

#include <QFile>
#include <QTest>

using namespace osago;

// The administrator's scripts in the README are the ones the program runs; a new column or index shows here first.
class ServerSqlTest : public QObject
{
    Q_OBJECT

private slots:
    void readmeGivesTheProgramsOwnScripts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("script");
        QTest::newRow("new table") << "register.sql" << serverSql::schemaScript();
        QTest::newRow("older table") << "register-folded.sql" << serverSql::foldedColumnsScript();
    }

    void readmeGivesTheProgramsOwnScripts()
    {
        QFETCH(QString, name);
        QFETCH(QString, script);
        QFile readme(QStringLiteral(README_PATH));
        QVERIFY(readme.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(readme.readAll());
        const QString opening = QStringLiteral("<!-- %1 -->\n```sql\n").arg(name);
        const qsizetype start = text.indexOf(opening);
        QVERIFY(start >= 0);
        const qsizetype end = text.indexOf(QStringLiteral("```"), start + opening.size());
        if (text.mid(start + opening.size(), end - start - opening.size()) != script) {
            QFile expected(name);
            QVERIFY(expected.open(QIODevice::WriteOnly));
            expected.write(script.toUtf8());
            QFAIL(qPrintable(QStringLiteral("the README's %1 differs from the program's: the program's is in %1 in the "
                                            "test's working folder").arg(name)));
        }
    }
};

QTEST_GUILESS_MAIN(ServerSqlTest)
#include "ServerSqlTest.moc"
