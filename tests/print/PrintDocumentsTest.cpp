#include "editor/EditorBinding.h"
#include "print/BlankDocument.h"
#include "print/HtmlDocument.h"
#include "print/PdfExport.h"
#include "PdfText.h"
#include "print/PolicyDocuments.h"
#include "print/PrintFields.h"
#include "print/RecordFactors.h"
#include "PrintSamples.h"

#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace osago;
using namespace osago::test;

namespace {

constexpr double kPointsPerMm = 72 / 25.4;

QString resourceText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Every column at the longest text its control takes, broken into words as real names and addresses are.
PolicyRow longestRow()
{
    auto words = [](int length) { return QStringLiteral("Ширококолесов ").repeated(8).left(length); };
    const QHash<QString, int> limits = {
        {"Страхователь_имя", 15}, {"Страхователь_отчество", 15}, {"Владелец_имя", 15}, {"Владелец_отчество", 15},
        {"Марка_модель", 25}, {"Регистрационный_знак", 9}, {"Номер_серия_полиса", 14}, {"Квитанция", 6},
        {"Номер_серия_спец_знака", 14}, {"Страхователь_др_ИНН", 10}, {"Владелец_др_ИНН", 10},
        {"Страхователь_страна", 12}, {"Владелец_страна", 12}, {"Страхователь_регион", 35},
        {"Владелец_регион", 35}, {"Страхователь_район", 15}, {"Владелец_район", 15}, {"Страхователь_адрес", 40},
        {"Владелец_адрес", 40}, {"Страхователь_индекс", 6}, {"Владелец_индекс", 6}, {"Страхователь_телефон", 15},
        {"Владелец_телефон", 15}, {"Страхователь_документ", 40}, {"Владелец_документ", 40},
        {"Страхователь_серия_номер", 12}, {"Владелец_серия_номер", 12}, {"Тип_ТС", 60}, {"Год_выпуска", 4},
        {"Номер_шасси", 17}, {"Кузов", 17}, {"VIN", 17}, {"Мощность_л_с", 4}, {"Мощность_кВт", 4},
        {"Серия_номер_ПТС", 10}, {"Дата_выдачи_ПТС", 10}, {"Масса_без_нагрузки_кг", 5},
        {"Количество_мест_сидения", 3}, {"Разрешенная_макс_масса_кг", 5}, {"Время_начала_срока_страхования", 8},
        {"Дата_начала_срока_страхования", 10}, {"Дата_выдачи", 10}, {"Особые_отметки", 70},
        {"Срок_использ_месяцы", 7}, {"Страх_с", 10}, {"Страх_по", 10}, {"Использ_с", 10}, {"Использ_по", 10},
        {"Класс_ТС", 2}, {"Сумма_страхования", 12},
    };
    const int driverLimits[kDriverAttributeCount] = {45, 10, 1, 25, 22, 10, 3, 2, 3};
    PolicyRow row = sixDriverRow();
    for (int column = 0; column < kPolicyColumnCount; ++column) {
        const ColumnBinding& info = columnBindings()[std::size_t(column)];
        if (info.coding == ColumnCoding::Text || info.coding == ColumnCoding::PeriodOrTerm
            || info.coding == ColumnCoding::AgentName)
            row.setValue(column, words(limits.value(policyColumnNames().at(column), 20)));
        else if (info.coding == ColumnCoding::DriverAttribute)
            row.setValue(column, words(driverLimits[info.attribute - 1]));
    }
    return row;
}

struct WordBox
{
    double x = -1;
    double y = -1;
};

// Where the word `word` stands on page 1 of the PDF, in points from the top-left corner.
WordBox wordBox(const QString& pdf, const QString& word)
{
    const QString boxes = popplerOutput(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, "-"});
    const QRegularExpression pattern(QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>%1</word>")
                                         .arg(QRegularExpression::escape(word)));
    const QRegularExpressionMatch match = pattern.match(boxes);
    if (!match.hasMatch())
        return {};
    return {match.captured(1).toDouble(), match.captured(2).toDouble()};
}

} // namespace

class PrintDocumentsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeOne(const std::shared_ptr<const Document>& document, const QString& name)
    {
        const QString path = m_dir.filePath(name);
        QString error;
        if (!writePdf({document}, path, &error))
            qWarning("%s", qPrintable(error));
        return path;
    }

    QString pageText(const PrintRecord& record, DocumentIndex index)
    {
        const DocumentList documents = makePolicyDocuments(record, {});
        const QStringList pages = pdfPages(writeOne(documents.at(std::size_t(index)), "page.pdf"));
        return pages.size() == 1 ? pages.front() : QString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        for (const char* tool : {"pdftotext", "pdffonts"})
            QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(), "poppler-utils is needed");
    }

    void templatesNameOnlyKnownFields()
    {
        const PrintRecord record = printRecord(sixDriverRow());
        const PrintFields fields(record);
        QStringList texts = {resourceText(":/print/templates/application-page1.html"),
                             resourceText(":/print/templates/application-page2.html")};
        const FilledBlank blank = policyBlankTemplate();
        QVERIFY(blank.fields.size() > 20);
        texts << blank.guideTitle;
        for (const BlankField& field : blank.fields)
            texts << field.text;
        for (const QString& text : texts) {
            QVERIFY(!text.isEmpty());
            const QStringList problems = templateProblems(text, fields.lookup());
            QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
        }
    }

    void applicationPagesFitOnePage_data()
    {
        QTest::addColumn<PolicyRow>("row");
        QTest::newRow("six drivers") << sixDriverRow();
        QTest::newRow("longest texts") << longestRow();
        QTest::newRow("any driver") << unrestrictedRow();
    }

    void applicationPagesFitOnePage()
    {
        QFETCH(PolicyRow, row);
        const DocumentList documents = makePolicyDocuments(printRecord(row), {});
        for (const DocumentIndex index : {ApplicationPage1, ApplicationPage2}) {
            const auto* page = dynamic_cast<const HtmlDocument*>(documents.at(std::size_t(index)).get());
            QVERIFY(page);
            QCOMPARE(page->pageCount(), 1);
        }
    }

    void documentsHoldTheRecord_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("columns");
        const QStringList people = {"Страхователь_фамилия_фирма", "Страхователь_имя", "Страхователь_отчество",
                                    "Владелец_фамилия_фирма", "Владелец_имя", "Владелец_отчество"};
        const QStringList vehicle = {"Марка_модель", "VIN", "Регистрационный_знак", "Серия_номер_ПТС",
                                     "Дата_выдачи_ПТС", "Кузов", "Год_выпуска", "Мощность_л_с"};
        QStringList drivers;
        for (int n = 1; n <= kDriverCount; ++n)
            drivers << QStringLiteral("Допущен_ФИО_%1").arg(n) << QStringLiteral("Допущен_ВУ_%1").arg(n);
        const QStringList terms = {"Страх_с", "Страх_по", "Использ_с", "Использ_по"};
        const QStringList closing = {"Сумма_страхования", "ФИО_агента", "Дата_выдачи", "Особые_отметки"};

        QTest::newRow("application 1")
            << int(ApplicationPage1)
            << people + vehicle
                   + QStringList{"Владелец_адрес", "Страхователь_адрес", "Страхователь_серия_номер",
                                 "Владелец_документ", "Номер_серия_спец_знака", "Квитанция", "Номер_серия_полиса",
                                 "Страхователь_телефон", "Мощность_кВт"};
        QTest::newRow("application 2")
            << int(ApplicationPage2)
            << drivers + terms + closing
                   + QStringList{"Время_начала_срока_страхования", "Дата_начала_срока_страхования",
                                 "Допущен_адрес_1", "Допущен_дата_рождения_6", "Номер_серия_полиса"};
        QTest::newRow("policy") << int(PolicyBlank)
                                << people + vehicle + drivers + terms + closing
                                       + QStringList{"Владелец_адрес", "Квитанция", "Номер_серия_спец_знака"};
        QTest::newRow("backing sheet") << int(BackingSheet)
                                       << people + vehicle + drivers + terms + closing
                                              + QStringList{"Владелец_адрес", "Номер_серия_полиса"};
    }

    void documentsHoldTheRecord()
    {
        QFETCH(int, index);
        QFETCH(QStringList, columns);
        const PrintRecord record = printRecord(sixDriverRow());
        const QString text = pageText(record, DocumentIndex(index));
        QVERIFY2(!text.isEmpty(), "the PDF has no text");
        for (const QString& column : columns) {
            const QString value = record.row.value(column).simplified();
            QVERIFY2(text.contains(value), qPrintable(column + " = " + value + " missing from: " + text));
        }
        QVERIFY(text.contains(record.insurer) || index == ApplicationPage2);
    }

    // A printed form reads as filled in by hand: empty parts leave no separators or captions behind.
    void emptyFieldsLeaveNoSeams()
    {
        PolicyRow row = sixDriverRow();
        fill(row, {{u"Владелец_индекс", u""}, {u"Владелец_район", u""}, {u"Мощность_кВт", u""},
                   {u"Страхователь_серия_номер", u""}, {u"Номер_серия_полиса", u"   №          "}});
        const QString text = pageText(printRecord(row), ApplicationPage1);
        QVERIFY2(!text.isEmpty(), "the PDF has no text");
        const QStringList present = {"Паспорт РФ личность", "87 л.с. Разрешённая",
                                     "Адрес РФ, Тальградская область населённый пункт: Тальград пр. Труда",
                                     "Адрес 394036, РФ, Тальградская область район: Северный, населённый пункт: Тальград"};
        for (const QString& part : present)
            QVERIFY2(text.contains(part), qPrintable(part + " missing from: " + text));
        for (const QString& seam : {"кВт", "район: ,", ", ,", "Паспорт РФ,", "серия и номер: личность", "Полис серия"})
            QVERIFY2(!text.contains(seam), qPrintable(QString(seam) + " found in: " + text));
    }

    void loadFieldsPrintOnlyForTheirVehicleTypes_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("printed");
        // As the page lays the two columns of the table out in text.
        QTest::newRow("car") << "Легковой автомобиль"
                             << "масса, Масса без нагрузки, кг кг Количество мест для сидения Регистрационный";
        QTest::newRow("lorry") << "Грузовой автомобиль"
                               << "масса, 12000 Масса без нагрузки, 7500 кг кг Количество мест для сидения Регистрационный";
        QTest::newRow("bus") << "Автобус"
                             << "масса, Масса без нагрузки, кг кг Количество мест для сидения 30 Регистрационный";
    }
    void loadFieldsPrintOnlyForTheirVehicleTypes()
    {
        QFETCH(QString, type);
        QFETCH(QString, printed);
        PolicyRow row = sixDriverRow();
        row.setValue(u"Тип_ТС", type);
        fill(row, {{u"Разрешенная_макс_масса_кг", u"12000"}, {u"Масса_без_нагрузки_кг", u"7500"},
                   {u"Количество_мест_сидения", u"30"}});
        const QString text = pageText(printRecord(row), ApplicationPage1);
        QVERIFY2(text.contains(printed), qPrintable(text));
        QCOMPARE(text.contains(u"12000"), type == u"Грузовой автомобиль");
        QCOMPARE(text.contains(u" 30 "), type == u"Автобус");
    }

    void specialCharactersPrintAsTyped()
    {
        const QString address = QStringLiteral("пр. Труда <b>7</b> & Ко");
        const PrintRecord record = printRecord(sixDriverRow());
        QCOMPARE(record.row.value(u"Владелец_адрес"), address);
        QVERIFY(pageText(record, ApplicationPage1).contains(address));
        QVERIFY(pageText(record, PolicyBlank).contains(address));
    }

    void purposesAreTicked()
    {
        const QString text = pageText(printRecord(sixDriverRow()), ApplicationPage2);
        QVERIFY2(text.contains(kCheckedBox + " Личная"), qPrintable(text));
        QVERIFY(text.contains(kUncheckedBox + " Такси"));
        QVERIFY(text.contains(kUncheckedBox + " Учебная езда"));
    }

    void driversOrAnyDriver_data()
    {
        QTest::addColumn<PolicyRow>("row");
        QTest::addColumn<bool>("unrestricted");
        QTest::newRow("listed") << sixDriverRow() << false;
        QTest::newRow("any driver") << unrestrictedRow() << true;
    }

    void driversOrAnyDriver()
    {
        QFETCH(PolicyRow, row);
        QFETCH(bool, unrestricted);
        const QString text = pageText(printRecord(row), ApplicationPage2);
        QCOMPARE(text.contains("Без ограничений"), unrestricted);
        QCOMPARE(text.contains("Водительское удостоверение"), !unrestricted);
        QCOMPARE(text.contains("Андреев Борис Олегович"), !unrestricted);
    }

    void factorsOfTheEditorArePrinted()
    {
        PrintRecord record = printRecord(sixDriverRow());
        record.factors = TariffFactors{{"1980", "1,3", "0,95", "1,05", "1,5", "1,1", "0,9", "0,7", "1,2"}};
        const QString text = pageText(record, ApplicationPage2);
        QVERIFY2(text.contains("ТБ КТ КБМ КВС КО КМ КС КП КН 1980 1,3 0,95 1,05 1,5 1,1 0,9 0,7 1,2"),
                 qPrintable(text));
    }

    void recomputedFactorsPrintOnlyWhenTheyGiveThePremium()
    {
        PolicyRow row = unrestrictedRow();
        const std::optional<CalcInput> input = calcInputFromRow(row);
        QVERIFY(input);
        const CalcResult result = calculate(*input);
        QVERIFY(!result.error);
        row.setValue(u"Сумма_страхования", QString::fromStdString(result.writes.back().text));
        const QString agreeing = pageText(printRecord(row), ApplicationPage2);
        QVERIFY2(agreeing.contains("ТБ КТ КБМ КВС КО КМ КС КП КН 1980 1,3 "), qPrintable(agreeing));

        row.setValue(u"Сумма_страхования", QStringLiteral("9999,99"));
        const QString differing = pageText(printRecord(row), ApplicationPage2);
        QVERIFY2(differing.contains("ТБ КТ КБМ КВС КО КМ КС КП КН Страховая премия, руб. 9999,99"),
                 qPrintable(differing));
    }

    void offsetMovesOnlyThePolicy_data()
    {
        QTest::addColumn<double>("right");
        QTest::addColumn<double>("down");
        QTest::newRow("right and up") << 10.0 << -5.0;
        QTest::newRow("left and down") << -2.5 << 7.5;
    }

    void offsetMovesOnlyThePolicy()
    {
        QFETCH(double, right);
        QFETCH(double, down);
        const PrintRecord record = printRecord(sixDriverRow());
        const QString word = QStringLiteral("Колесников");
        for (const DocumentIndex index : {PolicyBlank, BackingSheet}) {
            const WordBox still = wordBox(writeOne(makePolicyDocuments(record, {})[index], "still.pdf"), word);
            const WordBox moved =
                wordBox(writeOne(makePolicyDocuments(record, {right, down})[index], "moved.pdf"), word);
            QVERIFY(still.x > 0 && moved.x > 0);
            const double expectedX = index == PolicyBlank ? right * kPointsPerMm : 0;
            const double expectedY = index == PolicyBlank ? down * kPointsPerMm : 0;
            QVERIFY2(qAbs(moved.x - still.x - expectedX) < 0.2, qPrintable(QString::number(moved.x - still.x)));
            QVERIFY2(qAbs(moved.y - still.y - expectedY) < 0.2, qPrintable(QString::number(moved.y - still.y)));
        }
    }

    void policyDataSitsInItsBox()
    {
        const PrintRecord record = printRecord(sixDriverRow());
        const auto policy = makePolicyDocuments(record, {})[PolicyBlank];
        const auto& blank = dynamic_cast<const BlankDocument&>(*policy);
        const auto field = std::find_if(blank.blank().fields.begin(), blank.blank().fields.end(),
                                        [](const BlankField& f) { return f.caption == "Страхователь"; });
        QVERIFY(field != blank.blank().fields.end());
        const WordBox box = wordBox(writeOne(policy, "policy.pdf"), "Колесников");
        QVERIFY(box.x >= field->placeMm.left() * kPointsPerMm);
        QVERIFY(box.x < field->placeMm.left() * kPointsPerMm + 5 * kPointsPerMm);
        QVERIFY(box.y >= field->placeMm.top() * kPointsPerMm);
        QVERIFY(box.y < field->placeMm.bottom() * kPointsPerMm);
    }

    void allFourInOneFileInTabOrder()
    {
        const QString path = m_dir.filePath("all.pdf");
        QString error;
        QVERIFY2(writePdf(makePolicyDocuments(printRecord(sixDriverRow()), {}), path, &error), qPrintable(error));
        const QStringList pages = pdfPages(path);
        QCOMPARE(pages.size(), 4);
        QVERIFY(pages[0].contains("ЗАЯВЛЕНИЕ"));
        QVERIFY(pages[1].contains("Расчёт страховой премии"));
        QVERIFY(pages[2].contains("Колесников") && !pages[2].contains("Собственник ТС"));
        QVERIFY(pages[3].contains("Подложка к полису ААА№0123456789"));
        QVERIFY(pages[3].contains("Собственник ТС"));
    }

    void fontsAreTheShippedOnesEmbedded()
    {
        const QString path = m_dir.filePath("fonts.pdf");
        QString error;
        QVERIFY(writePdf(makePolicyDocuments(printRecord(sixDriverRow()), {}), path, &error));
        const QStringList lines =
            popplerOutput("pdffonts", {path}).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
        QVERIFY(!lines.isEmpty());
        for (const QString& line : lines) {
            const QStringList columns = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            QVERIFY2(columns.first().contains("DejaVuSans"), qPrintable(line));
            QVERIFY2(columns.count("yes") >= 2, qPrintable(line)); // embedded, with a Unicode map
        }
    }

    void unwritableFileIsReported()
    {
        const QString path = m_dir.filePath("no-such-folder/out.pdf");
        QString error;
        QVERIFY(!writePdf(makePolicyDocuments(printRecord(sixDriverRow()), {}), path, &error));
        QVERIFY2(error.startsWith("Не удалось сохранить файл"), qPrintable(error));
        QVERIFY(error.contains("out.pdf"));
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_MAIN(PrintDocumentsTest)
#include "PrintDocumentsTest.moc"
