#include "ServiceTestCase.h"
#include "app/ExportCommands.h"
#include "app/MainWindow.h"
#include "app/PeriodWindow.h"
#include "StorageTestSupport.h"
#include "widgets/MaskedEdit.h"

#include <QCheckBox>
#include <QDir>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace osago;
using namespace osago::test;

// "Экспорт...": the rows of the grid, of a period or all, to a CSV table or an Excel book.
class ExportCommandsTest : public ServiceTestCase
{
    Q_OBJECT

private slots:
    // Ctrl+E, "ОК" without a period: the rows the search left in the grid, no others.
    void exportWritesTheRowsTheGridShows()
    {
        const std::optional<RowSelection> found = markForSearch(m_program->database(), m_rows, {0, 2});
        QVERIFY(found);
        QVERIFY(m_program->registerModel().select(*found).ok);
        const QString target = m_folder->filePath(QStringLiteral("found.csv"));
        m_files->answerNext(target);
        QTest::keyClick(&m_program->mainWindow(), Qt::Key_E, Qt::ControlModifier);
        PeriodWindow& period = m_program->exportCommands().periodWindow();
        QVERIFY(period.isVisible());
        QVERIFY(!period.findChild<QCheckBox*>(QStringLiteral("CheckBoxPeriod"))->isChecked());
        clickButton(period, "ButtonOk");

        QCOMPARE(m_messages->shownTexts(), QStringList{QStringLiteral("Экспорт завершён. Записано строк: 2.")});
        // The workbook is offered first; the CSV, for other programs, with what a spreadsheet does to it.
        const QString csvFilter = QStringLiteral("Таблица CSV для других программ (*.csv)");
        QCOMPARE(m_files->filters().split(QStringLiteral(";;")),
                 (QStringList{QStringLiteral("Книга Excel (*.xlsx)"), csvFilter}));
        QCOMPARE(m_files->notes().keys(), QStringList{csvFilter});
        for (const QString& word : {QStringLiteral("даты"), QStringLiteral("нулями в начале"),
                                    QStringLiteral("длинные числа"), QStringLiteral("XLSX")})
            QVERIFY2(m_files->notes().value(csvFilter).contains(word), qPrintable(word));
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
        m_program->exportCommands().exportRows();
        PeriodWindow& period = m_program->exportCommands().periodWindow();
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
        m_program->exportCommands().exportRows();
        PeriodWindow& period = m_program->exportCommands().periodWindow();
        QTest::mouseClick(period.findChild<QCheckBox*>(QStringLiteral("CheckBoxPeriod")), Qt::LeftButton);
        period.findChild<MaskedEdit*>(QStringLiteral("EditFrom"))->setMaskedText(QStringLiteral("31.03.2026"));
        period.findChild<MaskedEdit*>(QStringLiteral("EditTo"))->setMaskedText(QStringLiteral("01.03.2026"));
        clickButton(period, "ButtonOk");
        QCOMPARE(m_messages->shownTexts(), QStringList{QStringLiteral("Начало периода позже его конца.")});
        QVERIFY(period.isVisible());
        QVERIFY(m_files->asked().isEmpty());

        QTest::keyClick(&period, Qt::Key_Escape);
        QVERIFY(!period.isVisible());
        m_program->exportCommands().exportRows();
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
            auto* progress = m_program->mainWindow().findChild<QProgressDialog*>(QStringLiteral("FormExportProgress"));
            if (!cancelled && progress && progress->isVisible() && progress->value() > 0) {
                QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
                cancelled = true;
            }
        });
        agent.start(5);
        m_program->exportCommands().exportRows();
        clickButton(m_program->exportCommands().periodWindow(), "ButtonOk");
        QVERIFY(cancelled);
        QCOMPARE(m_messages->shownTexts(), QStringList{QStringLiteral("Экспорт отменён, файл не записан.")});
        QCOMPARE(fileBytes(target), QByteArray("old contents"));
        QCOMPARE(QDir(m_folder->path()).entryList({QStringLiteral("*.part")}, QDir::Files | QDir::Hidden),
                 QStringList());
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }
};

QTEST_MAIN(ExportCommandsTest)
#include "ExportCommandsTest.moc"
