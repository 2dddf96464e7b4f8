#include "blanks/report/BlanksCommand.h"
#include "storage/BlankJournal.h"
#include "storage/PolicyDatabase.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QUuid>

using namespace osago;

class BlanksCommandTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    QString m_register;

    int run(const QStringList& words, QString* said = nullptr)
    {
        QString errors;
        QTextStream stream(&errors);
        const int status = runBlanksCommand(words + QStringList{"--database", m_register}, stream);
        if (said)
            *said = errors;
        return status;
    }

private slots:
    void init() { m_register = m_folder.filePath(QUuid::createUuid().toString(QUuid::Id128) + ".mdb"); }

    void exits_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<int>("status");
        const QStringList receive{"receive", "--kind", "polis", "--series", "ааа", "--date", "01.03.2026"};
        QTest::newRow("no action") << QStringList{} << 2;
        QTest::newRow("unknown action") << QStringList{"issue"} << 2;
        QTest::newRow("unknown option") << receive + QStringList{"--first", "0000000001", "--last", "0000000002",
                                                                 "--colour", "red"} << 2;
        QTest::newRow("unknown kind") << QStringList{"receive", "--kind", "bso", "--first", "1", "--last", "2",
                                                     "--date", "01.03.2026"} << 2;
        QTest::newRow("no last") << receive + QStringList{"--first", "0000000001"} << 2;
        QTest::newRow("bad date") << QStringList{"receive", "--kind", "kvit", "--first", "000001", "--last", "000002",
                                                 "--date", "31.02.2026"} << 2;
        QTest::newRow("first above last") << receive + QStringList{"--first", "0000000009", "--last", "0000000001"} << 1;
        QTest::newRow("short number") << receive + QStringList{"--first", "1", "--last", "0000000009"} << 1;
        QTest::newRow("received") << receive + QStringList{"--first", "0000000001", "--last", "0000000009"} << 0;
        QTest::newRow("report without period") << QStringList{"report", "out.csv"} << 2;
        QTest::newRow("report to a text file")
            << QStringList{"report", "--from", "01.03.2026", "--to", "31.03.2026", "out.txt"} << 2;
    }
    void exits()
    {
        QFETCH(QStringList, words);
        QFETCH(int, status);
        QString said;
        const int exited = run(words, &said);
        QVERIFY2(exited == status, qPrintable(QStringLiteral("exit %1: %2").arg(exited).arg(said)));
        // A refusal of the register or the rules is one line; the usage may take two.
        if (status == 1)
            QCOMPARE(said.count(u'\n'), 1);
        QVERIFY(!said.trimmed().isEmpty());
    }

    void anOverlapIsARefusalOfOneLine()
    {
        const QStringList receive{"receive", "--kind", "kvit", "--first", "000001", "--last", "000010", "--date",
                                  "01.03.2026", "--act", "15"};
        QCOMPARE(run(receive), 0);
        QString said;
        QCOMPARE(run(receive, &said), 1);
        QCOMPARE(said.count(u'\n'), 1);
        QVERIFY2(said.contains("000001–000010") && said.contains("акт 15"), qPrintable(said));
    }

    void theReportIsWritten_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("csv") << "blanks.csv";
        QTest::newRow("pdf") << "blanks.pdf";
    }
    void theReportIsWritten()
    {
        QFETCH(QString, file);
        QCOMPARE(run({"receive", "--kind", "znak", "--series", "ВВВ", "--first", "0000000001", "--last", "0000000005",
                      "--date", "02.03.2026"}),
                 0);
        const QString target = m_folder.filePath(file);
        QCOMPARE(run({"report", "--from", "01.03.2026", "--to", "31.03.2026", target}), 0);
        QFile written(target);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray bytes = written.readAll();
        if (file.endsWith(".csv")) {
            QVERIFY(bytes.contains(QString("\"Спецзнак\";\"ВВВ\";\"0\";\"5\";\"0\";\"0\";\"0\";\"0\";\"5\"").toUtf8()));
            QVERIFY(bytes.contains(QString("0000000001–0000000005").toUtf8()));
        } else {
            QVERIFY(bytes.startsWith("%PDF"));
        }
    }
};

QTEST_MAIN(BlanksCommandTest)
#include "BlanksCommandTest.moc"
