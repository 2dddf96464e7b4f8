#include "transfer/CopyRegisterCommand.h"
#include "CopyTestSupport.h"
#include "storage/PolicyDatabase.h"
#include "transfer/RegisterCopy.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <memory>

using namespace osago;
using namespace osago::test;

// `osago copy-register`: moving a register's rows, whole or not at all.
class CopyRegisterTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
    }

    // More rows than one block read, so the copy goes on across blocks.
    void copiesEveryRowInOrderIntoANewFile()
    {
        const std::vector<QStringList> source = fillRegister(path("from.mdb"), 700, QStringLiteral("и"));
        QCOMPARE(source.size(), std::size_t(700));
        QVERIFY(!QFile::exists(path("to.mdb")));

        const CommandRun run = copyRegister({path("from.mdb"), path("to.mdb")});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.output, QStringLiteral("Скопировано записей: 700\n"));
        QVERIFY2(run.errors.endsWith(u"\rСкопировано 100 % (700 из 700)\n"), qPrintable(run.errors));
        QCOMPARE(rowsOf(path("to.mdb")), source);
        QCOMPARE(rowsOf(path("from.mdb")), source);
    }

    // Into a new file, whose indexes are built after its rows, and after the rows of a file holding some.
    void keepsEveryByteAndNull()
    {
        const std::vector<QStringList> stored = fillWithBytesToEscape(path("from.mdb"));
        QVERIFY(!stored.empty());
        QCOMPARE(copyRegister({path("from.mdb"), path("to.mdb")}).status, 0);
        QCOMPARE(storedRowsOf(path("to.mdb")), stored);
        QCOMPARE(copyRegister({path("from.mdb"), path("to.mdb"), "--append"}).status, 0);
        QCOMPARE(storedRowsOf(path("to.mdb")).size(), std::size_t(4));
        QCOMPARE(storedRowsOf(path("to.mdb"))[2], stored[0]);
    }

    void refusesATargetHoldingRowsUnlessAppending()
    {
        const std::vector<QStringList> source = fillRegister(path("from.mdb"), 3, QStringLiteral("и"));
        const std::vector<QStringList> target = fillRegister(path("to.mdb"), 2, QStringLiteral("ц"));
        QCOMPARE(target.size(), std::size_t(2));

        const CommandRun refused = copyRegister({path("from.mdb"), path("to.mdb")});
        QCOMPARE(refused.status, 1);
        QVERIFY2(refused.errors.contains(u"уже есть записи (2)") && refused.errors.contains(u"--append"),
                 qPrintable(refused.errors));
        QCOMPARE(rowsOf(path("to.mdb")), target);

        const CommandRun appended = copyRegister({path("from.mdb"), path("to.mdb"), QStringLiteral("--append")});
        QCOMPARE(appended.status, 0);
        QCOMPARE(appended.output, QStringLiteral("Скопировано записей: 3\n"));
        std::vector<QStringList> both = target;
        both.insert(both.end(), source.begin(), source.end());
        QCOMPARE(rowsOf(path("to.mdb")), both);
    }

    void refusesUnusableWords_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("problem");
        const QString usage = QStringLiteral("использование: osago copy-register ОТКУДА КУДА [--append]");
        QTest::newRow("nothing") << QStringList{} << 2 << usage;
        QTest::newRow("no target") << QStringList{"from.mdb"} << 2 << usage;
        QTest::newRow("three registers") << QStringList{"from.mdb", "to.mdb", "more.mdb"} << 2 << usage;
        QTest::newRow("unknown option") << QStringList{"--apend", "from.mdb", "to.mdb"} << 2
                                        << "неизвестный параметр --apend";
        QTest::newRow("the same file") << QStringList{"from.mdb", "from.mdb"} << 2
                                       << "ОТКУДА и КУДА — один и тот же реестр";
        QTest::newRow("the same file by another path") << QStringList{"from.mdb", "./sub/../from.mdb"} << 2
                                                       << "ОТКУДА и КУДА — один и тот же реестр";
        QTest::newRow("no source") << QStringList{"missing.mdb", "to.mdb"} << 1 << "нет файла реестра";
    }

    void refusesUnusableWords()
    {
        QFETCH(QStringList, words);
        QFETCH(int, status);
        QFETCH(QString, problem);
        const std::vector<QStringList> source = fillRegister(path("from.mdb"), 1, QStringLiteral("и"));
        QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("sub")));
        for (QString& word : words) {
            if (word.endsWith(u".mdb"))
                word = path(word);
        }
        const CommandRun run = copyRegister(words);
        QCOMPARE(run.status, status);
        QVERIFY2(run.errors.startsWith(u"osago copy-register: ") && run.errors.contains(problem),
                 qPrintable(run.errors));
        QVERIFY(run.output.isEmpty());
        QVERIFY(!QFile::exists(path("to.mdb")));
        QCOMPARE(rowsOf(path("from.mdb")), source);
    }

    void sourceThatIsNoRegisterAddsNothing()
    {
        QFile garbage(path("from.mdb"));
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write("not a register at all");
        garbage.close();
        const std::vector<QStringList> target = fillRegister(path("to.mdb"), 2, QStringLiteral("ц"));

        const CommandRun run = copyRegister({path("from.mdb"), path("to.mdb"), QStringLiteral("--append")});
        QCOMPARE(run.status, 1);
        QVERIFY(run.output.isEmpty());
        QCOMPARE(rowsOf(path("to.mdb")), target);
        QCOMPARE(copyRegister({path("from.mdb"), path("new.mdb")}).status, 1);
        QVERIFY(!QFile::exists(path("new.mdb")));
    }

    // The source's table goes while the copy is under way: the rows already added go with the transaction.
    void sourceFailingMidwayLeavesTheTargetAsItWas()
    {
        fillRegister(path("from.mdb"), 1500, QStringLiteral("и"));
        const std::vector<QStringList> target = fillRegister(path("to.mdb"), 2, QStringLiteral("ц"));
        const std::unique_ptr<PolicyDatabase> from = makeDatabase(path("from.mdb"));
        const std::unique_ptr<PolicyDatabase> to = makeDatabase(path("to.mdb"));
        QVERIFY(from->open(path("from.mdb"), PolicyDatabase::Access::ReadOnly).ok);
        QVERIFY(to->open(path("to.mdb")).ok);
        RawConnection other(path("from.mdb"));
        bool dropped = false;
        const StorageResult<qint64> copied =
            osago::copyRegister(*from, *to, true, [&](qint64 done, qint64 total) {
                QCOMPARE(total, qint64(1500));
                if (done > 0 && !dropped)
                    dropped = other.exec(QStringLiteral("DROP TABLE TableStrah"));
            });
        QVERIFY(dropped);
        QVERIFY(!copied.ok);
        QVERIFY(!copied.error.isEmpty());
        to->close();
        QCOMPARE(rowsOf(path("to.mdb")), target);
    }

private:
    QString path(const QString& name) const { return m_folder->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_folder;
};

QTEST_GUILESS_MAIN(CopyRegisterTest)
#include "CopyRegisterTest.moc"
