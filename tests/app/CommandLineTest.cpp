#include "app/CommandLine.h"
#include "app/CommandLineHelp.h"

#include <QBuffer>
#include <QTest>

using osago::WindowCommandLine;
using Request = WindowCommandLine::Request;

Q_DECLARE_METATYPE(Request)

class CommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void readsTheWindowsCommandLine_data();
    void readsTheWindowsCommandLine();
    void answersHelpVersionAndRefusal_data();
    void answersHelpVersionAndRefusal();
    void helpNamesEveryCommandAndOption();
    void tellsAStartFromTheMenu();
};

void CommandLineTest::readsTheWindowsCommandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Request>("request");
    QTest::addColumn<QString>("databaseLocation");
    QTest::addColumn<QString>("problem");

    QTest::newRow("nothing") << QStringList{} << Request::OpenWindow << QString() << QString();
    QTest::newRow("another register") << QStringList{"--database", "/tmp/a.mdb"} << Request::OpenWindow
                                      << "/tmp/a.mdb" << QString();
    QTest::newRow("register with =") << QStringList{"--database=b.mdb"} << Request::OpenWindow << "b.mdb"
                                     << QString();
    const QString server = QStringLiteral("postgresql://agent@db.local:5433/osago?sslmode=require");
    QTest::newRow("server register") << QStringList{"--database", server} << Request::OpenWindow << server
                                     << QString();
    QTest::newRow("server register, short scheme") << QStringList{"--database=postgres://db/osago"}
                                                   << Request::OpenWindow << "postgres://db/osago" << QString();
    QTest::newRow("help") << QStringList{"--help"} << Request::ShowHelp << QString() << QString();
    QTest::newRow("short help") << QStringList{"-h"} << Request::ShowHelp << QString() << QString();
    QTest::newRow("version") << QStringList{"--version"} << Request::ShowVersion << QString() << QString();
    QTest::newRow("help beside a display option") << QStringList{"-platform", "xcb", "--help"} << Request::ShowHelp
                                                  << QString() << QString();
    QTest::newRow("unknown option") << QStringList{"--datbase", "a.mdb"} << Request::Refuse << QString()
                                    << "неизвестный параметр «--datbase»";
    const QString missing = QStringLiteral("после --database нужен реестр: имя файла или адрес сервера postgresql://…");
    QTest::newRow("register without a file") << QStringList{"--database"} << Request::Refuse << QString() << missing;
    QTest::newRow("register with an empty name") << QStringList{"--database="} << Request::Refuse << QString()
                                                 << missing;
    QTest::newRow("unknown command") << QStringList{"exprt"} << Request::Refuse << QString()
                                     << "неизвестная команда «exprt»";
}

void CommandLineTest::readsTheWindowsCommandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(Request, request);
    QFETCH(QString, databaseLocation);
    QFETCH(QString, problem);

    const WindowCommandLine commandLine = osago::readWindowCommandLine(QStringList{"osago"} + arguments);
    QCOMPARE(commandLine.request, request);
    QCOMPARE(commandLine.databaseLocation.value_or(QString()), databaseLocation);
    QCOMPARE(commandLine.problem, problem);
}

void CommandLineTest::answersHelpVersionAndRefusal_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("errors");

    QTest::newRow("help") << "--help" << 0 << osago::commandLineHelp() << QString();
    QTest::newRow("version") << "--version" << 0 << QString("osago " OSAGO_TEST_VERSION "\n") << QString();
    QTest::newRow("refusal") << "--bogus" << 2 << QString()
                             << "osago: неизвестный параметр «--bogus». Справка: osago --help\n";
}

void CommandLineTest::answersHelpVersionAndRefusal()
{
    QFETCH(QString, argument);
    QFETCH(int, status);
    QFETCH(QString, output);
    QFETCH(QString, errors);

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QBuffer err;
    err.open(QIODevice::WriteOnly);
    QCOMPARE(osago::answerCommandLine(osago::readWindowCommandLine({"osago", argument}), out, err), status);
    QCOMPARE(QString::fromUtf8(out.data()), output);
    QCOMPARE(QString::fromUtf8(err.data()), errors);
}

void CommandLineTest::helpNamesEveryCommandAndOption()
{
    const QString help = osago::commandLineHelp();
    for (const char* word : {"--database РЕЕСТР", "postgresql://", "--help", "--version", "--menu", "calc [ФАЙЛ]", "Baza.mdb",
                             "export [--database РЕЕСТР]", "report --from", "backup [--database РЕЕСТР] [ПАПКА]",
                             "restore [--database РЕЕСТР] КОПИЯ", "copy-register ОТКУДА КУДА [--append]",
                             "blanks report --from", "blanks receive --kind polis|kvit|znak"})
        QVERIFY2(help.contains(QString::fromUtf8(word)), word);
}

void CommandLineTest::tellsAStartFromTheMenu()
{
    QVERIFY(!osago::readWindowCommandLine({"osago"}).fromMenu);
    const WindowCommandLine menu = osago::readWindowCommandLine({"osago", "--menu", "--database", "a.mdb"});
    QCOMPARE(menu.request, Request::OpenWindow);
    QVERIFY(menu.fromMenu);
    QCOMPARE(menu.databaseLocation.value_or(QString()), QStringLiteral("a.mdb"));
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
