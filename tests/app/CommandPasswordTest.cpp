#include "backup/BackupCommand.h"
#include "export/ExportCommand.h"
#include "report/ReportCommand.h"
#include "transfer/CopyRegisterCommand.h"
#include "TestRegister.h"

#include <QTemporaryDir>
#include <QTextStream>

using namespace osago;
using namespace osago::test;

namespace {

const QString kSecret = QStringLiteral("Sekret-9753");

enum class Command { Export, Report, Backup, CopyRegister };

struct Run
{
    int status = -1;
    QString output;
    QString errors;
};

// The command's words with `from` (and `to`, for a copy) as the registers, its files in `folder`.
Run runCommand(Command command, const QString& from, const QString& to, const QTemporaryDir& folder)
{
    Run run;
    QTextStream output(&run.output);
    QTextStream errors(&run.errors);
    const auto none = [](const QString&) { return std::optional<QString>(); };
    switch (command) {
    case Command::Export:
        run.status = runExportCommand({"--database", from, folder.filePath(QStringLiteral("rows.csv"))}, output, errors);
        break;
    case Command::Report:
        run.status = runReportCommand({"--database", from, "--from", "01.01.2024", "--to", "31.12.2024",
                                       folder.filePath(QStringLiteral("report.csv"))},
                                      errors, {});
        break;
    case Command::Backup:
        run.status = runBackupCommand({"--database", from, folder.path()}, output, errors, none);
        break;
    case Command::CopyRegister:
        run.status = runCopyRegisterCommand({from, to}, output, errors, none);
        break;
    }
    output.flush();
    errors.flush();
    return run;
}

} // namespace

// The commands without a window on a server register whose address holds the password: the password serves,
// the agent hears once that ~/.pgpass keeps it safer, and the password itself is in nothing the command prints.
class CommandPasswordTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(onTestServer(), "runs on the test server only"); }

    void aPasswordInTheAddressServesAndIsNeverPrinted_data()
    {
        QTest::addColumn<Command>("command");
        QTest::newRow("export") << Command::Export;
        QTest::newRow("report") << Command::Report;
        QTest::newRow("backup") << Command::Backup;
        // Both registers give the note: it is still said once.
        QTest::newRow("copy-register") << Command::CopyRegister;
    }

    void aPasswordInTheAddressServesAndIsNeverPrinted()
    {
        QFETCH(Command, command);
        TestRegister from;
        TestRegister to;
        const QString role = passwordedRole({&from, &to}, kSecret);
        const QString source = from.locationAs(role, kSecret);
        QVERIFY(makeDatabase(source)->open(source).ok);
        QTemporaryDir folder;
        const Run run = runCommand(command, source, to.locationAs(role, kSecret), folder);
        QVERIFY2(run.status == 0, qPrintable(run.errors));
        QCOMPARE(run.errors.count(QStringLiteral("~/.pgpass")), 1);
        QVERIFY2(run.errors.contains(QStringLiteral("Пароль записан в адресе реестра")), qPrintable(run.errors));
        for (const QString& text : {run.output, run.errors})
            QVERIFY2(!text.contains(kSecret), qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(CommandPasswordTest)
#include "CommandPasswordTest.moc"
