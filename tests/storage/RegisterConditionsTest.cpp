#include "grid/RegisterModel.h"
#include "storage/sqlite/SqliteDatabase.h"
#include "StorageTestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>


using namespace osago;
using osago::test::RawConnection;

namespace {

const char* const kMountedFolder = "OSAGO_TEST_READ_ONLY_MOUNT";

} // namespace

// The register as other programs and the system leave it: rows without a code of their own, rows changed behind
// the grid's back, files and folders this program may not write, damaged pages.
class RegisterConditionsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    std::unique_ptr<test::TestRegister> m_register;

    QString path() const { return m_dir->filePath(QStringLiteral("Baza.mdb")); }

    bool makeRegister(int rows)
    {
        SqliteDatabase database;
        if (!database.open(path()).ok)
            return false;
        for (int n = 0; n < rows; ++n) {
            if (!database.insert(test::trickyRow(QString::number(n))).ok)
                return false;
        }
        return true;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_register = std::make_unique<test::TestRegister>();
    }

    void cleanup() { m_register.reset(); }

    void commandsActOnTheRowOfTheirKeyWhateverItsCode_data()
    {
        QTest::addColumn<QString>("code");
        QTest::newRow("no code") << QString("");
        QTest::newRow("the same code in every row") << QString("копия");
    }
    void commandsActOnTheRowOfTheirKeyWhateverItsCode()
    {
        QFETCH(QString, code);
        const auto engine = m_register->makeDatabase();
        PolicyDatabase& database = *engine;
        QVERIFY(database.open(m_register->location()).ok);
        test::insertForeignRows(*m_register, {code, code, code});
        RegisterModel model(database);
        QVERIFY(model.refresh().ok);

        const RowKey middle = *model.keyAt(1);
        const StorageResult<PolicyRow> stored = database.load(middle);
        QVERIFY(stored.ok);
        QCOMPARE(stored.value.value(0), QStringLiteral("Чужая 2"));
        QCOMPARE(*model.rowAt(1), stored.value);

        PolicyRow changed = stored.value;
        changed.setValue(0, QStringLiteral("Исправлена"));
        changed.setValue(rowCodeColumnIndex(), QStringLiteral("не писать"));
        const StorageStatus updated = database.update(middle, stored.value, changed);
        QVERIFY2(updated.ok, qPrintable(updated.error));
        QCOMPARE(test::surnames(*m_register), (QStringList{"Чужая 1", "Исправлена", "Чужая 3"}));
        // The code of a row this program did not add is never written.
        QCOMPARE(database.load(middle).value.code(), code);

        QVERIFY(database.remove(middle, database.load(middle).value).ok);
        QCOMPARE(test::surnames(*m_register), (QStringList{"Чужая 1", "Чужая 3"}));
    }

    void aRowChangedOrDeletedElsewhereIsLeftAsTheOtherProgramLeftIt_data()
    {
        QTest::addColumn<QString>("otherProgram");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("changed") << "UPDATE \"TableStrah\" SET \"Страхователь_фамилия_фирма\" = 'Чужая правка' WHERE %1 = 2"
                                 << QStringList{"Чужая 1", "Чужая правка", "Чужая 3"};
        QTest::newRow("deleted") << "DELETE FROM \"TableStrah\" WHERE %1 = 2" << QStringList{"Чужая 1", "Чужая 3"};
    }
    void aRowChangedOrDeletedElsewhereIsLeftAsTheOtherProgramLeftIt()
    {
        QFETCH(QString, otherProgram);
        QFETCH(QStringList, after);
        const auto engine = m_register->makeDatabase();
        PolicyDatabase& database = *engine;
        QVERIFY(database.open(m_register->location()).ok);
        test::insertForeignRows(*m_register, {"", "", ""});
        const RowKey key(2);
        const PolicyRow asRead = database.load(key).value;
        test::RawRegister raw(*m_register);
        QVERIFY(raw.exec(otherProgram.arg(raw.key())));

        PolicyRow mine = asRead;
        mine.setValue(0, QStringLiteral("Моя правка"));
        for (const StorageStatus& status : {database.update(key, asRead, mine), database.remove(key, asRead)}) {
            QVERIFY(!status.ok);
            QVERIFY(status.rowChanged);
            QVERIFY2(status.error.startsWith(QStringLiteral("Запись изменена или удалена другой программой")),
                     qPrintable(status.error));
        }
        QCOMPARE(test::surnames(*m_register), after);
    }

    void registerTheProgramMayNotWriteIsOpenForReading_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("reason");
        QTest::newRow("file not writable") << "file" << "файл реестра защищён от записи";
        QTest::newRow("folder not writable") << "folder" << "в папку реестра нельзя записывать";
        QTest::newRow("side files of another user") << "side files" << "принадлежит другому пользователю";
    }
    void registerTheProgramMayNotWriteIsOpenForReading()
    {
        OSAGO_FILE_REGISTER_ONLY();
        QFETCH(QString, setup);
        QFETCH(QString, reason);
        const QString folder = m_dir->filePath(QStringLiteral("folder"));
        QVERIFY(QDir().mkdir(folder));
        const QString file = folder + QStringLiteral("/Baza.mdb");
        {
            SqliteDatabase maker;
            QVERIFY(maker.open(file).ok);
            QVERIFY(maker.insert(test::trickyRow(QStringLiteral("1"))).ok);
            QVERIFY(maker.insert(test::trickyRow(QStringLiteral("2"))).ok);
        }
        // The other user keeps the register open, so its side files stay.
        std::unique_ptr<RawConnection> otherUser;
        if (setup == u"side files") {
            if (::geteuid() != 0)
                QSKIP("only the superuser can leave files of another user here");
            otherUser = std::make_unique<RawConnection>(file);
            QVERIFY(otherUser->rowCount() == 2);
        }
        const auto all = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther | QFile::ExeOwner | QFile::ExeGroup
                         | QFile::ExeOther;
        const auto writableByAll = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
        QVERIFY(QFile::setPermissions(m_dir->path(), all | QFile::WriteOwner));
        QVERIFY(QFile::setPermissions(folder, setup == u"folder" ? all : all | writableByAll));
        QVERIFY(QFile::setPermissions(file, (all & ~(QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther))
                                                | (setup == u"file" ? QFile::Permissions() : writableByAll)));
        const QByteArray before = test::fileBytes(file);

        {
            const test::AsUnprivilegedUser unprivileged;
            SqliteDatabase database;
            const StorageStatus opened = database.open(file);
            QVERIFY2(opened.ok, qPrintable(opened.error));
            QVERIFY(database.isReadOnly());
            QVERIFY2(database.readOnlyReason().contains(reason), qPrintable(database.readOnlyReason()));
            RegisterModel model(database);
            QVERIFY(model.refresh().ok);
            QCOMPARE(model.rowCount(), 2);
            QVERIFY(model.data(model.index(1, 0)).toString().startsWith(u"2 Ёжик"));
            const StorageResult<QString> saved = database.insert(test::trickyRow(QStringLiteral("3")));
            QVERIFY(!saved.ok);
            QVERIFY2(saved.error.contains(u"только для чтения") && saved.error.contains(reason),
                     qPrintable(saved.error));
        }
        QCOMPARE(test::fileBytes(file), before);
    }

    // Run twice: outside, it mounts the folder read-only in a mount namespace of its own and runs itself in it.
    void registerOnAReadOnlyMountIsOpenForReading()
    {
        OSAGO_FILE_REGISTER_ONLY();
        const QByteArray mounted = qgetenv(kMountedFolder);
        if (!mounted.isEmpty()) {
            SqliteDatabase database;
            const StorageStatus opened = database.open(QString::fromLocal8Bit(mounted) + QStringLiteral("/Baza.mdb"));
            QVERIFY2(opened.ok, qPrintable(opened.error));
            QVERIFY2(database.readOnlyReason().contains(u"доступном только для чтения"),
                     qPrintable(database.readOnlyReason()));
            RegisterModel model(database);
            QVERIFY(model.refresh().ok);
            QCOMPARE(model.rowCount(), 2);
            QVERIFY(!database.insert(PolicyRow()).ok);
            return;
        }
        QVERIFY(makeRegister(2));
        QProcess probe;
        probe.start(QStringLiteral("unshare"), {"-m", "sh", "-c", "mount --bind \"$0\" \"$0\" && mount -o remount,ro,bind \"$0\" \"$0\"", m_dir->path()});
        if (!probe.waitForFinished() || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
            QSKIP("no read-only bind mount can be made here (needs unshare and mount rights)");
        QProcess inner;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(kMountedFolder), m_dir->path());
        inner.setProcessEnvironment(environment);
        inner.start(QStringLiteral("unshare"),
                    {"-m", "sh", "-c", "mount --bind \"$0\" \"$0\" && mount -o remount,ro,bind \"$0\" \"$0\" && exec \"$1\" "
                     "registerOnAReadOnlyMountIsOpenForReading",
                     m_dir->path(), QCoreApplication::applicationFilePath()});
        QVERIFY(inner.waitForFinished(120000));
        QVERIFY2(inner.exitCode() == 0, inner.readAllStandardOutput().constData());
    }

    // Garbage over a page of a row, past the pages of the table's definition: that row is unreadable, every
    // other row is shown, the failure is reported once, and nothing is written into the file any more.
    void damagedPageIsReportedOnceAndTheFileIsNeverWritten()
    {
        OSAGO_FILE_REGISTER_ONLY();
        QVERIFY(makeRegister(60));
        const QByteArray intact = test::fileBytes(path());
        // A page holding the rest of a row in the middle of the register (rows of 10 KB overflow their leaf).
        const qint64 page = RawConnection(path())
                                .scalar(QStringLiteral("SELECT pageno FROM dbstat WHERE name = 'TableStrah' AND "
                                                       "pagetype = 'overflow' ORDER BY pageno LIMIT 1 OFFSET 40"))
                                .toLongLong();
        QVERIFY(page > 2);
        QFile file(path());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(4096 * (page - 1)));
        QVERIFY(file.write(QByteArray(4096, '\x5a')) == 4096);
        file.close();
        const QByteArray damaged = test::fileBytes(path());

        SqliteDatabase database;
        QVERIFY(database.open(path()).ok);
        RegisterModel model(database);
        QSignalSpy failures(&model, &RegisterModel::readFailed);
        QVERIFY(model.refresh().ok);
        QCOMPARE(model.rowCount(), 60);
        int unreadable = 0;
        int read = 0;
        for (int row = 0; row < model.rowCount(); ++row) {
            const QString first = model.data(model.index(row, 0)).toString();
            if (first == RegisterModel::unreadableText())
                ++unreadable;
            else if (first.startsWith(QStringLiteral("%1 Ёжик").arg(row)))
                ++read;
        }
        QCOMPARE(unreadable, 1);
        QCOMPARE(read + unreadable, 60);
        QCOMPARE(failures.size(), 1);
        QVERIFY(database.isDamaged());

        const RowKey readable = *model.keyAt(0);
        for (const StorageStatus& status : {StorageStatus(database.insert(test::trickyRow(QStringLiteral("x")))),
                                            database.remove(readable, database.load(readable).value)}) {
            QVERIFY(!status.ok);
            QVERIFY2(status.error.contains(u"повреждён") && status.error.contains(u".recover")
                         && status.error.contains(u"Baza.mdb"),
                     qPrintable(status.error));
        }
        database.close();
        QCOMPARE(test::fileBytes(path()), damaged);
        QVERIFY(damaged != intact);
    }
};

QTEST_GUILESS_MAIN(RegisterConditionsTest)
#include "RegisterConditionsTest.moc"
