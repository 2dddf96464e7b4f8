#include "export/CsvWriter.h"
#include "export/ExportCommand.h"
#include "ExportTestSupport.h"
#include "export/RegisterExport.h"
#include "storage/RegisterRowStream.h"
#include "StorageTestSupport.h"
#include "export/XlsxWriter.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>
#include <QXmlStreamReader>

using namespace osago;
using namespace osago::test;

namespace {

// A text as a reader following the format decodes it: each "_xHHHH_" is the character it names.
QString decodedXlsxText(const QString& stored)
{
    QString text;
    for (qsizetype i = 0; i < stored.size(); ++i) {
        bool isEscape = stored.mid(i, 2) == u"_x" && i + 6 < stored.size() && stored[i + 6] == u'_';
        const ushort code = isEscape ? stored.mid(i + 2, 4).toUShort(&isEscape, 16) : 0;
        if (isEscape) {
            text += QChar(code);
            i += 6;
        } else {
            text += stored[i];
        }
    }
    return text;
}

// The rows of one sheet of an XLSX file written with inline strings, as texts by cell position.
std::vector<QStringList> sheetRows(const QString& xlsx, int sheet)
{
    const QByteArray xml = zipMember(xlsx, QStringLiteral("xl/worksheets/sheet%1.xml").arg(sheet));
    std::vector<QStringList> rows;
    QXmlStreamReader reader(xml);
    int column = 0;
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        if (reader.name() == u"row") {
            rows.emplace_back();
        } else if (reader.name() == u"c") {
            const QString ref = reader.attributes().value(QStringLiteral("r")).toString();
            column = 0;
            for (const QChar c : ref) {
                if (c.isLetter())
                    column = column * 26 + (c.unicode() - 'A' + 1);
            }
            --column;
        } else if (reader.name() == u"t") {
            QStringList& row = rows.back();
            while (row.size() <= column)
                row << QString();
            row[column] = decodedXlsxText(reader.readElementText());
        }
    }
    for (QStringList& row : rows) {
        while (row.size() < kPolicyColumnCount)
            row << QString();
    }
    return rows;
}

} // namespace

class ExportTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_folderOwner = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folderOwner->isValid());
        m_path = m_folder().filePath(QStringLiteral("Baza.mdb"));
        QVERIFY(m_database.open(m_path).ok);
        m_rows.clear();
        for (int n = 0; n < 9; ++n) {
            const PolicyRow row = awkwardRow(n, QStringLiteral("%1.03.2026").arg(n + 1, 2, 10, QLatin1Char('0')));
            const auto saved = m_database.insert(row);
            QVERIFY(saved.ok);
            PolicyRow stored = row;
            stored.setValue(rowCodeColumnIndex(), saved.value);
            m_rows.push_back(stored.values());
        }
    }
    void cleanup() { m_database.close(); m_folderOwner.reset(); }

    void csvReadsBackAsTheTable()
    {
        const QString target = m_folder().filePath(QStringLiteral("out.csv"));
        RegisterRowStream rows(m_database, std::nullopt);
        const ExportOutcome outcome = exportRegister(rows, {}, target);
        QCOMPARE(outcome.kind, ExportOutcome::Kind::Written);
        QCOMPARE(outcome.rowsWritten, 9);

        const QByteArray bytes = fileBytes(target);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        bool wellFormed = false;
        const std::vector<QStringList> read = readCsv(QString::fromUtf8(bytes.mid(3)), &wellFormed);
        QVERIFY(wellFormed);
        QCOMPARE(qsizetype(read.size()), 10);
        QCOMPARE(read.front(), policyColumnNames());
        for (std::size_t i = 0; i < m_rows.size(); ++i)
            QCOMPARE(read[i + 1], m_rows[i]);
    }

    void periodKeepsIssuedRowsAndCountsUndated()
    {
        QVERIFY(m_database.insert(awkwardRow(20, QStringLiteral("  .  .    "))).ok);
        const QString target = m_folder().filePath(QStringLiteral("march.csv"));
        RegisterRowStream rows(m_database, std::nullopt);
        const IssuePeriod period{QDate(2026, 3, 3), QDate(2026, 3, 5)};
        const ExportOutcome outcome = exportRegister(rows, {period}, target);
        QCOMPARE(outcome.rowsWritten, 3);
        QCOMPARE(outcome.undatedRows, 1);
        bool wellFormed = false;
        const auto read = readCsv(QString::fromUtf8(fileBytes(target).mid(3)), &wellFormed);
        QCOMPARE(qsizetype(read.size()), 4);
        QCOMPARE(read[1], m_rows[2]);
        QCOMPARE(read[3], m_rows[4]);
    }

    void searchSelectionIsExported()
    {
        const QString target = m_folder().filePath(QStringLiteral("found.csv"));
        const std::optional<RowSelection> found = markForSearch(m_database, m_rows, {6, 1});
        QVERIFY(found);
        RegisterRowStream rows(m_database, found);
        QCOMPARE(exportRegister(rows, {}, target).rowsWritten, 2);
        bool wellFormed = false;
        const auto read = readCsv(QString::fromUtf8(fileBytes(target).mid(3)), &wellFormed);
        QCOMPARE(read[1], m_rows[1]);
        QCOMPARE(read[2], m_rows[6]);
    }

    void xlsxHoldsEveryRowAcrossSheets()
    {
        const QString target = m_folder().filePath(QStringLiteral("out.xlsx"));
        XlsxWriter writer(4);
        QVERIFY(writer.open(target, policyColumnNames()));
        Utf8Rows rows;
        for (const QStringList& row : m_rows)
            rows.appendRow(row);
        for (std::size_t i = 0; i < rows.size(); ++i)
            QVERIFY(writer.writeRow(rows.row(i)));
        QVERIFY2(writer.finish(), qPrintable(writer.error()));

        std::vector<QStringList> data;
        for (int sheet = 1; sheet <= 3; ++sheet) {
            const std::vector<QStringList> rows = sheetRows(target, sheet);
            QVERIFY2(!rows.empty(), qPrintable(QStringLiteral("sheet %1 missing").arg(sheet)));
            QCOMPARE(rows.front(), policyColumnNames());
            data.insert(data.end(), rows.begin() + 1, rows.end());
        }
        QVERIFY(sheetRows(target, 4).empty());
        QCOMPARE(data.size(), m_rows.size());
        for (std::size_t i = 0; i < data.size(); ++i)
            QCOMPARE(data[i], m_rows[i]);
        const QByteArray workbook = zipMember(target, QStringLiteral("xl/worksheets/sheet1.xml"));
        QVERIFY(workbook.contains("<pane ySplit=\"1\""));
    }

    // Texts that look like the format's own escapes, line breaks of every kind, tabs and blanks: written so, and
    // read back as stored.
    void xlsxKeepsEveryText_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("plain") << QByteArray("Иванов_Пётр x0041") << QByteArray("Иванов_Пётр x0041");
        QTest::newRow("escape-like") << QByteArray("a_x000D_b") << QByteArray("a_x005F_x000D_b");
        QTest::newRow("in Cyrillic") << QByteArray("код_x0041_конец") << QByteArray("код_x005F_x0041_конец");
        QTest::newRow("escaped underscore") << QByteArray("_X005F_") << QByteArray("_x005F_X005F_");
        QTest::newRow("before an escaped CR") << QByteArray("_x0041\r") << QByteArray("_x005F_x0041_x000D_");
        QTest::newRow("line breaks") << QByteArray("\ra\r\nb\nc") << QByteArray("_x000D_a_x000D_\nb\nc");
        QTest::newRow("tabs, blanks, controls") << QByteArray("\t  \x01\x1f ") << QByteArray("\t  _x0001__x001F_ ");
        QTest::newRow("too few digits") << QByteArray("_x12_") << QByteArray("_x12_");
    }

    // Escaped once, by this program: the library adds nothing to a text escaped already.
    void xlsxKeepsEveryText()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, written);
        const QString target = m_folder().filePath(QStringLiteral("one.xlsx"));
        XlsxWriter writer;
        QVERIFY(writer.open(target, {QStringLiteral("Текст")}));
        Utf8Rows rows;
        rows.appendRow({QString::fromUtf8(text)});
        QVERIFY(writer.writeRow(rows.row(0)));
        QVERIFY(writer.finish());
        const QByteArray sheet = zipMember(target, QStringLiteral("xl/worksheets/sheet1.xml"));
        QVERIFY2(sheet.contains("<t>" + written + "</t>") || sheet.contains("\">" + written + "</t>"), sheet.constData());
        QCOMPARE(sheetRows(target, 1).at(1).front(), QString::fromUtf8(text));
    }

    // A spreadsheet importing with commas and tabs ticked as well finds the same 123 columns.
    void csvQuotesEveryField_data()
    {
        QTest::addColumn<QString>("separators");
        QTest::newRow("semicolon") << QStringLiteral(";");
        QTest::newRow("semicolon, comma and tab") << QStringLiteral(";,\t");
    }

    void csvQuotesEveryField()
    {
        QFETCH(QString, separators);
        PolicyRow split = awkwardRow(30, QStringLiteral("10.03.2026"), QStringLiteral("1497,7462"));
        split.setValue(u"Марка_модель", QStringLiteral("ВАЗ, 2107\tседан"));
        split.setValue(u"Страхователь_индекс", QStringLiteral("007"));
        const auto saved = m_database.insert(split);
        QVERIFY(saved.ok);
        split.setValue(rowCodeColumnIndex(), saved.value);
        m_rows.push_back(split.values());

        const QString target = m_folder().filePath(QStringLiteral("quoted.csv"));
        RegisterRowStream rows(m_database, std::nullopt);
        QCOMPARE(exportRegister(rows, {}, target).kind, ExportOutcome::Kind::Written);
        const CsvReading read = readCsvSplitAt(QString::fromUtf8(fileBytes(target).mid(3)), separators);
        QVERIFY(read.wellFormed);
        QVERIFY(read.everyFieldQuoted);
        QCOMPARE(read.rows.size(), m_rows.size() + 1);
        QCOMPARE(read.rows.front(), policyColumnNames());
        for (std::size_t i = 0; i < m_rows.size(); ++i)
            QCOMPARE(read.rows[i + 1], m_rows[i]);
    }

    void cancelledOrFailedExportLeavesTheOldFile()
    {
        const QString target = m_folder().filePath(QStringLiteral("kept.xlsx"));
        {
            QFile old(target);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old contents");
        }
        RegisterRowStream rows(m_database, std::nullopt);
        const ExportOutcome outcome = exportRegister(rows, {}, target, [](std::size_t, std::size_t) { return false; });
        QCOMPARE(outcome.kind, ExportOutcome::Kind::Cancelled);
        QCOMPARE(fileBytes(target), QByteArray("old contents"));
        QCOMPARE(QDir(m_folder().path()).entryList(QDir::Files | QDir::Hidden).size(), 4); // register, WAL, index, kept

        const ExportOutcome failed = exportRegister(rows, {}, m_folder().filePath(QStringLiteral("no/such/out.csv")));
        QCOMPARE(failed.kind, ExportOutcome::Kind::Failed);
        QVERIFY(failed.error.startsWith(QStringLiteral("Не удалось записать файл «out.csv»")));
    }

    void command_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("written") << QStringList{"--from", "02.03.2026", "--to", "04.03.2026", "OUT.csv"} << 0
                                 << "Записано строк: 3.";
        QTest::newRow("no file") << QStringList{"--from", "02.03.2026"} << 2 << "использование";
        QTest::newRow("bad date") << QStringList{"--from", "31.02.2026", "OUT.csv"} << 2 << "нужна дата";
        QTest::newRow("reversed") << QStringList{"--from", "05.03.2026", "--to", "01.03.2026", "OUT.csv"} << 2
                                  << "позже";
        QTest::newRow("extension") << QStringList{"OUT.txt"} << 2 << ".csv или .xlsx";
        QTest::newRow("unknown option") << QStringList{"--all", "OUT.csv"} << 2 << "неизвестный параметр";
        QTest::newRow("no register") << QStringList{"--database", "missing.mdb", "OUT.csv"} << 1 << "не открыт";
        QTest::newRow("unwritable") << QStringList{"no/such/OUT.csv"} << 1 << "Не удалось записать";
    }

    void command()
    {
        QFETCH(QStringList, words);
        QFETCH(int, status);
        QFETCH(QString, message);
        QStringList arguments;
        if (!words.contains(QStringLiteral("--database")))
            arguments << QStringLiteral("--database") << m_path;
        for (const QString& word : words)
            arguments << QString(word).replace(QStringLiteral("OUT"), m_folder().filePath(QStringLiteral("cli")))
                                      .replace(QStringLiteral("missing.mdb"), m_folder().filePath(QStringLiteral("missing.mdb")))
                                      .replace(QStringLiteral("no/such"), m_folder().filePath(QStringLiteral("no/such")));
        QString out;
        QString err;
        QTextStream output(&out);
        QTextStream errors(&err);
        QCOMPARE(runExportCommand(arguments, output, errors), status);
        QVERIFY2(err.contains(message), qPrintable(err));
        QCOMPARE(QFile::exists(m_folder().filePath(QStringLiteral("cli.csv"))), status == 0);
    }

private:
    QTemporaryDir& m_folder() { return *m_folderOwner; }
    std::unique_ptr<QTemporaryDir> m_folderOwner;
    QString m_path;
    SqliteDatabase m_database;
    std::vector<QStringList> m_rows;
};

QTEST_GUILESS_MAIN(ExportTest)
#include "ExportTest.moc"
