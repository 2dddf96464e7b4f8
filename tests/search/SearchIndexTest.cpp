#include "storage/sqlite/SqliteSql.h"
#include "storage/SearchFolding.h"
#include "search/RegisterSearch.h"
#include "storage/sqlite/SqliteSearchIndex.h"
#include "SearchTestSupport.h"
#include "StorageTestSupport.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlQuery>

#include <memory>

using namespace osago;
using test::SearchRegister;

namespace {

const QString kSurname = QStringLiteral("Страхователь_фамилия_фирма");

int column(const QString& name)
{
    return policyColumnIndex(name);
}

// A row written by another program, which knows nothing of this program's SQL function: `surname`, tagged
// `tag` (the surname itself unless given), every other column empty.
bool insertElsewhere(test::RawRegister& other, const QString& surname, const QString& tag = {})
{
    QStringList values;
    for (int i = 0; i < kPolicyColumnCount; ++i) {
        if (i == column(kSurname))
            values << surname;
        else
            values << (i == column(test::kTagColumn) ? (tag.isEmpty() ? surname : tag) : QString(""));
    }
    return other.exec(sqliteSql::insert(), values);
}

// `length` characters that compress badly and hold no letter the tests search for: a text too long for an
// index entry.
QString filler(int length)
{
    const QString alphabet = QStringLiteral("0123456789qwxz");
    QString text;
    quint32 state = 7;
    for (int i = 0; i < length; ++i) {
        state = state * 1664525u + 1013904223u;
        text += alphabet[int((state >> 16) % quint32(alphabet.size()))];
    }
    return text;
}

QByteArray fileDigest(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
                                          : QByteArray();
}

} // namespace

// The matching function, the indexes that make a search read one column, and registers that lack them.
class SearchIndexTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    QString olderRegisterPath() const { return m_dir->filePath(QStringLiteral("older.mdb")); }

    // A register as a program without the search indexes made it, holding `surnames`.
    void makeOlderRegister(const QStringList& surnames)
    {
        test::RawRegister other(olderRegisterPath());
        QVERIFY(other.exec(sqliteSql::createTable()));
        for (const QString& surname : surnames)
            QVERIFY(insertElsewhere(other, surname));
    }

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void cleanup() { m_dir.reset(); }

    void foldedText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("folded");
        QTest::newRow("Cyrillic") << "ПЕТРОВ Пётр" << "петров петр";
        QTest::newRow("ё and Ё") << "ЁЛКИН ёлкин" << "елкин елкин";
        QTest::newRow("Latin") << "Renault LOGAN" << "renault logan";
        QTest::newRow("accented Latin") << "ÄÖÜ É" << "äöü é";
        QTest::newRow("signs stay") << "ААА№0123 100% a_b \\ '\"" << "ааа№0123 100% a_b \\ '\"";
        QTest::newRow("empty") << "" << "";
    }

    void foldedText()
    {
        QFETCH(QString, text);
        QFETCH(QString, folded);
        QCOMPARE(searchFolded(text), folded);
    }

    void containsFunction_data()
    {
        QTest::addColumn<QVariant>("text");
        QTest::addColumn<QVariant>("word");
        QTest::addColumn<int>("expected");
        QTest::newRow("inside, other case") << QVariant("Александропетровский") << QVariant("ПЕТРОВ") << 1;
        QTest::newRow("longer than the text") << QVariant("Петров") << QVariant("петрова") << 0;
        QTest::newRow("ё as е") << QVariant("Семёнова") << QVariant("СЕМЕН") << 1;
        QTest::newRow("at the end") << QVariant("А123ВС36") << QVariant("вс36") << 1;
        QTest::newRow("NULL text") << QVariant() << QVariant("а") << 0;
        QTest::newRow("NULL word") << QVariant("а") << QVariant() << 0;
        QTest::newRow("number") << QVariant(123456) << QVariant("345") << 1;
        QTest::newRow("after a malformed byte") << QVariant(QByteArray("\xff") + QStringLiteral("Петров").toUtf8())
                                                << QVariant("петров") << 1;
        QTest::newRow("beyond the basic plane") << QVariant("🚗 ЛАДА") << QVariant("🚗 лада") << 1;
        QTest::newRow("cut sequence") << QVariant(QStringLiteral("Ж").toUtf8().left(1)) << QVariant("ж") << 0;
        QTest::newRow("percent is no wildcard") << QVariant("abc") << QVariant("a%") << 0;
        QTest::newRow("underscore is no wildcard") << QVariant("abc") << QVariant("a_c") << 0;
    }

    void containsFunction()
    {
        OSAGO_FILE_REGISTER_ONLY();
        QFETCH(QVariant, text);
        QFETCH(QVariant, word);
        QFETCH(int, expected);
        SearchRegister reg;
        QVERIFY(reg.opened().ok);
        QSqlQuery query(reg.file().connection());
        QVERIFY(query.prepare(QStringLiteral("SELECT osago_contains(?, ?)")));
        query.addBindValue(text);
        query.addBindValue(word);
        QVERIFY(query.exec() && query.next());
        QCOMPARE(query.value(0).toInt(), expected);
    }

    // The word is a bound value: however it reads, the statement's text stays the same.
    void wordIsNeverPartOfTheStatement()
    {
        const QString word = QStringLiteral("'); DROP TABLE TableStrah;--");
        const auto selection = selectionQuery(RegisterSearch::rowsContaining(column(kSurname), word));
        QCOMPARE(selection.sql, selectionQuery(RegisterSearch::rowsContaining(column(kSurname), QStringLiteral("а"))).sql);
        QCOMPARE(selection.values, QVariantList{word});
    }

    // SQLite reads the column's own index, never the table, for every searched column of a new register.
    void newRegisterSearchesEveryColumnThroughItsIndex()
    {
        OSAGO_FILE_REGISTER_ONLY();
        SearchRegister reg;
        QVERIFY(reg.opened().ok);
        QCOMPARE(searchedColumns().size(), std::size_t(7));
        for (int searched : searchedColumns()) {
            QVERIFY(reg.database().hasSearchIndex(searched));
            QSqlQuery plan(reg.file().connection());
            QVERIFY(plan.prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + selectionQuery(RegisterSearch::rowsContaining(searched, "x")).sql));
            plan.addBindValue(QStringLiteral("x"));
            QVERIFY(plan.exec());
            QVERIFY(plan.next());
            const QString detail = plan.value(3).toString();
            QVERIFY2(detail.contains(QStringLiteral("COVERING INDEX ") + searchIndex(searched).name), qPrintable(detail));
        }
    }

    // The first look reads the oldest rows from the table in their own order, never an index.
    void firstLookReadsTheOldestRowsOnly()
    {
        SearchRegister reg;
        QVERIFY(reg.opened().ok);
        for (const char* surname : {"Орлов", "Соколов", "Орлова", "Орловский"})
            QVERIFY(reg.addRow(QString::fromUtf8(surname), {{kSurname, QString::fromUtf8(surname)}}));
        QVERIFY(reg.model().select(RegisterSearch::rowsContaining(column(kSurname), QStringLiteral("ОРЛОВ"), 3)).ok);
        QCOMPARE(reg.shownTags(), QStringList({"Орлов", "Орлова"}));
        QVERIFY(reg.model().select(RegisterSearch::rowsContaining(column(kSurname), QStringLiteral("ОВ"), 2)).ok);
        QCOMPARE(reg.shownTags(), QStringList({"Орлов", "Соколов"}));

        OSAGO_FILE_REGISTER_ONLY();
        const auto firstLook = selectionQuery(RegisterSearch::rowsContaining(column(kSurname), QStringLiteral("x"), 3));
        QSqlQuery plan(reg.file().connection());
        QVERIFY(plan.prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + firstLook.sql));
        for (const QVariant& value : firstLook.values)
            plan.addBindValue(value);
        QVERIFY(plan.exec());
        QStringList steps;
        while (plan.next())
            steps << plan.value(3).toString();
        QVERIFY2(steps.join(u'\n').contains(QStringLiteral("SEARCH TableStrah USING INTEGER PRIMARY KEY (rowid<?)")),
                 qPrintable(steps.join(u'\n')));
    }

    // What the grid holds when the first rows are painted is the top of the complete answer.
    void firstRowsShownAreTheTopOfTheAnswer_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QStringList>("shownFirst");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("found") << "орл" << QStringList{"Орлов", "Орлова"} << QStringList{"Орлов", "Орлова"};
        QTest::newRow("none: nothing to paint") << "щ" << QStringList{"not painted"} << QStringList{};
    }

    void firstRowsShownAreTheTopOfTheAnswer()
    {
        QFETCH(QString, word);
        QFETCH(QStringList, shownFirst);
        QFETCH(QStringList, found);
        SearchRegister reg;
        QVERIFY(reg.opened().ok);
        for (const char* surname : {"Орлов", "Соколов", "Орлова"})
            QVERIFY(reg.addRow(QString::fromUtf8(surname), {{kSurname, QString::fromUtf8(surname)}}));
        RegisterSearch search(reg.database(), reg.model());
        QStringList painted{QStringLiteral("not painted")};
        QVERIFY(search.find(column(kSurname), word, {}, [&] { painted = reg.shownTags(); }).ok);
        QCOMPARE(painted, shownFirst);
        QCOMPARE(reg.shownTags(), found);
    }

    // Rows written by a program that knows nothing of the search are found, the index kept by SQLite itself.
    void rowsOfAnotherProgramAreFound()
    {
        SearchRegister reg;
        QVERIFY(reg.opened().ok);
        {
            test::RawRegister other(reg.testRegister());
            QVERIFY(insertElsewhere(other, QStringLiteral("Чужой")));
            QVERIFY(insertElsewhere(other, QStringLiteral("Свой")));
        }
        RegisterSearch search(reg.database(), reg.model());
        QVERIFY(search.find(column(kSurname), QStringLiteral("ЧУЖ"), {}, {}).ok);
        QCOMPARE(reg.shownTags(), QStringList{"Чужой"});
    }

    // Words of one letter to whole names, over rows another program wrote, one of them longer than an index
    // entry may be: the rule is the same whatever the word's length.
    void wordsOfEveryLengthFollowTheSameRule_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("one letter, Ё as е") << "Ё" << QStringList{"Ёлкин", "ЕЛКИНА", "long", "Петрова-Ёжикова"};
        QTest::newRow("two letters") << "лк" << QStringList{"Ёлкин", "ЕЛКИНА"};
        QTest::newRow("two letters, in the long text") << "ёЖ" << QStringList{"long", "Петрова-Ёжикова"};
        QTest::newRow("whole name, е as ё") << "ЕЛКИН" << QStringList{"Ёлкин", "ЕЛКИНА"};
        QTest::newRow("name, in the long text") << "петров" << QStringList{"long", "Петрова-Ёжикова"};
        QTest::newRow("Latin, two letters") << "lo" << QStringList{"Renault LOGAN"};
        QTest::newRow("Latin") << "LOGAN" << QStringList{"Renault LOGAN"};
        QTest::newRow("percent is no wildcard") << "%" << QStringList{"100% _под_"};
        QTest::newRow("underscore is no wildcard") << "_п" << QStringList{"100% _под_"};
        QTest::newRow("signs") << "а-ё" << QStringList{"Петрова-Ёжикова"};
        QTest::newRow("none") << "щ" << QStringList{};
    }

    void wordsOfEveryLengthFollowTheSameRule()
    {
        QFETCH(QString, word);
        QFETCH(QStringList, found);
        SearchRegister reg;
        QVERIFY(reg.opened().ok);
        {
            test::RawRegister other(reg.testRegister());
            for (const char* surname : {"Ёлкин", "ЕЛКИНА", "Renault LOGAN", "100% _под_"})
                QVERIFY(insertElsewhere(other, QString::fromUtf8(surname)));
            QVERIFY(insertElsewhere(other, filler(5000) + QStringLiteral(" Петров Ёж ") + filler(5000), QStringLiteral("long")));
            QVERIFY(insertElsewhere(other, QStringLiteral("Петрова-Ёжикова")));
        }
        RegisterSearch search(reg.database(), reg.model());
        QVERIFY(search.find(column(kSurname), word, {}, {}).ok);
        QCOMPARE(reg.shownTags(), found);
    }

    void olderRegisterGetsTheIndexAtItsFirstSearch()
    {
        OSAGO_FILE_REGISTER_ONLY();
        makeOlderRegister({"Белых", "Белов", "Чернов"});
        SqliteDatabase database;
        QVERIFY(database.open(olderRegisterPath()).ok);
        const int owner = column(QStringLiteral("Владелец_фамилия_фирма"));
        QVERIFY(!database.hasSearchIndex(column(kSurname)));

        RegisterModel model(database);
        RegisterSearch search(database, model);
        QVERIFY(search.find(column(kSurname), QStringLiteral("бел"), {}, {}).ok);
        QCOMPARE(model.rowCount(), 2);
        QVERIFY(database.hasSearchIndex(column(kSurname)));
        QVERIFY2(!database.hasSearchIndex(owner), "only the column searched gets its index");
    }

    // A register opened read-only is never written to: the search reads the table instead of an index.
    void readOnlyRegisterIsSearchedUnchanged()
    {
        OSAGO_FILE_REGISTER_ONLY();
        makeOlderRegister({"Белых", "Белов", "Чернов"});
        const QByteArray before = fileDigest(olderRegisterPath());
        {
            SqliteDatabase database;
            QVERIFY(database.open(olderRegisterPath(), SqliteDatabase::Access::ReadOnly).ok);
            RegisterModel model(database);
            RegisterSearch search(database, model);
            QVERIFY(search.find(column(kSurname), QStringLiteral("ЧЕРН"), {}, {}).ok);
            QCOMPARE(model.rowCount(), 1);
            QVERIFY(!database.hasSearchIndex(column(kSurname)));
        }
        QCOMPARE(fileDigest(olderRegisterPath()), before);
    }
};

QTEST_MAIN(SearchIndexTest)
#include "SearchIndexTest.moc"
