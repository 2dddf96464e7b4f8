#include "blanks/report/BlanksCommand.h"
#include "export/ExportCommand.h"
#include "renewals/RenewalsCommand.h"
#include "report/CommissionCommand.h"
#include "report/ReportCommand.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <functional>

using Command = std::function<int(const QStringList& words, QTextStream& errors)>;
Q_DECLARE_METATYPE(Command)

// Every command that reads or writes a register tells a register that does not open in one line, after its
// name, and exits with 1.
class CommandRegisterTest : public QObject
{
    Q_OBJECT

private slots:
    void refusesARegisterThatDoesNotOpenInOneLine_data();
    void refusesARegisterThatDoesNotOpenInOneLine();
};

void CommandRegisterTest::refusesARegisterThatDoesNotOpenInOneLine_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<Command>("command");

    const QStringList period{"--from", "01.05.2026", "--to", "31.05.2026"};
    QTest::newRow("report") << "report" << period + QStringList{"out.csv"}
                            << Command([](const QStringList& words, QTextStream& errors) {
                                   return osago::runReportCommand(words, errors, {});
                               });
    QTest::newRow("renewals") << "renewals" << period + QStringList{"out.csv"}
                              << Command([](const QStringList& words, QTextStream& errors) {
                                     return osago::runRenewalsCommand(words, errors, QDate(2026, 5, 1));
                                 });
    QTest::newRow("export") << "export" << QStringList{"out.csv"}
                            << Command([](const QStringList& words, QTextStream& errors) {
                                   QString output;
                                   QTextStream out(&output);
                                   return osago::runExportCommand(words, out, errors);
                               });
    QTest::newRow("commission list") << "commission" << QStringList{"list"}
                                     << Command([](const QStringList& words, QTextStream& errors) {
                                            QString output;
                                            QTextStream out(&output);
                                            return osago::runCommissionCommand(words, out, errors);
                                        });
    QTest::newRow("blanks report") << "blanks" << QStringList{"report"} + period + QStringList{"out.csv"}
                                   << Command(&osago::runBlanksCommand);
    QTest::newRow("blanks receive")
        << "blanks"
        << QStringList{"receive", "--kind", "kvit", "--first", "000001", "--last", "000010", "--date", "01.05.2026"}
        << Command(&osago::runBlanksCommand);
}

void CommandRegisterTest::refusesARegisterThatDoesNotOpenInOneLine()
{
    QFETCH(QString, name);
    QFETCH(QStringList, words);
    QFETCH(Command, command);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QVERIFY(QDir::setCurrent(folder.path()));
    const QString notRegister = folder.filePath(QStringLiteral("notes.mdb"));
    QFile file(notRegister);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("not a register at all\n").repeated(400));
    file.close();

    QString said;
    QTextStream errors(&said);
    QCOMPARE(command(words + QStringList{"--database", notRegister}, errors), 1);
    errors.flush();
    QVERIFY2(said.startsWith(QStringLiteral("osago %1: ").arg(name)), qPrintable(said));
    QCOMPARE(said.count(u'\n'), 1);
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("out.csv"))));
}

QTEST_GUILESS_MAIN(CommandRegisterTest)
#include "CommandRegisterTest.moc"
