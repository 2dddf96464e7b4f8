#include "storage/sqlite/SqliteDatabase.h"
#include "TestRegister.h"
#include "StorageTestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <unistd.h>

using namespace osago;
using osago::test::RawConnection;

namespace {

using namespace std::chrono_literals;

QString columnDefinitions(const QStringList& names)
{
    QStringList definitions;
    for (const QString& name : names)
        definitions << u'"' + name + QStringLiteral("\" TEXT");
    return definitions.join(QStringLiteral(", "));
}

QStringList registerNames()
{
    return policyColumnNames();
}

QStringList tableColumns(const RawConnection& raw)
{
    QSqlQuery query(raw.db());
    query.exec(QStringLiteral("PRAGMA table_info(TableStrah)"));
    QStringList names;
    while (query.next())
        names << query.value(1).toString();
    return names;
}

PolicyRow withoutCode(PolicyRow row)
{
    row.setValue(rowCodeColumnIndex(), QString());
    return row;
}

} // namespace

class PolicyDatabaseTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestRegister> m_register;

    QString path() const { return m_register->location(); }

    QStringList folderFiles() const { return QDir(m_register->folder()).entryList(QDir::Files, QDir::Name); }

    // Makes a register of `rows` rows and closes it again; their codes go to `codes`.
    bool makeRegister(int rows, QStringList* codes = nullptr)
    {
        const auto engine = m_register->makeDatabase();
        PolicyDatabase& database = *engine;
        if (!database.open(path()).ok)
            return false;
        for (int n = 0; n < rows; ++n) {
            const auto saved = database.insert(test::trickyRow(QString::number(n)));
            if (!saved.ok)
                return false;
            if (codes)
                *codes << saved.value;
        }
        return true;
    }

private slots:
    void init()
    {
        m_register = std::make_unique<test::TestRegister>();
    }

    void cleanup()
    {
        QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
        m_register.reset();
    }

    void firstStartCreatesTheRegister()
    {
        OSAGO_FILE_REGISTER_ONLY();
        QVERIFY(!QFile::exists(path()));
        SqliteDatabase database;
        const StorageStatus opened = database.open(path());
        QVERIFY2(opened.ok, qPrintable(opened.error));
        QVERIFY(database.isOpen());
        QVERIFY(QFile::exists(path()));

        RawConnection raw(path());
        QCOMPARE(tableColumns(raw), registerNames());
        QCOMPARE(raw.rowCount(), 0);
        QCOMPARE(raw.scalar(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
    }

    void emptyFileBecomesARegister()
    {
        OSAGO_FILE_REGISTER_ONLY();
        QFile empty(path());
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        SqliteDatabase database;
        QVERIFY(database.open(path()).ok);
        RawConnection raw(path());
        QCOMPARE(tableColumns(raw), registerNames());
    }

    // A register another program made with the same table: accepted, its unset columns read as empty texts,
    // and it gets the journal this program works with and the indexes of the code and the order of its rows (the
    // issue index waits for the first report).
    void registerMadeElsewhereIsAcceptedAndPrepared()
    {
        OSAGO_FILE_REGISTER_ONLY();
        {
            RawConnection raw(path());
            QVERIFY(raw.exec(QStringLiteral("CREATE TABLE TableStrah (%1)").arg(columnDefinitions(registerNames()))));
            QVERIFY(raw.exec(QStringLiteral(
                "INSERT INTO TableStrah (\"Страхователь_фамилия_фирма\", \"Мантисса_кода\") VALUES ('Чужой', 'k1')")));
        }
        SqliteDatabase database;
        QVERIFY(database.open(path()).ok);
        const auto loaded = database.load(QStringLiteral("k1"));
        QVERIFY2(loaded.ok, qPrintable(loaded.error));
        QCOMPARE(loaded.value.value(0), QStringLiteral("Чужой"));
        QVERIFY(loaded.value.value(1).isEmpty());

        RawConnection raw(path());
        QCOMPARE(raw.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND tbl_name = "
                                           "'TableStrah'")).toInt(), 2);
        // The blanks' journal is added to a register made without it.
        QCOMPARE(raw.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN "
                                           "('Blanks', 'BlankReceipts')")).toInt(), 2);
        QCOMPARE(raw.scalar(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
    }

    // The rows of a period, found through the issue index or, in a register opened read-only without it, by
    // reading the table: those issued in it, and every row whose issue date is no date or one the calendar
    // lacks, wherever its digits would sort; no other row.
    void issuedInGivesThePeriodAndEveryUnreadableDate()
    {
        OSAGO_FILE_REGISTER_ONLY();
        const QStringList dates{"15.03.2026", "01.03.2026", "31.03.2026", "28.02.2026", "01.04.2026", "31.02.2026",
                                "00.03.2026", "15.13.2026", "1.03.2026",  " 15.03.2026", "29.02.2024", "15.03.0000",
                                "",           "15/03/2026", "15.03.20266", "31.04.2026", "29.02.2026"};
        const int issued = policyColumnIndex(u"Дата_выдачи");
        const IssuePeriod march{QDate(2026, 3, 1), QDate(2026, 3, 31)};
        QStringList expected;
        {
            SqliteDatabase database;
            QVERIFY(database.open(path()).ok);
            for (const QString& date : dates) {
                PolicyRow row = test::trickyRow(date);
                row.setValue(issued, date);
                QVERIFY(database.insert(row).ok);
                const std::optional<QDate> day = registerDate(date);
                if (!day || march.contains(*day))
                    expected << date;
            }
            QCOMPARE(expected.size(), 14);
        }
        const int columns[] = {issued};
        for (const bool indexed : {true, false}) {
            if (!indexed)
                QVERIFY(RawConnection(path()).exec(QStringLiteral("DROP INDEX TableStrah_issued")));
            SqliteDatabase database;
            QVERIFY(database.open(path(), indexed ? PolicyDatabase::Access::ReadWrite : PolicyDatabase::Access::ReadOnly).ok);
            std::vector<QStringList> rows;
            QVERIFY(database.readIssuedIn(march, columns, rows).ok);
            QStringList found;
            for (const QStringList& row : rows)
                found << row.value(0);
            QCOMPARE(found, expected);
        }
        // Opening for writing leaves the index to the first report, which builds it with its progress.
        SqliteDatabase database;
        QVERIFY(database.open(path()).ok);
        QVERIFY(!database.hasIssueDayIndex());
        QVERIFY(database.buildIssueDayIndex([](int percent) { QVERIFY(percent >= 0 && percent <= 99); }).ok);
        QVERIFY(database.hasIssueDayIndex());
    }

    void openInAMissingFolderFails()
    {
        OSAGO_FILE_REGISTER_ONLY();
        SqliteDatabase database;
        const StorageStatus opened = database.open(QDir(m_register->folder()).filePath(QStringLiteral("нет/Baza.mdb")));
        QVERIFY(!opened.ok);
        QVERIFY2(opened.error.contains(u"не удаётся открыть"), qPrintable(opened.error));
        QVERIFY(!database.isOpen());
    }

    void reopeningKeepsRows()
    {
        QStringList codes;
        QVERIFY(makeRegister(3, &codes));
        const auto databaseEngine = m_register->makeDatabase();
        PolicyDatabase& database = *databaseEngine;
        QVERIFY(database.open(path()).ok);
        for (int n = 0; n < 3; ++n) {
            const auto loaded = database.load(codes[n]);
            QVERIFY2(loaded.ok, qPrintable(loaded.error));
            QCOMPARE(withoutCode(loaded.value), withoutCode(test::trickyRow(QString::number(n))));
        }
    }

    void roundTripKeepsEveryColumn()
    {
        const auto databaseEngine = m_register->makeDatabase();
        PolicyDatabase& database = *databaseEngine;
        QVERIFY(database.open(path()).ok);
        const PolicyRow row = test::trickyRow(QStringLiteral("Щука"));
        const auto saved = database.insert(row);
        QVERIFY2(saved.ok, qPrintable(saved.error));
        QVERIFY(QRegularExpression(QStringLiteral("^[0-9a-f]{32}$")).match(saved.value).hasMatch());

        const auto loaded = database.load(saved.value);
        QVERIFY2(loaded.ok, qPrintable(loaded.error));
        for (int column = 0; column < kPolicyColumnCount; ++column) {
            const QString expected = column == rowCodeColumnIndex() ? saved.value : row.value(column);
            QCOMPARE(loaded.value.value(column), expected);
        }

        // Saved again unchanged, the row stays identical in all columns.
        QVERIFY(test::updateByCode(database, saved.value, loaded.value).ok);
        QCOMPARE(database.load(saved.value).value, loaded.value);
    }

    void emptyValuesAreStoredAsEmptyText()
    {
        const auto databaseEngine = m_register->makeDatabase();
        PolicyDatabase& database = *databaseEngine;
        QVERIFY(database.open(path()).ok);
        QVERIFY(database.insert(PolicyRow()).ok);
        test::RawRegister raw(*m_register);
        QCOMPARE(raw.scalar(QStringLiteral("SELECT count(*) FROM \"TableStrah\" WHERE \"VIN\" IS NULL")).toInt(), 0);
        QCOMPARE(raw.scalar(QStringLiteral("SELECT count(*) FROM \"TableStrah\" WHERE \"VIN\" = ''")).toInt(), 1);
    }

    void eachInsertGetsItsOwnCode()
    {
        const auto databaseEngine = m_register->makeDatabase();
        PolicyDatabase& database = *databaseEngine;
        QVERIFY(database.open(path()).ok);
        PolicyRow row = test::trickyRow(QStringLiteral("копия"));
        row.setValue(rowCodeColumnIndex(), QStringLiteral("чужой код"));
        const QString first = database.insert(row).value;
        const QString second = database.insert(row).value;
        QVERIFY(!first.isEmpty());
        QVERIFY(first != second);
        QVERIFY(!database.load(QStringLiteral("чужой код")).ok);
        QCOMPARE(database.load(second).value.code(), second);
    }

    void updateChangesExactlyTheOneRow()
    {
        QStringList codes;
        QVERIFY(makeRegister(3, &codes));
        const auto databaseEngine = m_register->makeDatabase();
        PolicyDatabase& database = *databaseEngine;
        QVERIFY(database.open(path()).ok);
        PolicyRow changed = test::trickyRow(QStringLiteral("изменено"));
        changed.setValue(rowCodeColumnIndex(), QStringLiteral("не тот код"));
        const StorageStatus updated = test::updateByCode(database, codes[1], changed);
        QVERIFY2(updated.ok, qPrintable(updated.error));

        changed.setValue(rowCodeColumnIndex(), codes[1]);
        QCOMPARE(database.load(codes[1]).value, changed);
        QCOMPARE(withoutCode(database.load(codes[0]).value), withoutCode(test::trickyRow(QStringLiteral("0"))));
        QCOMPARE(withoutCode(database.load(codes[2]).value), withoutCode(test::trickyRow(QStringLiteral("2"))));
        QCOMPARE(test::RawRegister(*m_register).rowCount(), 3);
    }

    void removeDeletesTheOneRow()
    {
        QStringList codes;
        QVERIFY(makeRegister(3, &codes));
        const auto databaseEngine = m_register->makeDatabase();
        PolicyDatabase& database = *databaseEngine;
        QVERIFY(database.open(path()).ok);
        QVERIFY(test::removeByCode(database, codes[1]).ok);
        QVERIFY(!database.load(codes[1]).ok);
        QVERIFY(database.load(codes[0]).ok);
        QVERIFY(database.load(codes[2]).ok);
        QCOMPARE(test::RawRegister(*m_register).rowCount(), 2);
    }

    void foreignFileIsRefusedAndLeftAlone_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("random bytes") << "random" << "не является базой данных";
        QTest::newRow("SQLite without TableStrah") << "no table" << "нет таблицы TableStrah";
        QTest::newRow("another TableStrah") << "other table" << "столбец 1 таблицы TableStrah";
        QTest::newRow("one column missing") << "missing" << "столбец 123 таблицы TableStrah";
        QTest::newRow("two columns swapped") << "swapped" << "столбец 50 таблицы TableStrah";
        QTest::newRow("Cyrillic с in the experience flag") << "cyrillic" << "столбец 73 таблицы TableStrah";
        QTest::newRow("truncated register") << "truncated" << "повреждён";
    }
    void foreignFileIsRefusedAndLeftAlone()
    {
        OSAGO_FILE_REGISTER_ONLY();
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QStringList names = registerNames();
        if (kind == u"random") {
            QByteArray bytes(16384, Qt::Uninitialized);
            QRandomGenerator generator(42);
            generator.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
            QFile file(path());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        } else if (kind == u"truncated") {
            QVERIFY(makeRegister(40));
            QVERIFY(QFile::resize(path(), 6000));
        } else {
            if (kind == u"other table")
                names = QStringList{QStringLiteral("Номер"), QStringLiteral("Сумма")};
            else if (kind == u"missing")
                names.removeLast();
            else if (kind == u"swapped")
                names.swapItemsAt(49, 50);
            else if (kind == u"cyrillic")
                names[72] = QStringLiteral("Доп_стаж_более_2_1");
            RawConnection raw(path());
            QVERIFY(raw.exec(QStringLiteral("PRAGMA user_version = 7")));
            if (kind != u"no table") {
                QVERIFY(raw.exec(QStringLiteral("CREATE TABLE TableStrah (%1)").arg(columnDefinitions(names))));
                QVERIFY(raw.exec(QStringLiteral("INSERT INTO TableStrah (\"%1\") VALUES ('чужое')").arg(names[0])));
            } else {
                QVERIFY(raw.exec(QStringLiteral("CREATE TABLE Другая (a TEXT)")));
            }
        }
        const QByteArray before = test::fileBytes(path());
        const QStringList filesBefore = folderFiles();

        SqliteDatabase database;
        const StorageStatus opened = database.open(path());
        QVERIFY(!opened.ok);
        QVERIFY2(opened.error.contains(reason), qPrintable(opened.error));
        QVERIFY(opened.error.contains(QDir::toNativeSeparators(path())));
        QVERIFY(!database.isOpen());
        QVERIFY(!database.insert(test::trickyRow(QStringLiteral("x"))).ok);
        database.close();

        QCOMPARE(folderFiles(), filesBefore);
        QVERIFY(test::fileBytes(path()) == before);
    }

    void readOnlyRegisterRefusesSaves_data()
    {
        QTest::addColumn<bool>("byPermissions");
        QTest::newRow("opened read-only") << false;
        QTest::newRow("file without write permission") << true;
    }
    void readOnlyRegisterRefusesSaves()
    {
        QFETCH(bool, byPermissions);
        if (byPermissions)
            OSAGO_FILE_REGISTER_ONLY();
        if (byPermissions && ::geteuid() == 0)
            QSKIP("file permissions do not bind the superuser");
        QStringList codes;
        QVERIFY(makeRegister(2, &codes));
        PolicyDatabase::Access access = PolicyDatabase::Access::ReadOnly;
        if (byPermissions) {
            QVERIFY(QFile::setPermissions(path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
            access = PolicyDatabase::Access::ReadWrite;
        }
        const QByteArray before = test::fileBytes(path());

        const auto databaseEngine = m_register->makeDatabase();
        PolicyDatabase& database = *databaseEngine;
        const StorageStatus opened = database.open(path(), access);
        QVERIFY2(opened.ok, qPrintable(opened.error));
        QVERIFY(database.load(codes[0]).ok);
        for (const StorageStatus& status : {StorageStatus(database.insert(test::trickyRow(QStringLiteral("x")))),
                                            test::updateByCode(database, codes[0], test::trickyRow(QStringLiteral("y"))),
                                            test::removeByCode(database, codes[1])}) {
            QVERIFY(!status.ok);
            QVERIFY2(status.error.contains(u"только для чтения"), qPrintable(status.error));
        }
        database.close();
        QVERIFY(test::fileBytes(path()) == before);
    }

    void fullDiskFailsTheSaveWhole()
    {
        OSAGO_FILE_REGISTER_ONLY();
        QVERIFY(makeRegister(1));
        SqliteDatabase database;
        QVERIFY(database.open(path()).ok);
        QSqlQuery limit(database.connection());
        QVERIFY(limit.exec(QStringLiteral("PRAGMA max_page_count = 1")));
        limit.finish();

        const auto saved = database.insert(test::trickyRow(QStringLiteral("большая")));
        QVERIFY(!saved.ok);
        QVERIFY2(saved.error.contains(u"нет места"), qPrintable(saved.error));
        QVERIFY(saved.value.isEmpty());
        QCOMPARE(RawConnection(path()).rowCount(), 1);
    }

    void lockedRegisterFailsAfterTheBusyTimeout()
    {
        OSAGO_FILE_REGISTER_ONLY();
        QStringList codes;
        QVERIFY(makeRegister(1, &codes));
        SqliteDatabase database;
        database.setBusyTimeout(300ms);
        QVERIFY(database.open(path()).ok);
        RawConnection other(path());
        QVERIFY(other.exec(QStringLiteral("BEGIN IMMEDIATE")));

        QElapsedTimer waited;
        waited.start();
        const auto saved = database.insert(test::trickyRow(QStringLiteral("ждёт")));
        QVERIFY(waited.elapsed() >= 250);
        QVERIFY(!saved.ok);
        QVERIFY2(saved.error.contains(u"занята другой программой"), qPrintable(saved.error));
        QVERIFY(!test::removeByCode(database, codes[0]).ok);

        QVERIFY(other.exec(QStringLiteral("ROLLBACK")));
        QCOMPARE(other.rowCount(), 1);
        QVERIFY(database.insert(test::trickyRow(QStringLiteral("потом"))).ok);
        QCOMPARE(other.rowCount(), 2);
    }

    void removedFileFailsTheSave()
    {
        OSAGO_FILE_REGISTER_ONLY();
        SqliteDatabase database;
        QVERIFY(database.open(path()).ok);
        QVERIFY(database.insert(test::trickyRow(QStringLiteral("до"))).ok);
        QVERIFY(QFile::remove(path()));
        const auto saved = database.insert(test::trickyRow(QStringLiteral("после")));
        QVERIFY(!saved.ok);
        QVERIFY2(saved.error.contains(u"удалён"), qPrintable(saved.error));
        database.close();
        QVERIFY(!QFile::exists(path()));
    }

    void neverOpenedDatabaseRefusesEverything()
    {
        const auto databaseEngine = m_register->makeDatabase();
        PolicyDatabase& database = *databaseEngine;
        QVERIFY(!database.isOpen());
        QVERIFY(!database.insert(PolicyRow()).ok);
        QVERIFY(!test::updateByCode(database, QStringLiteral("a"), PolicyRow()).ok);
        QVERIFY(!test::removeByCode(database, QStringLiteral("a")).ok);
        const auto loaded = database.load(QStringLiteral("a"));
        QVERIFY(!loaded.ok);
        QVERIFY2(loaded.error.contains(u"не открыт"), qPrintable(loaded.error));
    }

    void twoProgramsInterleavedLoseNothing()
    {
        const auto firstEngine = m_register->makeDatabase();
        PolicyDatabase& first = *firstEngine;
        const auto secondEngine = m_register->makeDatabase();
        PolicyDatabase& second = *secondEngine;
        QVERIFY(first.open(path()).ok);
        QVERIFY(second.open(path()).ok);
        QStringList kept;
        for (int n = 0; n < 20; ++n) {
            const auto a = first.insert(test::trickyRow(QStringLiteral("первая %1").arg(n)));
            const auto b = second.insert(test::trickyRow(QStringLiteral("вторая %1").arg(n)));
            QVERIFY(a.ok && b.ok);
            QVERIFY(second.load(a.value).ok);
            QVERIFY(test::updateByCode(first, b.value, test::trickyRow(QStringLiteral("первая правит %1").arg(n))).ok);
            if (n % 4 == 0)
                QVERIFY(test::removeByCode(second, a.value).ok);
            else
                kept << a.value;
            kept << b.value;
        }
        QCOMPARE(test::RawRegister(*m_register).rowCount(), kept.size());
        for (const QString& code : kept) {
            QVERIFY(first.load(code).ok);
            QCOMPARE(second.load(code).value, first.load(code).value);
        }
        QVERIFY(first.load(kept.last()).value.value(0).startsWith(u"первая правит 19"));
    }

    // Rows another program adds and removes are counted; at last it empties the table the way its engine does it
    // fastest (TRUNCATE on the server).
    void rowsAnotherProgramWritesAreCounted()
    {
        const auto database = m_register->makeDatabase();
        QVERIFY(database->open(path()).ok);
        QVERIFY(database->insert(test::trickyRow(QStringLiteral("своя"))).ok);
        test::RawRegister raw(*m_register);
        test::insertForeignRows(*m_register, {QStringLiteral("чужая 1"), QStringLiteral("чужая 2")});
        test::compareExtentWithTable(*database, raw);
        QVERIFY(raw.exec(QStringLiteral("DELETE FROM \"TableStrah\" WHERE \"Мантисса_кода\" = ?"), {QStringLiteral("чужая 2")}));
        test::compareExtentWithTable(*database, raw);
        QCOMPARE(raw.rowCount(), 2);
        QVERIFY(raw.exec(m_register->onServer() ? QStringLiteral("TRUNCATE \"TableStrah\"") : QStringLiteral("DELETE FROM TableStrah")));
        test::compareExtentWithTable(*database, raw);
        QVERIFY(database->insert(test::trickyRow(QStringLiteral("после"))).ok);
        test::compareExtentWithTable(*database, raw);
        QCOMPARE(raw.rowCount(), 1);
    }

    void killedWriterLeavesCommittedRowsIntact()
    {
        OSAGO_FILE_REGISTER_ONLY();
        QVERIFY(makeRegister(0));
        QMap<int, QString> committed;
        for (int round = 0; round < 3; ++round) {
            QProcess writer;
            writer.start(QStringLiteral(REGISTER_WRITER), {path()});
            QVERIFY2(writer.waitForStarted(), qPrintable(writer.errorString()));
            int lines = 0;
            QElapsedTimer patience;
            patience.start();
            while (lines < 15 && patience.elapsed() < 60000) {
                writer.waitForReadyRead(1000);
                while (writer.canReadLine()) {
                    const QList<QByteArray> parts = writer.readLine().trimmed().split(' ');
                    QCOMPARE(parts.size(), 2);
                    committed.insert(parts[0].toInt() + 1000 * round, QString::fromLatin1(parts[1]));
                    ++lines;
                }
            }
            QVERIFY2(lines >= 15, writer.readAllStandardError().constData());
            writer.kill();
            QVERIFY(writer.waitForFinished());
            QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
            while (writer.canReadLine()) {
                const QList<QByteArray> parts = writer.readLine().trimmed().split(' ');
                committed.insert(parts[0].toInt() + 1000 * round, QString::fromLatin1(parts[1]));
            }

            SqliteDatabase database;
            const StorageStatus opened = database.open(path());
            QVERIFY2(opened.ok, qPrintable(opened.error));
            for (auto it = committed.cbegin(); it != committed.cend(); ++it) {
                const auto loaded = database.load(it.value());
                QVERIFY2(loaded.ok, qPrintable(loaded.error));
                QCOMPARE(withoutCode(loaded.value), withoutCode(test::trickyRow(QString::number(it.key() % 1000))));
            }
            RawConnection raw(path());
            QCOMPARE(raw.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
            QVERIFY(raw.rowCount() >= committed.size());
            QVERIFY(raw.rowCount() <= committed.size() + round + 1);
        }
    }
};

QTEST_GUILESS_MAIN(PolicyDatabaseTest)
#include "PolicyDatabaseTest.moc"
