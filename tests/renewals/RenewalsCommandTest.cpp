#include "ExportTestSupport.h"
#include "PdfText.h"
#include "TestRegister.h"
#include "renewals/RenewalsCommand.h"
#include "storage/PolicyColumns.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

using namespace osago;
using namespace osago::test;

namespace {

const QDate kToday(2026, 1, 1);

struct Term
{
    const char* holder;
    const char* vin;
    const char* from;
    const char* to;
};

// January 2026: two policies to renew, one renewed by a later record, one ending after the month.
const Term kTerms[] = {
    {"Second", "VIN2", "21.01.2025", "20.01.2026"},
    {"First", "VIN1", "16.01.2025", "15.01.2026"},
    {"Renewed", "VIN3", "11.01.2025", "10.01.2026"},
    {"Renewal", "VIN3", "11.01.2026", "10.01.2027"},
    {"February", "VIN4", "02.02.2025", "01.02.2026"},
};

} // namespace

// `osago renewals`: its exit statuses, and the table and the PDF it writes.
class RenewalsCommandTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const auto database = m_register.makeDatabase();
        QVERIFY(database->open(m_register.location()).ok);
        for (const Term& term : kTerms) {
            PolicyRow row;
            row.setValue(u"Страхователь_фамилия_фирма", QString::fromUtf8(term.holder));
            row.setValue(u"VIN", QString::fromUtf8(term.vin));
            row.setValue(u"Страх_с", QString::fromUtf8(term.from));
            row.setValue(u"Страх_по", QString::fromUtf8(term.to));
            QVERIFY(database->insert(row).ok);
        }
        QFile foreign(m_folder.filePath(QStringLiteral("notes.txt")));
        QVERIFY(foreign.open(QIODevice::WriteOnly) && foreign.write("not a register\n") > 0);
    }

    void exitStatuses_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("status");
        const QString from = QStringLiteral("01.01.2026");
        const QString to = QStringLiteral("31.01.2026");
        QTest::newRow("no end") << QStringList{"--from", from} << "out.csv" << 2;
        QTest::newRow("no file") << QStringList{"--from", from, "--to", to} << QString() << 2;
        QTest::newRow("other kind of file") << QStringList{"--from", from, "--to", to} << "out.txt" << 2;
        QTest::newRow("not a date") << QStringList{"--from", "32.01.2026", "--to", to} << "out.csv" << 2;
        QTest::newRow("ends before it starts") << QStringList{"--from", to, "--to", from} << "out.csv" << 2;
        QTest::newRow("unknown option") << QStringList{"--from", from, "--to", to, "--agent", "x"} << "out.csv" << 2;
        QTest::newRow("not a register") << QStringList{"--from", from, "--to", to, "--database", "notes.txt"}
                                        << "out.csv" << 1;
        QTest::newRow("csv") << QStringList{"--from", from, "--to", to} << "out.csv" << 0;
        QTest::newRow("xlsx") << QStringList{"--from", from, "--to", to} << "out.xlsx" << 0;
        QTest::newRow("pdf") << QStringList{"--from", from, "--to", to} << "out.pdf" << 0;
    }

    void exitStatuses()
    {
        QFETCH(QStringList, words);
        QFETCH(QString, file);
        QFETCH(int, status);
        const qsizetype database = words.indexOf(QStringLiteral("--database"));
        if (database >= 0)
            words[database + 1] = m_folder.filePath(words[database + 1]);
        else
            words << QStringLiteral("--database") << m_register.location();
        const QString target = file.isEmpty() ? QString() : m_folder.filePath(file);
        if (!target.isEmpty())
            words << target;
        QFile::remove(target);
        QString said;
        QTextStream errors(&said);
        QCOMPARE(runRenewalsCommand(words, errors, kToday), status);
        // A refusal and a success each say one line; only a success leaves a file.
        QCOMPARE(said.count(u'\n'), 1);
        QCOMPARE(said.startsWith(QStringLiteral("osago renewals: ")), status != 0);
        QCOMPARE(!target.isEmpty() && QFile::exists(target), status == 0);
        if (status == 0)
            QCOMPARE(said.trimmed(), QStringLiteral("Договоров: 2"));
    }

    // The CSV: the header row, then the policies by end date, the days left counted from the given day.
    void csvListsThePoliciesByEndDate()
    {
        const QString csv = m_folder.filePath(QStringLiteral("list.csv"));
        QString said;
        QTextStream errors(&said);
        QCOMPARE(runRenewalsCommand({"--from", "01.01.2026", "--to", "31.01.2026", "--database", m_register.location(), csv},
                                    errors, kToday),
                 0);
        bool wellFormed = false;
        const std::vector<QStringList> rows = readCsvFile(csv, &wellFormed);
        QVERIFY(wellFormed);
        QCOMPARE(int(rows.size()), 3);
        QCOMPARE(rows[0].value(5), QStringLiteral("Страх_по"));
        QCOMPARE(rows[1].value(1), QStringLiteral("First"));
        QCOMPARE(rows[1].value(6), QString::number(kToday.daysTo(QDate(2026, 1, 15))));
        QCOMPARE(rows[2].value(1), QStringLiteral("Second"));
        QCOMPARE(rows[2].value(5), QStringLiteral("20.01.2026"));
        const QString pdf = m_folder.filePath(QStringLiteral("list.pdf"));
        QCOMPARE(runRenewalsCommand({"--from", "01.01.2026", "--to", "31.01.2026", "--database", m_register.location(), pdf},
                                    errors, kToday),
                 0);
        const QString text = pdfPages(pdf).join(u'\n');
        QVERIFY2(text.contains(QStringLiteral("Договоров: 2")) && text.contains(QStringLiteral("First"))
                     && !text.contains(QStringLiteral("Renewed")),
                 qPrintable(text));
    }

private:
    TestRegister m_register;
    QTemporaryDir m_folder;
};

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    RenewalsCommandTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "RenewalsCommandTest.moc"
