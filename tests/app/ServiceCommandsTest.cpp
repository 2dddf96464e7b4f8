#include "ExportTestSupport.h"
#include "app/FormMain.h"
#include "app/FormPeriod.h"
#include "app/FormReport.h"
#include "PdfText.h"
#include "widgets/MaskedEdit.h"
#include "print/PagePreview.h"
#include "grid/RegisterModel.h"
#include "RegisterTestSupport.h"
#include "ScriptedFileChoices.h"
#include "ScriptedMessages.h"
#include "app/ServiceCommands.h"
#include "StorageTestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace osago;
using namespace osago::test;

class ServiceCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        m_messages = std::make_unique<ScriptedMessages>();
        auto files = std::make_unique<ScriptedFileChoices>();
        m_files = files.get();
        m_program = std::make_unique<Program>(
            *m_messages, ProgramOptions{m_folder->filePath(QStringLiteral("Baza.mdb")), nullptr, std::move(files)});
        m_program->start();
        m_rows.clear();
        for (int n = 0; n < 4; ++n) {
            const PolicyRow row = awkwardRow(n, QStringLiteral("1%1.03.2026").arg(n));
            const auto saved = m_program->database().insert(row);
            QVERIFY(saved.ok);
            m_rows.push_back(row.values());
            m_rows.back()[rowCodeColumnIndex()] = saved.value;
        }
        QVERIFY(m_program->registerModel().refresh().ok);
        QVERIFY(QTest::qWaitForWindowExposed(&m_program->formMain()));
    }

    void cleanup()
    {
        m_program.reset();
        m_messages.reset();
        m_folder.reset();
    }

    // Ctrl+E, "ОК" without a period: the rows the search left in the grid, no others.
    void exportWritesTheRowsTheGridShows()
    {
        const std::optional<RowSelection> found = markForSearch(m_program->database(), m_rows, {0, 2});
        QVERIFY(found);
        QVERIFY(m_program->registerModel().select(*found).ok);
        const QString target = m_folder->filePath(QStringLiteral("found.csv"));
        m_files->answerNext(target);
        QTest::keyClick(&m_program->formMain(), Qt::Key_E, Qt::ControlModifier);
        FormPeriod& period = m_program->serviceCommands().periodWindow();
        QVERIFY(period.isVisible());
        QVERIFY(!period.findChild<QCheckBox*>(QStringLiteral("CheckBoxPeriod"))->isChecked());
        clickButton(period, "ButtonOk");

        QCOMPARE(m_messages->shownTexts(), QStringList{QStringLiteral("Экспорт завершён. Записано строк: 2.")});
        bool wellFormed = false;
        const auto read = readCsv(QString::fromUtf8(fileBytes(target).mid(3)), &wellFormed);
        QVERIFY(wellFormed);
        QCOMPARE(qsizetype(read.size()), 3);
        QCOMPARE(read[1], m_rows[0]);
        QCOMPARE(read[2], m_rows[2]);
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

    void periodTypedByTheAgentLimitsTheRows()
    {
        const QString target = m_folder->filePath(QStringLiteral("period.xlsx"));
        m_files->answerNext(target);
        m_program->serviceCommands().exportRows();
        FormPeriod& period = m_program->serviceCommands().periodWindow();
        QTest::mouseClick(period.findChild<QCheckBox*>(QStringLiteral("CheckBoxPeriod")), Qt::LeftButton);
        auto* from = period.findChild<MaskedEdit*>(QStringLiteral("EditFrom"));
        auto* to = period.findChild<MaskedEdit*>(QStringLiteral("EditTo"));
        QVERIFY(from->isEnabled());
        for (auto [edit, digits] : {std::pair{from, "11032026"}, std::pair{to, "12032026"}}) {
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key_Home);
            QTest::keyClicks(edit, QString::fromLatin1(digits));
        }
        QCOMPARE(to->maskedText(), QStringLiteral("12.03.2026"));
        QTest::keyClick(&period, Qt::Key_Return);
        QCOMPARE(m_messages->shownTexts(), QStringList{QStringLiteral("Экспорт завершён. Записано строк: 2.")});
        QVERIFY(zipMember(target, QStringLiteral("xl/worksheets/sheet1.xml")).contains("11.03.2026"));
    }

    void reversedPeriodOrCancelledChoiceWritesNothing()
    {
        m_program->serviceCommands().exportRows();
        FormPeriod& period = m_program->serviceCommands().periodWindow();
        QTest::mouseClick(period.findChild<QCheckBox*>(QStringLiteral("CheckBoxPeriod")), Qt::LeftButton);
        period.findChild<MaskedEdit*>(QStringLiteral("EditFrom"))->setMaskedText(QStringLiteral("31.03.2026"));
        period.findChild<MaskedEdit*>(QStringLiteral("EditTo"))->setMaskedText(QStringLiteral("01.03.2026"));
        clickButton(period, "ButtonOk");
        QCOMPARE(m_messages->shownTexts(), QStringList{QStringLiteral("Начало периода позже его конца.")});
        QVERIFY(period.isVisible());
        QVERIFY(m_files->asked().isEmpty());

        QTest::keyClick(&period, Qt::Key_Escape);
        QVERIFY(!period.isVisible());
        m_program->serviceCommands().exportRows();
        clickButton(period, "ButtonOk");
        QCOMPARE(m_files->asked().size(), 1);
        QCOMPARE(m_messages->shown().size(), 1);
    }

    // "Отмена" pressed in the progress window while the rows are being written: no file is made, and the file
    // that was there keeps its contents.
    void cancelInTheMiddleOfAnExportKeepsTheOldFile()
    {
        // Many blocks of rows, so the export lasts long enough for its progress window to show.
        int blocks = 0;
        const auto added = m_program->database().appendRows(
            [&](Utf8Rows& rows) {
                const int size = ++blocks <= 40 ? 512 : 0;
                for (int n = 0; n < size; ++n)
                    rows.appendRow(m_rows.front());
                return StorageStatus{};
            },
            false, {});
        QVERIFY2(added.ok, qPrintable(added.error));
        QVERIFY(m_program->registerModel().refresh().ok);
        const QString target = m_folder->filePath(QStringLiteral("kept.csv"));
        {
            QFile old(target);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old contents");
        }
        m_files->answerNext(target);

        bool cancelled = false;
        QTimer agent;
        connect(&agent, &QTimer::timeout, this, [&] {
            auto* progress = m_program->formMain().findChild<QProgressDialog*>(QStringLiteral("FormExportProgress"));
            if (!cancelled && progress && progress->isVisible() && progress->value() > 0) {
                QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
                cancelled = true;
            }
        });
        agent.start(5);
        m_program->serviceCommands().exportRows();
        clickButton(m_program->serviceCommands().periodWindow(), "ButtonOk");
        QVERIFY(cancelled);
        QCOMPARE(m_messages->shownTexts(), QStringList{QStringLiteral("Экспорт отменён, файл не записан.")});
        QCOMPARE(fileBytes(target), QByteArray("old contents"));
        QCOMPARE(QDir(m_folder->path()).entryList({QStringLiteral("*.part")}, QDir::Files | QDir::Hidden),
                 QStringList());
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

    // Ctrl+R, "ОК" on the previous month typed over by the agent: the report's pages, saved as a PDF.
    void reportShowsThePeriodAndSavesItsPdf()
    {
        QTest::keyClick(&m_program->formMain(), Qt::Key_R, Qt::ControlModifier);
        FormPeriod& period = m_program->serviceCommands().periodWindow();
        QVERIFY(period.isVisible());
        QVERIFY(!period.findChild<QCheckBox*>(QStringLiteral("CheckBoxPeriod"))->isVisible());
        period.findChild<MaskedEdit*>(QStringLiteral("EditFrom"))->setMaskedText(QStringLiteral("11.03.2026"));
        period.findChild<MaskedEdit*>(QStringLiteral("EditTo"))->setMaskedText(QStringLiteral("31.03.2026"));
        clickButton(period, "ButtonOk");
        FormReport& report = m_program->serviceCommands().reportWindow();
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
        askReport(QStringLiteral("01.03.2026"), QStringLiteral("31.03.2026"));
        FormReport& report = m_program->serviceCommands().reportWindow();
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
            clickButton(m_program->serviceCommands().reportWindow(), "ButtonPdf");
            QVERIFY(pdfPages(pdf).join(u' ').contains(QStringLiteral("Итого полисов: 2")));
        }
        OSAGO_VERIFY_MESSAGES(*m_messages);
        QVERIFY(m_messages->shown().isEmpty());
    }

    // "Резервная копия" while the window keeps painting, a row added, then "Восстановить из копии..." brings the
    // copy's four rows back into the grid and keeps the five-row register as a copy too.
    void backupThenRestoreThroughTheMenu()
    {
        m_program->formMain().findChild<QAction*>(QStringLiteral("N22"))->trigger();
        QVERIFY(m_program->serviceCommands().isBackingUp());
        QTRY_VERIFY(!m_program->serviceCommands().isBackingUp());
        QCOMPARE(m_messages->shown().size(), 1);
        QVERIFY2(m_messages->shownTexts().front().startsWith(QStringLiteral("Резервная копия сохранена: ")),
                 qPrintable(m_messages->shownTexts().front()));

        QVERIFY(m_program->database().insert(awkwardRow(9, QStringLiteral("01.03.2026"))).ok);
        QVERIFY(m_program->registerModel().refresh().ok);
        QCOMPARE(m_program->registerModel().rowCount(), 5);

        m_files->pickNext(0);
        m_messages->answerNext(true);
        m_program->formMain().findChild<QAction*>(QStringLiteral("N23"))->trigger();
        QCOMPARE(m_files->offered().size(), 1);
        QVERIFY2(m_files->offered().front().endsWith(QStringLiteral("строк: 4")), qPrintable(m_files->offered().front()));
        // Asked first, with the rows there now and the copy's.
        QVERIFY2(m_messages->questions().last().contains(QStringLiteral("строк сейчас: 5"))
                     && m_messages->questions().last().contains(QStringLiteral("(строк: 4)")),
                 qPrintable(m_messages->questions().last()));
        QVERIFY2(m_messages->shownTexts().last().startsWith(QStringLiteral("Реестр восстановлен из копии")),
                 qPrintable(m_messages->shownTexts().last()));
        QCOMPARE(RawConnection(m_program->database().path()).rowCount(), 4);
        QCOMPARE(m_program->registerModel().rowCount(), 4);
        const QStringList copies = QDir(m_folder->filePath(QStringLiteral("Архив"))).entryList(QDir::Files);
        QCOMPARE(copies.size(), 2);
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

    void automaticCopyOnceADayAndNeverOfAReadOnlyRegister()
    {
        m_program->serviceCommands().backupAutomatically();
        QTRY_VERIFY(!m_program->serviceCommands().isBackingUp());
        m_program->serviceCommands().backupAutomatically();
        QVERIFY(!m_program->serviceCommands().isBackingUp());
        QCOMPARE(QDir(m_folder->filePath(QStringLiteral("Архив"))).entryList(QDir::Files).size(), 1);
        QVERIFY(m_messages->shown().isEmpty());

        QDir(m_folder->filePath(QStringLiteral("Архив"))).removeRecursively();
        const QString path = m_program->database().path();
        QVERIFY(m_program->database().open(path, PolicyDatabase::Access::ReadOnly).ok);
        m_program->serviceCommands().backupAutomatically();
        QVERIFY(!m_program->serviceCommands().isBackingUp());
        QVERIFY(m_messages->shown().isEmpty());
        QVERIFY(!QDir(m_folder->filePath(QStringLiteral("Архив"))).exists());
    }

private:
    void askReport(const QString& from, const QString& to)
    {
        m_program->serviceCommands().report();
        FormPeriod& period = m_program->serviceCommands().periodWindow();
        period.findChild<MaskedEdit*>(QStringLiteral("EditFrom"))->setMaskedText(from);
        period.findChild<MaskedEdit*>(QStringLiteral("EditTo"))->setMaskedText(to);
        clickButton(period, "ButtonOk");
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<ScriptedMessages> m_messages;
    ScriptedFileChoices* m_files = nullptr;
    std::unique_ptr<Program> m_program;
    std::vector<QStringList> m_rows;
};

QTEST_MAIN(ServiceCommandsTest)
#include "ServiceCommandsTest.moc"
