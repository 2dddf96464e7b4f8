#include "grid/RegisterModel.h"
#include "storage/BlankJournal.h"
#include "storage/server/ServerDatabase.h"
#include "storage/SearchFolding.h"
#include "storage/server/ServerSql.h"
#include "FaultServer.h"
#include "StorageTestSupport.h"
#include "TestRegister.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QSet>
#include <QTest>
#include <QUrl>

#include <memory>
#include <thread>

using namespace osago;
using test::FaultServer;
using test::ServerAdmin;
using test::TestRegister;

namespace {

int surnameColumn()
{
    return policyColumnIndex(u"Страхователь_фамилия_фирма");
}

PolicyRow rowOf(const QString& surname)
{
    PolicyRow row = test::trickyRow(surname);
    row.setValue(surnameColumn(), surname);
    return row;
}

std::vector<qint64> allIds(const PolicyDatabase& database)
{
    std::vector<qint64> ids;
    database.readAllIds(ids);
    return ids;
}

QStringList surnames(const PolicyDatabase& database, const std::vector<qint64>& ids)
{
    std::vector<QStringList> rows;
    database.readRows(ids, rows);
    QStringList found;
    for (const QStringList& row : rows)
        found << row.value(surnameColumn());
    return found;
}

QStringList found(const PolicyDatabase& database, const QString& word)
{
    std::vector<qint64> ids;
    const StorageStatus status = database.readSelectedIds({surnameColumn(), word, 0}, ids);
    return status.ok ? surnames(database, ids) : QStringList{status.error};
}

// A role of the test's own with `grants` on the table (and `password`, when given, for a role the test
// server's pg_hba asks a password of).
QString makeRole(ServerAdmin& admin, const QString& grants, const QString& password = {})
{
    const QString role = QStringLiteral("r%1").arg(QUuid::createUuid().toString(QUuid::Id128).left(12));
    admin.exec(password.isEmpty() ? QStringLiteral("CREATE ROLE %1 LOGIN").arg(role)
                                  : QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2' IN ROLE osago_passworded")
                                        .arg(role, password));
    if (!grants.isEmpty())
        admin.exec(grants.arg(role));
    return role;
}

// A role the test server's pg_hba asks `password` of, allowed everything in the test's database.
QString makePasswordedRole(ServerAdmin& admin, const TestRegister& testRegister, const QString& password)
{
    admin.exec(QStringLiteral("DO $$ BEGIN CREATE ROLE osago_passworded NOLOGIN; EXCEPTION WHEN duplicate_object THEN NULL; END $$"));
    const QString role = makeRole(admin, QStringLiteral("GRANT ALL ON SCHEMA public TO %1"), password);
    admin.exec(QStringLiteral("GRANT ALL ON DATABASE \"%1\" TO %2").arg(testRegister.databaseName(), role));
    return role;
}

// The commands tried on a frozen server.
enum class Command { Save, Refresh, Search };

StorageStatus runCommand(Command command, ServerDatabase& database)
{
    switch (command) {
    case Command::Save:
        return database.insert(rowOf(QStringLiteral("Сидоров")));
    case Command::Refresh:
        return database.readTableExtent();
    case Command::Search: {
        std::vector<qint64> ids;
        return database.readSelectedIds({surnameColumn(), QStringLiteral("петр"), 0}, ids);
    }
    }
    return StorageStatus::failure(QStringLiteral("unknown command"));
}

// The kept row count as the server holds it.
QString keptCount(test::RawRegister& raw)
{
    return raw.scalar(QStringLiteral("SELECT string_agg(\"Число_строк\"::text, ',') FROM \"%1\"").arg(serverSql::rowCountTable()));
}

// Rows written by another program: `added` new ones, then the newest `removed` of them deleted again.
void writeAsAnotherProgram(test::RawRegister& raw, int added, int removed)
{
    QVERIFY(raw.exec(QStringLiteral("INSERT INTO \"TableStrah\" (\"Марка_модель\") SELECT 'чужая' FROM generate_series(1, %1)").arg(added)));
    QVERIFY(raw.exec(QStringLiteral("DELETE FROM \"TableStrah\" WHERE \"Номер_строки\" IN (SELECT \"Номер_строки\" FROM "
                                    "\"TableStrah\" ORDER BY 1 DESC LIMIT %1)").arg(removed)));
}

} // namespace

Q_DECLARE_METATYPE(Command)

class ServerDatabaseTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestRegister> m_register;

    std::unique_ptr<PolicyDatabase> openedAs(const QString& location, PasswordSource ask = {})
    {
        auto database = std::make_unique<ServerDatabase>(std::move(ask));
        const StorageStatus status = database->open(location);
        if (!status.ok)
            qWarning("%s", qPrintable(status.error));
        return database;
    }

private slots:
    void init() { m_register = std::make_unique<TestRegister>(); }
    void cleanup() { m_register.reset(); }

    void tableHasTheColumnsInOrderThenItsKey()
    {
        const auto database = openedAs(m_register->location());
        QVERIFY(database->isOpen());
        const auto admin = m_register->admin();
        const PgResult columns = admin->exec(QStringLiteral(
            "SELECT attname FROM pg_attribute WHERE attrelid = '\"TableStrah\"'::regclass AND attnum > 0 ORDER BY attnum"));
        QStringList names;
        for (int row = 0; row < columns.rows(); ++row)
            names << columns.text(row, 0);
        QStringList expected = policyColumnNames();
        expected << serverSql::kKeyColumn.toString();
        for (int column : searchedColumns())
            expected << serverSql::foldedColumnName(column);
        QCOMPARE(names, expected);
        QVERIFY(names.contains(QStringLiteral("Доп_cтаж_более_2_6")));
        QCOMPARE(database->location(),
                 QStringLiteral("сервер 127.0.0.1:%1, база %2").arg(QUrl(m_register->location()).port()).arg(m_register->databaseName()));
        for (int column : searchedColumns())
            QVERIFY(database->hasSearchIndex(column));
    }

    void twoDesksSavingAtOnceLoseNothing()
    {
        constexpr int kRowsEach = 60;
        QStringList codes[2];
        std::vector<std::thread> desks;
        for (int desk = 0; desk < 2; ++desk) {
            desks.emplace_back([&, desk] {
                ServerDatabase database;
                if (!database.open(m_register->location()).ok)
                    return;
                for (int n = 0; n < kRowsEach; ++n) {
                    const auto saved = database.insert(rowOf(QStringLiteral("Место %1 №%2").arg(desk).arg(n)));
                    codes[desk] << (saved.ok ? saved.value : saved.error);
                }
            });
        }
        for (std::thread& desk : desks)
            desk.join();
        const auto database = openedAs(m_register->location());
        QCOMPARE(int(allIds(*database).size()), 2 * kRowsEach);
        QCOMPARE(database->readTableExtent().value.rows, 2 * kRowsEach);
        const QStringList all = codes[0] + codes[1];
        QCOMPARE(QSet<QString>(all.begin(), all.end()).size(), 2 * kRowsEach);
        for (const QString& code : all)
            QVERIFY2(database->load(code).ok, qPrintable(code));
    }

    // A table an older program made, rows in it: the desks opening it at once add one count, of those rows.
    void countIsAddedOnceToAnOlderTable()
    {
        test::RawRegister raw(*m_register);
        QVERIFY(raw.exec(serverSql::createTable(serverSql::Folding::Icu) + u';' + serverSql::createCodeIndex()));
        writeAsAnotherProgram(raw, 5, 0);
        bool opened[2] = {};
        std::vector<std::thread> desks;
        for (bool& ok : opened)
            desks.emplace_back([&] { ok = ServerDatabase().open(m_register->location()).ok; });
        for (std::thread& desk : desks)
            desk.join();
        QVERIFY(opened[0] && opened[1]);
        QCOMPARE(keptCount(raw), QStringLiteral("5"));
        writeAsAnotherProgram(raw, 3, 1);
        QCOMPARE(keptCount(raw), QStringLiteral("7"));
        test::compareExtentWithTable(*openedAs(m_register->location()), raw);
    }

    // A count that cannot be trusted, or cannot be read, is never shown: the rows are counted instead, and the
    // owner's next opening mends it.
    void untrustedCountIsNeverShown_data()
    {
        QTest::addColumn<QString>("roleGrants");
        QTest::addColumn<QString>("breakage");
        const QString rowRights = QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON \"TableStrah\" TO %1");
        const QString counter = u'"' + serverSql::rowCountTable() + u'"';
        const QString removed = QStringLiteral("DROP FUNCTION \"TableStrah_count_rows\"() CASCADE; DROP TABLE ") + counter;
        QTest::newRow("a trigger disabled")
            << QString() << QStringLiteral("ALTER TABLE \"TableStrah\" DISABLE TRIGGER \"TableStrah_count_insert\"");
        QTest::newRow("a trigger dropped") << QString() << QStringLiteral("DROP TRIGGER \"TableStrah_count_delete\" ON \"TableStrah\"");
        QTest::newRow("the count's row deleted") << QString() << QStringLiteral("DELETE FROM ") + counter;
        QTest::newRow("the count removed while the desk works") << QString() << removed;
        QTest::newRow("the count's table dropped, its triggers left") << QString() << QStringLiteral("DROP TABLE ") + counter;
        QTest::newRow("a role that may not read the count") << rowRights << QString();
        QTest::newRow("a role whose count was removed") << rowRights + QStringLiteral("; GRANT SELECT ON %1 TO ").arg(counter) + QStringLiteral("%1") << removed;
    }

    void untrustedCountIsNeverShown()
    {
        QFETCH(QString, roleGrants);
        QFETCH(QString, breakage);
        const auto owner = openedAs(m_register->location());
        QVERIFY(owner->insert(rowOf(QStringLiteral("Первая"))).ok);
        const auto admin = m_register->admin();
        const auto desk = roleGrants.isEmpty() ? nullptr : openedAs(m_register->locationAs(makeRole(*admin, roleGrants)));
        const PolicyDatabase& database = desk ? *desk : *owner;
        QVERIFY(database.isOpen());
        test::RawRegister raw(*m_register);
        QVERIFY(breakage.isEmpty() || raw.exec(breakage));
        writeAsAnotherProgram(raw, 3, 1);
        QVERIFY(owner->insert(rowOf(QStringLiteral("Вторая"))).ok);
        test::compareExtentWithTable(database, raw);

        const auto reopened = openedAs(m_register->location());
        QCOMPARE(keptCount(raw), QStringLiteral("4"));
        writeAsAnotherProgram(raw, 2, 1);
        QCOMPARE(keptCount(raw), QStringLiteral("5"));
        test::compareExtentWithTable(*reopened, raw);
    }

    void changeOverAnotherDesksChangeIsRefused_data()
    {
        QTest::addColumn<bool>("otherDeletes");
        QTest::addColumn<bool>("weDelete");
        QTest::newRow("changed, then our change") << false << false;
        QTest::newRow("changed, then our deletion") << false << true;
        QTest::newRow("deleted, then our change") << true << false;
        QTest::newRow("deleted, then our deletion") << true << true;
    }

    void changeOverAnotherDesksChangeIsRefused()
    {
        QFETCH(bool, otherDeletes);
        QFETCH(bool, weDelete);
        const auto ours = openedAs(m_register->location());
        const auto other = openedAs(m_register->location());
        QVERIFY(ours->insert(rowOf(QStringLiteral("Первая"))).ok);
        const RowKey key(allIds(*ours).front());
        const PolicyRow asRead = ours->load(key).value;

        PolicyRow theirs = asRead;
        theirs.setValue(surnameColumn(), QStringLiteral("Изменена другим"));
        QVERIFY(otherDeletes ? other->remove(key, asRead).ok : other->update(key, asRead, theirs).ok);

        PolicyRow mine = asRead;
        mine.setValue(surnameColumn(), QStringLiteral("Наша правка"));
        const StorageStatus status = weDelete ? ours->remove(key, asRead) : ours->update(key, asRead, mine);
        QVERIFY(!status.ok);
        QVERIFY(status.rowChanged);
        QVERIFY(status.error.startsWith(kRowChangedMessage));
        QVERIFY(status.error.contains(ours->location()));
        const std::vector<qint64> ids = allIds(*ours);
        QCOMPARE(surnames(*ours, ids), otherDeletes ? QStringList{} : QStringList{QStringLiteral("Изменена другим")});
    }

    void readOnlyRoleReadsAndSaysWhy()
    {
        {
            const auto made = openedAs(m_register->location());
            QVERIFY(made->insert(rowOf(QStringLiteral("Петров"))).ok);
        }
        const auto admin = m_register->admin();
        const QString role = makeRole(*admin, QStringLiteral("GRANT SELECT ON \"TableStrah\" TO %1"));
        const auto database = openedAs(m_register->locationAs(role));
        QVERIFY(database->isOpen());
        QVERIFY(database->isReadOnly());
        QVERIFY2(database->readOnlyReason().contains(role), qPrintable(database->readOnlyReason()));
        QCOMPARE(found(*database, QStringLiteral("петр")), QStringList{QStringLiteral("Петров")});
        const auto saved = database->insert(rowOf(QStringLiteral("Сидоров")));
        QVERIFY(!saved.ok);
        QVERIFY2(saved.error.contains(database->readOnlyReason()), qPrintable(saved.error));
    }

    void roleWithoutDdlWorksOnTheAdministratorsTable()
    {
        const auto admin = m_register->admin();
        QVERIFY(admin->exec(serverSql::schemaScript()).ok());
        const QString role = makeRole(*admin, QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON \"TableStrah\" TO %1"));
        const auto database = openedAs(m_register->locationAs(role));
        QVERIFY(database->isOpen());
        QVERIFY(!database->isReadOnly());
        const auto saved = database->insert(rowOf(QStringLiteral("Ёлкин")));
        QVERIFY2(saved.ok, qPrintable(saved.error));
        const RowKey key(allIds(*database).front());
        PolicyRow changed = database->load(key).value;
        const PolicyRow asRead = changed;
        changed.setValue(surnameColumn(), QStringLiteral("Ёлкина"));
        QVERIFY(database->update(key, asRead, changed).ok);
        QCOMPARE(found(*database, QStringLiteral("ЕЛКИНА")), QStringList{QStringLiteral("Ёлкина")});
        QVERIFY(database->hasSearchIndex(surnameColumn()));

        // A right taken away while the program runs: the statement is refused, and the message says whose right.
        admin->exec(QStringLiteral("REVOKE DELETE ON \"TableStrah\" FROM %1").arg(role));
        const StorageStatus refused = database->remove(key, changed);
        QVERIFY(!refused.ok);
        QVERIFY2(refused.error.contains(QStringLiteral("у роли %1 нет прав").arg(role)), qPrintable(refused.error));
        QCOMPARE(int(allIds(*database).size()), 1);
        admin->exec(QStringLiteral("GRANT DELETE ON \"TableStrah\" TO %1").arg(role));
        QVERIFY(database->remove(key, changed).ok);
        QVERIFY(allIds(*database).empty());
    }

    // A desk's role that does not own the table builds no issue index, and reads a period as the owner does.
    void roleWithoutTheIssueIndexReadsThePeriodAlike()
    {
        const auto owner = openedAs(m_register->location());
        for (const QString& date : {QStringLiteral("15.03.2026"), QStringLiteral("29.02.2026"), QString(),
                                    QStringLiteral("15.04.2026")}) {
            PolicyRow row = rowOf(QStringLiteral("Петров"));
            row.setValue(u"Дата_выдачи", date);
            row.setValue(u"ФИО_агента", QStringLiteral("Агент ") + date);
            QVERIFY(owner->insert(row).ok);
        }
        const auto admin = m_register->admin();
        QVERIFY(admin->exec(QStringLiteral("DROP INDEX \"%1\"").arg(serverSql::issueIndexName())).ok());
        const QString role = makeRole(*admin, QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON \"TableStrah\" TO %1"));
        const auto desk = openedAs(m_register->locationAs(role));
        QVERIFY(!desk->hasIssueDayIndex());
        const StorageStatus refused = desk->buildIssueDayIndex({});
        QVERIFY2(!refused.ok && refused.error.contains(QStringLiteral("владелец")), qPrintable(refused.error));
        QVERIFY(owner->buildIssueDayIndex({}).ok);
        const IssuePeriod march{QDate(2026, 3, 1), QDate(2026, 3, 31)};
        const int columns[] = {policyColumnIndex(u"Дата_выдачи")};
        std::vector<QStringList> ownerRows;
        std::vector<QStringList> deskRows;
        QVERIFY(owner->readIssuedIn(march, columns, ownerRows).ok);
        QVERIFY(admin->exec(QStringLiteral("DROP INDEX \"%1\"").arg(serverSql::issueIndexName())).ok());
        QVERIFY(desk->readIssuedIn(march, columns, deskRows).ok);
        QCOMPARE(deskRows, ownerRows);
        QCOMPARE(int(deskRows.size()), 3);
        QCOMPARE(desk->readAgentsIssuedIn(march).value, QStringList{QStringLiteral("Агент 15.03.2026")});
    }

    // A register its owner made before the blanks' journal: another role cannot make the journal's tables, so it
    // finds no blank and is told who must open the register once; the owner's open makes them.
    void aRoleOnARegisterWithoutTheJournalIsToldTheOwnerMustOpenIt()
    {
        const auto admin = m_register->admin();
        QVERIFY(admin->exec(serverSql::schemaScript()).ok());
        QVERIFY(admin->exec(QStringLiteral("DROP TABLE IF EXISTS \"Blanks\", \"BlankReceipts\"")).ok());
        const QString role = makeRole(*admin, QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON \"TableStrah\" TO %1"));
        const BlankReceipt receipt{BlankKind::Policy, QStringLiteral("ААА"), 1, 10, QDate(2026, 3, 1), {}, {}};
        {
            const auto desk = openedAs(m_register->locationAs(role));
            QVERIFY(desk->isOpen());
            QVERIFY(!desk->isReadOnly());
            const StorageResult<bool> any = desk->blanks().anyReceived();
            QVERIFY2(any.ok, qPrintable(any.error));
            QVERIFY(!any.value);
            const auto refused = desk->blanks().receive(receipt);
            QVERIFY(!refused.ok);
            QVERIFY2(refused.error.contains(QStringLiteral("владелец таблицы TableStrah")), qPrintable(refused.error));
            QVERIFY(desk->insert(rowOf(QStringLiteral("Без журнала"))).ok);
        }
        const auto owner = openedAs(m_register->location());
        const auto received = owner->blanks().receive(receipt);
        QVERIFY2(received.ok, qPrintable(received.error));
        QVERIFY(owner->blanks().anyReceived().value);
    }

    void missingTableTheRoleCannotMakeIsExplained()
    {
        const auto admin = m_register->admin();
        admin->exec(QStringLiteral("REVOKE CREATE ON SCHEMA public FROM PUBLIC"));
        const QString role = makeRole(*admin, {});
        ServerDatabase database;
        const StorageStatus status = database.open(m_register->locationAs(role));
        QVERIFY(!status.ok);
        QVERIFY(!database.isOpen());
        QVERIFY2(status.error.contains(QStringLiteral("таблицы TableStrah на сервере нет")), qPrintable(status.error));
        QVERIFY(status.error.contains(QStringLiteral("администратор")));
        QVERIFY(status.error.contains(m_register->databaseName()));
    }

    void tableOfOtherColumnsIsRefusedAndLeftAlone_data()
    {
        QTest::addColumn<QString>("definition");
        QTest::newRow("another table") << QStringLiteral("\"Номер\" text, \"Сумма\" text");
        QStringList columns;
        for (const QString& name : policyColumnNames())
            columns << u'"' + name + QStringLiteral("\" text");
        QTest::newRow("the columns without the key") << columns.join(u',');
        columns << QStringLiteral("\"Номер_строки\" bigint");
        for (int column : searchedColumns())
            columns << u'"' + serverSql::foldedColumnName(column) + QStringLiteral("\" text");
        QTest::newRow("folded texts the server does not keep") << columns.join(u',');
    }

    void tableOfOtherColumnsIsRefusedAndLeftAlone()
    {
        QFETCH(QString, definition);
        const auto admin = m_register->admin();
        QVERIFY(admin->exec(QStringLiteral("CREATE TABLE \"TableStrah\" (%1)").arg(definition)).ok());
        const QString before = admin->scalar(QStringLiteral("SELECT string_agg(attname, ',') FROM pg_attribute WHERE attrelid = '\"TableStrah\"'::regclass"));
        ServerDatabase database;
        const StorageStatus status = database.open(m_register->location());
        QVERIFY(!status.ok);
        QVERIFY2(status.error.contains(QStringLiteral("не является реестром")), qPrintable(status.error));
        QCOMPARE(admin->scalar(QStringLiteral("SELECT string_agg(attname, ',') FROM pg_attribute WHERE attrelid = '\"TableStrah\"'::regclass")), before);
        QCOMPARE(admin->scalar(QStringLiteral("SELECT count(*) FROM pg_indexes WHERE tablename = 'TableStrah'")), QStringLiteral("0"));
    }

    // A role that owns its table but may not install extensions: no trigram index, the same answers by scanning.
    void searchWithoutTheExtensionGivesTheSameAnswers()
    {
        const auto admin = m_register->admin();
        const QString role = makeRole(*admin, QStringLiteral("GRANT CREATE ON SCHEMA public TO %1"));
        const auto database = openedAs(m_register->locationAs(role));
        QVERIFY(database->isOpen());
        QVERIFY(!database->hasSearchIndex(surnameColumn()));
        QCOMPARE(admin->scalar(QStringLiteral("SELECT count(*) FROM pg_extension WHERE extname = 'pg_trgm'")), QStringLiteral("0"));
        const QStringList names{QStringLiteral("Пётр Ёжиков"), QStringLiteral("ЕЖОВ"), QStringLiteral("100% _под_"),
                                QStringLiteral("Straße O'Neil")};
        for (const QString& name : names)
            QVERIFY(database->insert(rowOf(name)).ok);
        QVERIFY(!database->buildSearchIndex(surnameColumn(), {}).ok);
        QCOMPARE(found(*database, QStringLiteral("ёж")), (QStringList{names[0], names[1]}));
        QCOMPARE(found(*database, QStringLiteral("0%")), QStringList{names[2]});
        QCOMPARE(found(*database, QStringLiteral("_п")), QStringList{names[2]});
        QCOMPARE(found(*database, QStringLiteral("Р Ё")), QStringList{names[0]});
        QCOMPARE(found(*database, QStringLiteral("o'n")), QStringList{names[3]});
        QCOMPARE(found(*database, QStringLiteral("%%")), QStringList{});
    }

    // A table an earlier version made, without the folded columns: searched over the expression as it is, then
    // the same after the administrator's script has added them.
    void olderTableIsSearchedBeforeAndAfterItGetsTheFoldedColumns()
    {
        const auto admin = m_register->admin();
        QStringList columns;
        for (const QString& name : policyColumnNames())
            columns << u'"' + name + QStringLiteral("\" text");
        columns << QStringLiteral("\"Номер_строки\" bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY");
        QVERIFY(admin->exec(QStringLiteral("CREATE TABLE \"TableStrah\" (%1)").arg(columns.join(u','))).ok());
        const QStringList names{QStringLiteral("Пётр Ёжиков"), QStringLiteral("ЕЖОВ"), QStringLiteral("100% _под_")};
        const QString insert = QStringLiteral("INSERT INTO \"TableStrah\" (\"Страхователь_фамилия_фирма\") VALUES ($1)");
        for (const QString& name : names)
            QVERIFY(admin->exec(insert, QStringList{name}).ok());
        const QString columnCount = QStringLiteral("SELECT count(*) FROM pg_attribute WHERE attrelid = '\"TableStrah\"'::regclass AND attnum > 0");
        for (const QString& expectedColumns : {QStringLiteral("124"), QStringLiteral("131")}) {
            const auto database = openedAs(m_register->location());
            QVERIFY(database->isOpen());
            QCOMPARE(admin->scalar(columnCount), expectedColumns);
            QCOMPARE(found(*database, QStringLiteral("ёж")), (QStringList{names[0], names[1]}));
            QCOMPARE(found(*database, QStringLiteral("ЁЖИК")), QStringList{names[0]});
            QCOMPARE(found(*database, QStringLiteral("0%")), QStringList{names[2]});
            QVERIFY(database->buildSearchIndex(surnameColumn(), {}).ok);
            QCOMPARE(found(*database, QStringLiteral("ежов")), QStringList{names[1]});
            if (expectedColumns == u"124")
                QVERIFY(admin->exec(serverSql::foldedColumnsScript()).ok());
        }
    }

    void buildingTheIndexReportsProgressAndServesTheSearch()
    {
        const auto database = openedAs(m_register->location());
        QVERIFY(database->insert(rowOf(QStringLiteral("Иванов"))).ok);
        const auto admin = m_register->admin();
        admin->exec(QStringLiteral("DROP INDEX \"%1\"").arg(serverSql::searchIndexName(surnameColumn())));
        QVERIFY(!database->hasSearchIndex(surnameColumn()));
        QVERIFY(database->buildSearchIndex(surnameColumn(), [](int percent) { QVERIFY(percent >= 0 && percent <= 99); }).ok);
        QVERIFY(database->hasSearchIndex(surnameColumn()));
        QCOMPARE(found(*database, QStringLiteral("ИВАН")), QStringList{QStringLiteral("Иванов")});
    }

    void wrongPasswordIsExplainedAndTheBoxAskedOnce()
    {
        const auto admin = m_register->admin();
        const QString role = makePasswordedRole(*admin, *m_register, QStringLiteral("верный"));

        ServerDatabase typed;
        const StorageStatus wrong = typed.open(m_register->locationAs(role, QStringLiteral("neverniy")));
        QVERIFY(!wrong.ok);
        QVERIFY2(wrong.error.contains(QStringLiteral("не принял пароль роли ") + role), qPrintable(wrong.error));
        QVERIFY(!wrong.error.contains(QStringLiteral("neverniy")));

        int asked = 0;
        QString prompt;
        ServerDatabase boxed([&](const QString& text) {
            ++asked;
            prompt = text;
            return std::optional<QString>(QStringLiteral("верный"));
        });
        const StorageStatus opened = boxed.open(m_register->locationAs(role));
        QVERIFY2(opened.ok, qPrintable(opened.error));
        QCOMPARE(asked, 1);
        QVERIFY(prompt.contains(role) && prompt.contains(boxed.location()));
        // The terminal adds its own ": ".
        QVERIFY(!prompt.endsWith(u':'));
        QVERIFY(boxed.insert(rowOf(QStringLiteral("Сидоров"))).ok);
        QCOMPARE(asked, 1);

        ServerDatabase declined([](const QString&) { return std::optional<QString>(); });
        const StorageStatus refused = declined.open(m_register->locationAs(role));
        QVERIFY(!refused.ok);
        QVERIFY2(refused.error.contains(QStringLiteral("требует пароль")), qPrintable(refused.error));
    }

    // Each refusal has its own reason, libpq's words after it; none falls to the general one.
    void eachConnectionFailureIsNamed_data()
    {
        // `address`: %1 the test server's address as the role (as the superuser when `roleSql` is empty), %2 the
        // test's database; `roleSql` runs first, with %1 a new role's name and %2 the database.
        QTest::addColumn<QString>("roleSql");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("reason");
        const QString ours = QStringLiteral("%1/%2");
        QTest::newRow("no server there") << QString() << QStringLiteral("postgresql://postgres@127.0.0.1:1/%2")
                                         << QStringLiteral("сервер не отвечает");
        QTest::newRow("TLS required, the server offers none")
            << QString() << ours + QStringLiteral("?sslmode=require") << QStringLiteral("требует защищённого соединения");
        QTest::newRow("no such database") << QString() << QStringLiteral("%1/no_such_database")
                                          << QStringLiteral("такой базы данных на сервере нет");
        QTest::newRow("no such role") << QStringLiteral("SELECT 'the role %1 is only named'") << ours
                                      << QStringLiteral("на сервере нет; проверьте имя пользователя");
        QTest::newRow("no right to connect")
            << QStringLiteral("CREATE ROLE %1 LOGIN; REVOKE CONNECT ON DATABASE \"%2\" FROM PUBLIC") << ours
            << QStringLiteral("нет права подключаться");
        QTest::newRow("a role that may not log in") << QStringLiteral("CREATE ROLE %1 NOLOGIN") << ours
                                                    << QStringLiteral("нет права подключаться");
        QTest::newRow("too many connections") << QStringLiteral("CREATE ROLE %1 LOGIN CONNECTION LIMIT 0") << ours
                                              << QStringLiteral("заняты все подключения");
        QTest::newRow("an address libpq cannot read") << QString() << QStringLiteral("postgresql://agent@[127.0.0.1:5432/%2")
                                                      << QStringLiteral("адрес реестра записан с ошибкой");
        QTest::newRow("a port that is no number") << QString() << QStringLiteral("postgresql://agent@127.0.0.1:five/%2")
                                                  << QStringLiteral("адрес реестра записан с ошибкой");
    }

    void eachConnectionFailureIsNamed()
    {
        QFETCH(QString, roleSql);
        QFETCH(QString, address);
        QFETCH(QString, reason);
        QString server = test::testServer();
        if (!roleSql.isEmpty()) {
            const QString role = QStringLiteral("r%1").arg(QUuid::createUuid().toString(QUuid::Id128).left(12));
            m_register->admin()->exec(roleSql.replace(QStringLiteral("%1"), role)
                                          .replace(QStringLiteral("%2"), m_register->databaseName()));
            server.replace(QStringLiteral("postgres@"), role + u'@');
        }
        ServerDatabase database;
        const StorageStatus status = database.open(
            address.replace(QStringLiteral("%1"), server).replace(QStringLiteral("%2"), m_register->databaseName()));
        QVERIFY(!status.ok);
        QVERIFY2(status.error.contains(reason), qPrintable(status.error));
        QVERIFY2(!status.error.contains(QStringLiteral("сервер отказал в подключении")), qPrintable(status.error));
        QVERIFY2(status.error.contains(QStringLiteral("\n(")), qPrintable(status.error));
        QVERIFY(!database.isOpen());
    }

    // A server with TLS and a certificate of its own: trusted through that certificate it serves; for another
    // name or trusted through the wrong issuer, the reason says which.
    void certificateFailuresAreNamed()
    {
        FaultServer server;
        QVERIFY(server.run(QStringLiteral("start")));
        QVERIFY(server.run(QStringLiteral("tls")));
        const QString root = QStringLiteral("&sslrootcert=%1/%2.crt").arg(server.folder());
        const QString verified = server.location() + QStringLiteral("?sslmode=verify-full") + root.arg(u"server");
        const StorageStatus opened = ServerDatabase().open(verified);
        QVERIFY2(opened.ok, qPrintable(opened.error));

        QString otherName = server.location() + QStringLiteral("?hostaddr=127.0.0.1&sslmode=verify-full") + root.arg(u"server");
        otherName.replace(QStringLiteral("@127.0.0.1:"), QStringLiteral("@localhost:"));
        const struct
        {
            QString address;
            QString reason;
        } refusals[] = {
            {otherName, QStringLiteral("сертификат сервера выписан на другое имя")},
            {server.location() + QStringLiteral("?sslmode=verify-ca") + root.arg(u"other"),
             QStringLiteral("сертификату сервера этот компьютер не доверяет")},
        };
        for (const auto& refusal : refusals) {
            const StorageStatus status = ServerDatabase().open(refusal.address);
            QVERIFY(!status.ok);
            QVERIFY2(status.error.contains(refusal.reason), qPrintable(status.error));
        }
    }

    // A password written in the address is in no text: not when libpq cannot read the address, nor when the
    // server refuses it; and when it serves, the agent is told where it is safer.
    void passwordOfTheAddressIsInNoText()
    {
        const QString secret = QStringLiteral("Tajna%40-7531");
        const QString decoded = QStringLiteral("Tajna@-7531");
        const auto admin = m_register->admin();
        const QString role = makePasswordedRole(*admin, *m_register, decoded);
        const QString unreadable = QStringLiteral("postgresql://agent:%1@[127.0.0.1:5432/db").arg(secret);
        const QString refused = m_register->locationAs(role, secret) + QStringLiteral("_нет");
        const QString asParameter = QStringLiteral("postgresql://agent@[127.0.0.1/db?sslmode=prefer&password=%1").arg(secret);
        for (const QString& address : {unreadable, refused, asParameter}) {
            ServerDatabase database;
            const StorageStatus status = database.open(address);
            QVERIFY(!status.ok);
            for (const QString& text : {status.error, database.location()}) {
                QVERIFY2(!text.contains(secret) && !text.contains(decoded), qPrintable(text));
            }
        }
        ServerDatabase misspelt;
        const StorageStatus status = misspelt.open(unreadable);
        QVERIFY2(status.error.contains(QStringLiteral("адрес postgresql://agent@[127.0.0.1:5432/db")), qPrintable(status.error));

        ServerDatabase database;
        const StorageStatus opened = database.open(m_register->locationAs(role, secret));
        QVERIFY2(opened.ok, qPrintable(opened.error));
        QVERIFY2(database.openWarning().contains(QStringLiteral("~/.pgpass")), qPrintable(database.openWarning()));
        for (const QString& text : {database.openWarning(), database.location()})
            QVERIFY2(!text.contains(secret) && !text.contains(decoded), qPrintable(text));
        QVERIFY(openedAs(m_register->location())->openWarning().isEmpty());
    }

    // The server's processes stopped: the command gives up past the silence limit, naming the server; the wait
    // hook runs meanwhile, and a read it makes is refused as busy without touching the waiting connection. Once
    // the server runs again, the same command works over a new connection, and the save given up is not written
    // twice.
    void commandsGiveUpOnAFrozenServer_data()
    {
        QTest::addColumn<Command>("command");
        QTest::newRow("a save") << Command::Save;
        QTest::newRow("a refresh") << Command::Refresh;
        QTest::newRow("a search") << Command::Search;
    }

    void commandsGiveUpOnAFrozenServer()
    {
        QFETCH(Command, command);
        FaultServer server;
        QVERIFY(server.run(QStringLiteral("start")));
        ServerDatabase database;
        QVERIFY(database.open(server.location()).ok);
        QVERIFY(database.insert(rowOf(QStringLiteral("Петров"))).ok);

        RegisterModel model(database);
        QVERIFY(model.refresh().ok);
        QSignalSpy failures(&model, &RegisterModel::readFailed);
        const QModelIndex surnameCell = model.index(0, surnameColumn());
        int hooks = 0;
        StorageResult<TableExtent> meanwhile;
        QVariant shownMeanwhile = QStringLiteral("не спрошено");
        database.setWaitHook([&] {
            ++hooks;
            meanwhile = database.readTableExtent();
            shownMeanwhile = model.data(surnameCell);
        });
        QVERIFY(server.run(QStringLiteral("freeze")));
        QElapsedTimer waited;
        waited.start();
        const StorageStatus given = runCommand(command, database);
        const qint64 waitedMs = waited.elapsed();
        QVERIFY(server.run(QStringLiteral("thaw")));
        database.setWaitHook({});
        QVERIFY2(hooks >= waitedMs / kWaitHookMs / 2, qPrintable(QStringLiteral("%1 in %2 ms").arg(hooks).arg(waitedMs)));
        QVERIFY(!meanwhile.ok);
        QVERIFY(meanwhile.busy);
        QVERIFY(!given.busy);
        // The grid's page asked for meanwhile showed empty, is read again once the register is free, and no
        // failure was told of it.
        QCOMPARE(shownMeanwhile, QVariant());
        QTRY_COMPARE(model.data(surnameCell).toString(), QStringLiteral("Петров"));
        QCOMPARE(failures.size(), 0);
        QVERIFY(!given.ok);
        QVERIFY2(given.error.contains(QStringLiteral("Сервер не отвечает")), qPrintable(given.error));
        QVERIFY2(given.error.contains(database.location()), qPrintable(given.error));
        QVERIFY2(waitedMs < 20000, qPrintable(QString::number(waitedMs)));

        const StorageStatus again = runCommand(command, database);
        QVERIFY2(again.ok, qPrintable(again.error));
        const QStringList saved = command == Command::Save ? QStringList{QStringLiteral("Сидоров")} : QStringList{};
        QCOMPARE(found(database, QStringLiteral("сидоров")), saved);
        QCOMPARE(found(database, QStringLiteral("петров")), QStringList{QStringLiteral("Петров")});
    }

    void faultsAreExplainedAndTheNextCommandConnectsAgain()
    {
        FaultServer server;
        QVERIFY(server.run(QStringLiteral("start")));
        ServerDatabase database;
        QVERIFY(database.open(server.location()).ok);
        QVERIFY(database.insert(rowOf(QStringLiteral("До перезапуска"))).ok);

        // Restarted while the program was idle: the next command connects again by itself.
        QVERIFY(server.run(QStringLiteral("restart")));
        const auto afterRestart = database.insert(rowOf(QStringLiteral("После перезапуска")));
        QVERIFY2(afterRestart.ok, qPrintable(afterRestart.error));

        // Stopped: the command fails with the server named, within the connect timeout.
        QVERIFY(server.run(QStringLiteral("stop")));
        const auto whileStopped = database.insert(rowOf(QStringLiteral("Без сервера")));
        QVERIFY(!whileStopped.ok);
        QVERIFY2(whileStopped.error.contains(QStringLiteral("сервер не отвечает")), qPrintable(whileStopped.error));
        QVERIFY(whileStopped.error.contains(database.location()));
        ServerDatabase atStart;
        const StorageStatus unreachable = atStart.open(server.location());
        QVERIFY(!unreachable.ok);
        QVERIFY2(unreachable.error.contains(QStringLiteral("сервер не отвечает")), qPrintable(unreachable.error));
        QVERIFY(unreachable.error.contains(QStringLiteral("сервер 127.0.0.1:")));

        QVERIFY(server.run(QStringLiteral("start")));
        QVERIFY(database.open(server.location()).ok);
        QCOMPARE(surnames(database, allIds(database)), QStringList{});
    }
};

QTEST_GUILESS_MAIN(ServerDatabaseTest)
#include "ServerDatabaseTest.moc"
