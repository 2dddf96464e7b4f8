#include "ServiceTestCase.h"
#include "app/MainWindow.h"
#include "app/PeriodWindow.h"
#include "app/ReportWindow.h"
#include "app/ReportCommands.h"
#include "PdfText.h"
#include "print/PagePreview.h"
#include "print/PolicyDocuments.h"
#include "StorageTestSupport.h"
#include "widgets/MaskedEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QTest>

using namespace osago;
using namespace osago::test;

// "Отчёт агента...": the period asked, the report's pages in their preview, printed or saved as a PDF file.
class ReportCommandsTest : public ServiceTestCase
{
    Q_OBJECT

private slots:
    // Ctrl+R, "ОК" on the previous month typed over by the agent: the report's pages, saved as a PDF.
    void reportShowsThePeriodAndSavesItsPdf()
    {
        QTest::keyClick(&m_program->mainWindow(), Qt::Key_R, Qt::ControlModifier);
        PeriodWindow& period = m_program->reportCommands().periodWindow();
        QVERIFY(period.isVisible());
        QVERIFY(!period.findChild<QCheckBox*>(QStringLiteral("CheckBoxPeriod"))->isVisible());
        period.findChild<MaskedEdit*>(QStringLiteral("EditFrom"))->setMaskedText(QStringLiteral("11.03.2026"));
        period.findChild<MaskedEdit*>(QStringLiteral("EditTo"))->setMaskedText(QStringLiteral("31.03.2026"));
        clickButton(period, "ButtonOk");
        ReportWindow& report = m_program->reportCommands().reportWindow();
        QVERIFY(report.isVisible());
        QCOMPARE(int(report.pages().size()), 1);

        const QString pdf = m_folder->filePath(QStringLiteral("report.pdf"));
        m_files->answerNext(pdf);
        clickButton(report, "ButtonPdf");
        const QString text = pdfPages(pdf).join(u'\n');
        QVERIFY2(text.contains(QStringLiteral("Итого полисов: 3")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("4493,2386")));
        OSAGO_VERIFY_MESSAGES(*m_messages);
        QVERIFY(m_messages->shown().isEmpty());
    }

    // Hundreds of policies with line breaks in their texts: the preview opens on page 1 of many and has drawn only
    // what is in sight; End draws the last page, with the totals; the PDF has every page.
    void manyPageReportOpensOnItsFirstPageAndReachesTheLast()
    {
        constexpr int kAdded = 600;
        int blocks = 0;
        const auto added = m_program->database().appendRows(
            [&](Utf8Rows& rows) {
                const int size = ++blocks == 1 ? kAdded : 0;
                for (int n = 0; n < size; ++n)
                    rows.appendRow(m_rows.back());
                return StorageStatus{};
            },
            false, {});
        QVERIFY2(added.ok, qPrintable(added.error));
        // A rate in force, so the totals close the report with no policies listed apart after them.
        QVERIFY(m_program->database().addCommissionRate({QDate(2026, 1, 1), 1000}).ok);
        askReport(QStringLiteral("01.03.2026"), QStringLiteral("31.03.2026"));
        ReportWindow& report = m_program->reportCommands().reportWindow();
        QVERIFY(report.isVisible());
        PagePreview& preview = report.preview();
        const int pages = int(report.pages().size());
        QVERIFY2(pages > 10, qPrintable(QString::number(pages)));
        QCOMPARE(preview.pageCount(), pages);
        QTRY_COMPARE(preview.firstPainted(), 0);
        QVERIFY(preview.lastPainted() < pages - 1);
        const auto pageLabel = [&] { return report.findChild<QLabel*>(QStringLiteral("LabelPage"))->text(); };
        QCOMPARE(pageLabel(), QStringLiteral("Страница 1 из %1").arg(pages));

        QTest::keyClick(&preview, Qt::Key_End);
        QTRY_COMPARE(preview.lastPainted(), pages - 1);
        QCOMPARE(pageLabel(), QStringLiteral("Страница %1 из %1").arg(pages));

        const QString pdf = m_folder->filePath(QStringLiteral("many.pdf"));
        m_files->answerNext(pdf);
        clickButton(report, "ButtonPdf");
        const QStringList pdfText = pdfPages(pdf);
        QCOMPARE(int(pdfText.size()), pages);
        QVERIFY2(pdfText.front().contains(QStringLiteral("Страница 1 из %1").arg(pages)), qPrintable(pdfText.front()));
        QVERIFY2(pdfText.back().contains(QStringLiteral("Итого полисов: %1").arg(kAdded + 4)), qPrintable(pdfText.back()));
        // The copies of the last row share its issue day with no other row.
        int listed = 0;
        for (const QString& page : pdfText)
            listed += int(page.count(QStringLiteral("13.03.2026")));
        QCOMPARE(listed, kAdded + 1);
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

    // A register without the issue index keeps it so through its opening; the first report builds it. Opened
    // read-only, the register is read whole and nothing is built.
    void issueIndexIsBuiltAtTheFirstReportNotAtOpen()
    {
        const QString path = m_program->database().path();
        m_program->database().close();
        QVERIFY(RawConnection(path).exec(QStringLiteral("DROP INDEX TableStrah_issued")));
        for (const auto access : {PolicyDatabase::Access::ReadOnly, PolicyDatabase::Access::ReadWrite}) {
            QVERIFY(m_program->database().open(path, access).ok);
            QVERIFY(!m_program->database().hasIssueDayIndex());
            askReport(QStringLiteral("11.03.2026"), QStringLiteral("12.03.2026"));
            QCOMPARE(m_program->database().hasIssueDayIndex(), access == PolicyDatabase::Access::ReadWrite);
            const QString pdf = m_folder->filePath(QStringLiteral("report.pdf"));
            m_files->answerNext(pdf);
            clickButton(m_program->reportCommands().reportWindow(), "ButtonPdf");
            QVERIFY(pdfPages(pdf).join(u' ').contains(QStringLiteral("Итого полисов: 2")));
        }
        OSAGO_VERIFY_MESSAGES(*m_messages);
        QVERIFY(m_messages->shown().isEmpty());
    }

    // "Печать" in the report's preview prints its pages through the program's printer, the one the policies' printing
    // uses too.
    void reportPrintsThroughTheProgramsPrinter()
    {
        askReport(QStringLiteral("11.03.2026"), QStringLiteral("31.03.2026"));
        ReportWindow& report = m_program->reportCommands().reportWindow();
        QVERIFY(report.isVisible());
        QVERIFY(m_printer->attempts().isEmpty());
        clickButton(report, "ButtonPrint");
        QCOMPARE(m_printer->attempts(), QStringList{QStringLiteral("Отчёт агента (стр.1 из 1)")});

        m_program->mainWindow().grid().selectSourceCell(0);
        m_program->mainWindow().findChild<QAction*>(QStringLiteral("N8"))->trigger();
        const QStringList printed{QStringLiteral("Отчёт агента (стр.1 из 1)"), documentTitle(ApplicationPage1),
                                  documentTitle(ApplicationPage2)};
        QCOMPARE(m_printer->attempts(), printed);
        OSAGO_VERIFY_MESSAGES(*m_messages);
        QVERIFY(m_messages->shown().isEmpty());
    }

private:
    void askReport(const QString& from, const QString& to)
    {
        m_program->reportCommands().report();
        PeriodWindow& period = m_program->reportCommands().periodWindow();
        period.findChild<MaskedEdit*>(QStringLiteral("EditFrom"))->setMaskedText(from);
        period.findChild<MaskedEdit*>(QStringLiteral("EditTo"))->setMaskedText(to);
        clickButton(period, "ButtonOk");
    }
};

QTEST_MAIN(ReportCommandsTest)
#include "ReportCommandsTest.moc"
