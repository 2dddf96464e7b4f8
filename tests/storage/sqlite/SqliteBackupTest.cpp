#include "backup/BackupCommand.h"
#include "storage/sqlite/SqliteDatabase.h"
#include "storage/sqlite/SqliteBackup.h"
#include "StorageTestSupport.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace osago;
using namespace osago::test;

Q_DECLARE_METATYPE(osago::OnDisk)

class SqliteBackupTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        m_path = m_folder->filePath(QStringLiteral("Baza.mdb"));
        SqliteDatabase database;
        QVERIFY(database.open(m_path).ok);
        for (int n = 0; n < 300; ++n)
            QVERIFY(database.insert(trickyRow(QString::number(n))).ok);
    }
    void cleanup() { m_folder.reset(); }

    // Another program keeps inserting rows while the copy is made: the copy is one whole state of the register.
    void copyTakenWhileAnotherProgramWritesIsWhole()
    {
        QProcess writer;
        writer.start(QStringLiteral(REGISTER_WRITER), {m_path});
        QVERIFY(writer.waitForStarted());
        QVERIFY(writer.waitForReadyRead(10000));
        int progressCalls = 0;
        const auto copy = backupRegister(m_path, copyPlaceOf(m_path), QDateTime(QDate(2026, 3, 5), QTime(9, 8, 7)),
                                         [&](int, int) { return ++progressCalls > 0; });
        writer.kill();
        writer.waitForFinished();
        QVERIFY2(copy.ok, qPrintable(copy.error));
        QCOMPARE(QFileInfo(copy.value).fileName(), QStringLiteral("Baza-2026-03-05-090807.mdb"));
        QCOMPARE(QFileInfo(copy.value).dir().dirName(), QStringLiteral("Архив"));
        QCOMPARE(integrityOf(copy.value), QStringLiteral("ok"));
        QVERIFY(progressCalls > 0);
        RawConnection copied(copy.value);
        QVERIFY(copied.rowCount() >= 300);
        QCOMPARE(copied.scalar(QStringLiteral("SELECT count(DISTINCT Мантисса_кода) FROM TableStrah")).toLongLong(),
                 copied.rowCount());
        QVERIFY(hasCopyOfDay(copyPlaceOf(m_path), QDateTime(QDate(2026, 3, 5), QTime(23, 0))));
        QVERIFY(!hasCopyOfDay(copyPlaceOf(m_path), QDateTime(QDate(2026, 3, 6), QTime(0, 0))));
    }

    // Written in large blocks, whether handed to the disk as written or after, the copy still holds the register's
    // pages byte for byte; only the header's counters and journal mode (its first 100 bytes) are the copy's own.
    void copyHoldsTheRegisterPagesAsTheyAre_data()
    {
        QTest::addColumn<OnDisk>("onDisk");
        QTest::newRow("on the disk before it is reported") << OnDisk::BeforeReport;
        QTest::newRow("written out after") << OnDisk::AfterReport;
    }
    void copyHoldsTheRegisterPagesAsTheyAre()
    {
        QFETCH(OnDisk, onDisk);
        QVERIFY(!QFileInfo::exists(m_path + QStringLiteral("-wal")));
        const auto copy =
            backupRegister(m_path, copyPlaceOf(m_path), QDateTime(QDate(2026, 3, 5), QTime(9, 0)), {}, onDisk);
        QVERIFY2(copy.ok, qPrintable(copy.error));
        const QByteArray source = fileBytes(m_path);
        const QByteArray copied = fileBytes(copy.value);
        QCOMPARE(copied.size(), source.size());
        QVERIFY(copied.mid(100) == source.mid(100));
        QCOMPARE(copied.at(18), '\x01');
        QVERIFY(keepOnDisk(copy.value).ok);
        QVERIFY(QFileInfo::exists(copy.value));
    }

    // A copy that cannot be written out is not left to be taken for a good one.
    void copyNotWrittenOutIsRefused()
    {
        const StorageStatus kept = keepOnDisk(m_folder->filePath(QStringLiteral("Архив/Baza-2026-03-05-090000.mdb")));
        QVERIFY(!kept.ok);
        QCOMPARE(kept.error, QStringLiteral("Резервная копия не сделана: копию не удалось записать на диск."));
    }

    void restoreReplacesTheRegisterAndKeepsTheReplacedOne()
    {
        const auto copy = backupRegister(m_path, copyPlaceOf(m_path), QDateTime(QDate(2026, 3, 5), QTime(9, 0)));
        QVERIFY(copy.ok);
        {
            SqliteDatabase database;
            QVERIFY(database.open(m_path).ok);
            QVERIFY(database.insert(trickyRow(QStringLiteral("после копии"))).ok);
        }
        QVERIFY(restoreRegister(m_path, copy.value, QDateTime(QDate(2026, 3, 6), QTime(10, 0))).ok);
        QCOMPARE(RawConnection(m_path).rowCount(), 300);
        const QString kept = copyPlaceOf(m_path).folder + QStringLiteral("/Baza-2026-03-06-100000.mdb");
        QCOMPARE(RawConnection(kept).rowCount(), 301);

        // Refused while another connection writes.
        RawConnection other(m_path);
        QVERIFY(other.exec(QStringLiteral("BEGIN IMMEDIATE")));
        const StorageStatus busy = restoreRegister(m_path, copy.value, QDateTime(QDate(2026, 3, 7), QTime(10, 0)));
        QVERIFY(!busy.ok);
        QVERIFY(busy.error.contains(QStringLiteral("занят другой программой")));
        other.exec(QStringLiteral("ROLLBACK"));
    }

    // A register in WAL mode is checked while it is copied, one with a rollback journal after: both refused.
    void damagedFilesAreNeitherCopiedNorRestored_data()
    {
        QTest::addColumn<QString>("journalMode");
        QTest::newRow("wal") << QStringLiteral("WAL");
        QTest::newRow("rollback journal") << QStringLiteral("DELETE");
    }
    void damagedFilesAreNeitherCopiedNorRestored()
    {
        QFETCH(QString, journalMode);
        const QString damaged = m_folder->filePath(QStringLiteral("damaged.mdb"));
        QByteArray bytes = fileBytes(m_path);
        QVERIFY(QFile::copy(m_path, damaged));
        QVERIFY(RawConnection(damaged).exec(QStringLiteral("PRAGMA journal_mode=") + journalMode));
        QFile file(damaged);
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.seek(bytes.size() / 2);
        file.write(QByteArray(8192, '\x5a'));
        file.close();
        const auto copy = backupRegister(damaged, {m_folder->filePath(QStringLiteral("out")), QStringLiteral("damaged")}, QDateTime::currentDateTime());
        QVERIFY(!copy.ok);
        QVERIFY2(copy.error.contains(QStringLiteral("повреждён")), qPrintable(copy.error));
        QVERIFY(copy.damaged);
        QVERIFY(QDir(m_folder->filePath(QStringLiteral("out"))).isEmpty());
        const StorageStatus restored = restoreRegister(m_path, damaged, QDateTime::currentDateTime());
        QVERIFY(!restored.ok);
        QCOMPARE(RawConnection(m_path).rowCount(), 300);
    }

    void pruningKeepsTheNewest()
    {
        const QString folder = copyPlaceOf(m_path).folder;
        for (int day = 1; day <= 5; ++day)
            QVERIFY(backupRegister(m_path, copyPlaceOf(m_path), QDateTime(QDate(2026, 3, day), QTime(8, 0))).ok);
        pruneCopies(copyPlaceOf(m_path), 2);
        QCOMPARE(QDir(folder).entryList(QDir::Files),
                 (QStringList{"Baza-2026-03-04-080000.mdb", "Baza-2026-03-05-080000.mdb"}));
    }

    void commands()
    {
        QString out;
        QString err;
        QTextStream output(&out);
        QTextStream errors(&err);
        const QString folder = m_folder->filePath(QStringLiteral("copies"));
        QCOMPARE(runBackupCommand({"--database", m_path, folder}, output, errors), 0);
        const QString copy = out.trimmed();
        QVERIFY(copy.startsWith(folder + QStringLiteral("/Baza-")));
        QCOMPARE(runRestoreCommand({"--database", m_path, copy}, output, errors), 0);
        QCOMPARE(runBackupCommand({"--database", m_path, "a", "b"}, output, errors), 2);
        QCOMPARE(runRestoreCommand({"--database", m_path}, output, errors), 2);
        QCOMPARE(runRestoreCommand({"--database", m_path, m_folder->filePath("none.mdb")}, output, errors), 1);
        QCOMPARE(runBackupCommand({"--database", m_folder->filePath("none.mdb")}, output, errors), 1);

        // A server's register is copied too: a server nobody answers on fails both commands with the reason.
        err.clear();
        QCOMPARE(runBackupCommand({"--database", "postgresql://127.0.0.1:1/osago"}, output, errors), 1);
        QCOMPARE(runRestoreCommand({"--database", "Postgres://127.0.0.1:1/osago", copy}, output, errors), 1);
        QCOMPARE(err.count(QStringLiteral("osago ")), 2);
        QVERIFY2(err.contains(QStringLiteral("127.0.0.1")), qPrintable(err));
    }

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_path;
};

QTEST_GUILESS_MAIN(SqliteBackupTest)
#include "SqliteBackupTest.moc"
