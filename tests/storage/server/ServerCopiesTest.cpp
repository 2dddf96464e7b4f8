#include "backup/BackupCommand.h"
#include "grid/RegisterModel.h"
#include "storage/PolicyColumns.h"
#include "storage/server/ServerDatabase.h"
#include "storage/sqlite/SqliteBackup.h"
#include "StorageTestSupport.h"
#include "TestRegister.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <optional>

using namespace osago;
using test::ServerAdmin;
using test::TestRegister;

namespace {

constexpr int kRows = 2500;
const QDateTime kNoon(QDate(2026, 12, 10), QTime(12, 0));

using Values = std::vector<std::optional<QByteArray>>;

// Row `n` of the register: every column a text with quotes, a backslash, a line break, a tab; column 5 of every
// seventh row NULL, as another program may leave it.
void appendRow(Utf8Rows& rows, int n)
{
    const QStringList values = test::trickyRow(QStringLiteral("строка %1\r\nвторая\tстрока \\N").arg(n)).values();
    for (int column = 0; column < kPolicyColumnCount; ++column) {
        if (column == 5 && n % 7 == 0) {
            rows.appendNull();
            continue;
        }
        const QByteArray text = values[column].toUtf8();
        rows.append(text.constData(), text.size());
    }
    rows.endRow();
}

// Every value of every row, in row order, NULL kept apart from the empty text.
std::vector<Values> everyValue(const PolicyDatabase& database)
{
    std::vector<qint64> ids;
    database.readAllIds(ids);
    Utf8Rows rows;
    database.readRowsUtf8(ids, rows);
    std::vector<Values> all;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        Values row;
        for (qsizetype column = 0; column < rows.row(i).size(); ++column) {
            row.push_back(rows.row(i).isNull(column) ? std::nullopt
                                                     : std::optional(rows.row(i)[column].toByteArray()));
        }
        all.push_back(std::move(row));
    }
    return all;
}

std::unique_ptr<PolicyDatabase> openedAs(const QString& location)
{
    auto database = makeDatabase(location);
    const StorageStatus opened = database->open(location);
    return opened.ok ? std::move(database) : nullptr;
}

} // namespace

// Copies of a server's register into register files, and their restoring.
class ServerCopiesTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_register = std::make_unique<TestRegister>();
        m_folder = std::make_unique<QTemporaryDir>();
        // A server's copies go beside where the program started.
        QDir::setCurrent(m_folder->path());
        m_database = openedAs(m_register->location());
        QVERIFY(m_database);
        int written = 0;
        const StorageResult<qint64> added = m_database->appendRows(
            [&](Utf8Rows& rows) {
                for (; written < kRows && rows.size() < 1000; ++written)
                    appendRow(rows, written);
                return StorageStatus{};
            },
            true, {});
        QVERIFY2(added.ok && added.value == kRows, qPrintable(added.error));
    }
    void cleanup()
    {
        QDir::setCurrent(QDir::tempPath());
        m_database.reset();
        m_register.reset();
        m_folder.reset();
    }

    // A desk saves while the copy is read: the copy holds the rows as they stood when it began, each value byte
    // for byte, NULL as NULL, and passes the register file's own check.
    void copyIsOneSnapshotWhileAnotherDeskSaves()
    {
        const auto desk = openedAs(m_register->location());
        QVERIFY(desk);
        const std::vector<Values> before = everyValue(*m_database);
        int savedDuringCopy = 0;
        int totalTold = 0;
        const CopyPlace place{m_folder->path(), QStringLiteral("сервер")};
        const StorageResult<QString> copy =
            m_database->backup(place, kNoon, OnDisk::BeforeReport, [&](int done, int total) {
                totalTold = total;
                if (done < total && desk->insert(test::trickyRow(QStringLiteral("во время копии"))).ok)
                    ++savedDuringCopy;
                return true;
            });
        QVERIFY2(copy.ok, qPrintable(copy.error));
        QCOMPARE(totalTold, kRows);
        QVERIFY(savedDuringCopy > 0);
        QCOMPARE(QFileInfo(copy.value).fileName(), QStringLiteral("сервер-2026-12-10-120000.mdb"));
        QCOMPARE(integrityOf(copy.value), QStringLiteral("ok"));

        const auto copied = openedAs(copy.value);
        QVERIFY(copied);
        QVERIFY(everyValue(*copied) == before);
        QCOMPARE(m_database->readTableExtent().value.rows, kRows + savedDuringCopy);
        QCOMPARE(listCopies(place).size(), std::size_t(1));
        QCOMPARE(listCopies(place).front().rows, qint64(kRows));
    }

    // The owner restores a copy: the rows are the copy's, the rows replaced are one more copy, and another desk's
    // next refresh shows the copy's rows.
    void ownerRestoresAndOtherDesksReadTheCopy()
    {
        const CopyPlace place = m_database->copyPlace();
        QCOMPARE(place.folder, QDir::current().absoluteFilePath(QStringLiteral("Архив")));
        const CopyPlace here{m_folder->path(), place.stem};
        const StorageResult<QString> copy = m_database->backup(here, kNoon, OnDisk::BeforeReport);
        QVERIFY2(copy.ok, qPrintable(copy.error));
        const std::vector<Values> copied = everyValue(*m_database);

        const auto desk = openedAs(m_register->location());
        QVERIFY(desk);
        RegisterModel deskGrid(*desk);
        QVERIFY(desk->insert(test::trickyRow(QStringLiteral("после копии"))).ok);
        QVERIFY(deskGrid.refresh().ok);
        QCOMPARE(deskGrid.rowCount(), kRows + 1);
        const std::vector<Values> replaced = everyValue(*m_database);

        QVERIFY(m_database->restoreRefusal().isEmpty());
        const StorageStatus restored = m_database->restore(copy.value, kNoon.addSecs(60));
        QVERIFY2(restored.ok, qPrintable(restored.error));
        const auto keptCopy =
            openedAs(QDir(place.folder).filePath(place.stem + QStringLiteral("-2026-12-10-120100.mdb")));
        QVERIFY(everyValue(*m_database) == copied);
        QVERIFY(keptCopy);
        QVERIFY(everyValue(*keptCopy) == replaced);
        QVERIFY(deskGrid.refresh().ok);
        QCOMPARE(deskGrid.rowCount(), kRows);
        // The kept row count follows the rows the restore wrote.
        QCOMPARE(desk->readTableExtent().value.rows, kRows);
    }

    // `osago backup` and `osago restore` take a server's address as they take a file.
    void commandsCopyAndRestoreAServersRegister()
    {
        QString out;
        QString err;
        QTextStream output(&out);
        QTextStream errors(&err);
        QCOMPARE(runBackupCommand({"--database", m_register->location(), m_folder->path()}, output, errors), 0);
        const QString copy = out.trimmed();
        QVERIFY2(QFileInfo(copy).isFile() && QFileInfo(copy).absolutePath() == m_folder->path(), qPrintable(err));
        QVERIFY(m_database->insert(test::trickyRow(QStringLiteral("после копии"))).ok);
        QCOMPARE(runRestoreCommand({"--database", m_register->location(), copy}, output, errors), 0);
        QCOMPARE(m_database->readTableExtent().value.rows, kRows);
    }

    // Another role may copy the table but not replace it: refused with the reason, nothing changed.
    void restoreRefusedForARoleThatDoesNotOwnTheTable()
    {
        const StorageResult<QString> copy = m_database->backup({m_folder->path(), QStringLiteral("r")}, kNoon,
                                                               OnDisk::BeforeReport);
        QVERIFY(copy.ok);
        const auto admin = m_register->admin();
        const QString role = QStringLiteral("r%1").arg(QUuid::createUuid().toString(QUuid::Id128).left(12));
        admin->exec(QStringLiteral("CREATE ROLE %1 LOGIN").arg(role));
        admin->exec(QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE, TRUNCATE ON \"TableStrah\" TO %1").arg(role));
        admin->exec(QStringLiteral("GRANT SELECT ON ALL TABLES IN SCHEMA public TO %1").arg(role));
        const auto desk = openedAs(m_register->locationAs(role));
        QVERIFY(desk);
        QVERIFY(desk->backupRefusal().isEmpty());
        QVERIFY2(desk->restoreRefusal().contains(role), qPrintable(desk->restoreRefusal()));
        QVERIFY(desk->insert(test::trickyRow(QStringLiteral("ещё одна"))).ok);
        QVERIFY(!desk->restore(copy.value, kNoon).ok);
        QCOMPARE(m_database->readTableExtent().value.rows, kRows + 1);
    }

    // The server reports damaged data: the agent hears the server's way out (no file command), and nothing more is
    // written into that register, even once the server would take it.
    void damagedTableTakesNoWritesAndNamesNoFileCommand()
    {
        const auto admin = m_register->admin();
        admin->exec(QStringLiteral("CREATE FUNCTION damaged() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                                   "RAISE EXCEPTION 'invalid page in block 7' USING ERRCODE = 'data_corrupted'; END $$"));
        admin->exec(QStringLiteral("CREATE TRIGGER damaged BEFORE INSERT ON \"TableStrah\" FOR EACH ROW "
                                   "EXECUTE FUNCTION damaged()"));
        const StorageResult<QString> first = m_database->insert(test::trickyRow(QStringLiteral("первая")));
        QVERIFY(!first.ok);
        QVERIFY(first.damaged);
        QVERIFY(m_database->isDamaged());
        admin->exec(QStringLiteral("DROP TRIGGER damaged ON \"TableStrah\""));

        const StorageResult<QString> second = m_database->insert(test::trickyRow(QStringLiteral("вторая")));
        QVERIFY(!second.ok);
        QVERIFY(second.damaged);
        for (const QString& text : {second.error, m_database->damagedReason()}) {
            QVERIFY2(!text.contains(QStringLiteral("sqlite")) && !text.contains(QStringLiteral(".recover")),
                     qPrintable(text));
            QVERIFY2(text.contains(QStringLiteral("Восстановить из копии")), qPrintable(text));
        }
        QCOMPARE(admin->scalar(QStringLiteral("SELECT count(*) FROM \"TableStrah\"")), QString::number(kRows));
    }

private:
    std::unique_ptr<TestRegister> m_register;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<PolicyDatabase> m_database;
};

QTEST_GUILESS_MAIN(ServerCopiesTest)
#include "ServerCopiesTest.moc"
