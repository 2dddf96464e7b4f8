#include "storage/sqlite/SqliteNetworkShare.h"
#include "storage/sqlite/SqliteDatabase.h"
#include "StorageTestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace osago;
using namespace osago::test;

// Which filesystems count as network shares, for the register file's journal and the start-up warning.
class SqliteNetworkShareTest : public QObject
{
    Q_OBJECT

private slots:
    void namesNetworkFileSystemsOnly_data()
    {
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QString>("mountType");
        QTest::addColumn<QString>("name");
        QTest::newRow("cifs") << quint32(0xFF534D42) << QString() << "CIFS";
        QTest::newRow("smb2") << quint32(0xFE534D42) << QString() << "SMB2";
        QTest::newRow("smb") << quint32(0x517B) << QString() << "SMB";
        QTest::newRow("nfs") << quint32(0x6969) << QString() << "NFS";
        QTest::newRow("sshfs") << quint32(0x65735546) << "fuse.sshfs" << "fuse.sshfs";
        QTest::newRow("another fuse filesystem") << quint32(0x65735546) << "fuse.portal" << QString();
        QTest::newRow("ext4") << quint32(0xEF53) << QString() << QString();
        QTest::newRow("tmpfs") << quint32(0x01021994) << QString() << QString();
        QTest::newRow("overlay") << quint32(0x794C7630) << QString() << QString();
    }

    void namesNetworkFileSystemsOnly()
    {
        QFETCH(quint32, type);
        QFETCH(QString, mountType);
        QFETCH(QString, name);
        QCOMPARE(networkFileSystemName(type, mountType), name);
    }

    // This machine's temporary folder is on a disk of its own; a folder that is not there cannot be told.
    void readsTheFolderOnThisComputer()
    {
        QCOMPARE(networkFileSystemOf(QDir::tempPath()), QString());
        QCOMPARE(networkFileSystemOf(QStringLiteral("/no/such/folder")), QString());
    }

    // A register made on this computer and carried to a share gives up the write-ahead log there, and takes it
    // again once back; the warning comes only with the share.
    void aRegisterOnAShareKeepsTheRollbackJournal()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Baza.mdb"));
        const auto journalMode = [&path] {
            return RawConnection(path).scalar(QStringLiteral("PRAGMA journal_mode")).toString();
        };
        SqliteDatabase database;
        QVERIFY(database.open(path).ok);
        QCOMPARE(journalMode(), QStringLiteral("wal"));
        QVERIFY(database.openWarning().isEmpty());
        QVERIFY(database.insert(trickyRow(QStringLiteral("до"))).ok);
        database.close();

        QStringList probed;
        setNetworkFileSystemProbe([&probed](const QString& folder) {
            probed << folder;
            return QStringLiteral("NFS");
        });
        const StorageStatus opened = database.open(path);
        setNetworkFileSystemProbe({});
        QVERIFY(opened.ok);
        QCOMPARE(probed, QStringList{folder.path()});
        QCOMPARE(database.openWarning(), networkShareWarning(path, QStringLiteral("NFS")));
        QCOMPARE(journalMode(), QStringLiteral("delete"));
        QVERIFY(!QFile::exists(path + QStringLiteral("-wal")));
        QVERIFY(database.insert(trickyRow(QStringLiteral("на общей папке"))).ok);
        QCOMPARE(database.readTableExtent().value.rows, 2);

        QVERIFY(database.open(path).ok);
        QCOMPARE(journalMode(), QStringLiteral("wal"));
        QVERIFY(database.openWarning().isEmpty());
    }
};

QTEST_GUILESS_MAIN(SqliteNetworkShareTest)
#include "SqliteNetworkShareTest.moc"
