#include "storage/PolicyDatabase.h"
#include "storage/server/ServerDatabase.h"
#include "storage/sqlite/SqliteDatabase.h"

#include <QTemporaryDir>
#include <QTest>

using namespace osago;

class RegisterEnginesTest : public QObject
{
    Q_OBJECT

private slots:
    void serverLocationIsAConnectionUri_data()
    {
        QTest::addColumn<QString>("location");
        QTest::addColumn<bool>("server");
        QTest::newRow("postgresql") << "postgresql://agent@server:5432/osago?sslmode=require" << true;
        QTest::newRow("postgres") << "postgres://server/osago" << true;
        QTest::newRow("scheme in capitals") << "PostgreSQL://server/osago" << true;
        QTest::newRow("file name") << "Baza.mdb" << false;
        QTest::newRow("file path") << "/home/agent/Baza.mdb" << false;
        QTest::newRow("uri inside a path") << "./postgresql://server/osago" << false;
        QTest::newRow("one slash") << "postgresql:/server/osago" << false;
        QTest::newRow("nothing") << "" << false;
    }

    void serverLocationIsAConnectionUri()
    {
        QFETCH(QString, location);
        QFETCH(bool, server);
        QCOMPARE(dynamic_cast<ServerDatabase*>(makeDatabase(location).get()) != nullptr, server);
    }

    void serverLocationGetsTheServerEngine()
    {
        const auto database = makeDatabase(QStringLiteral("postgresql://agent@server/osago"));
        QVERIFY(dynamic_cast<ServerDatabase*>(database.get()));
        QVERIFY(!database->isOpen());
        QVERIFY(database->path().isEmpty());
    }

    void fileLocationGetsTheFileEngine()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Baza.mdb"));
        const auto opened = openDatabase(path, PolicyDatabase::Access::ReadWrite);
        QVERIFY2(opened.ok, qPrintable(opened.error));
        QVERIFY(dynamic_cast<SqliteDatabase*>(opened.value.get()));
        QCOMPARE(opened.value->path(), path);
        QCOMPARE(opened.value->location(), path);
        QVERIFY(opened.value->openWarning().isEmpty());
    }
};

QTEST_GUILESS_MAIN(RegisterEnginesTest)
#include "RegisterEnginesTest.moc"
