#include "print/BlankDocument.h"
#include "widgets/Controls.h"
#include "print/PrintPreviewWindow.h"
#include "print/PrintProgressWindow.h"
#include "PdfText.h"
#include "print/PolicyDocuments.h"
#include "print/PrintService.h"
#include "RecordingPrinter.h"
#include "PrintSamples.h"
#include "ScriptedMessages.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QFile>
#include <QPrintPreviewWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <memory>

using namespace osago;
using namespace osago::test;

namespace {

const QString kPage1 = QStringLiteral("Заявление (стр.1)");
const QString kPage2 = QStringLiteral("Заявление (стр.2)");

QWidget* topLevelNamed(const QString& name)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == name)
            return window;
    }
    return nullptr;
}

// What the windows looked like each time the progress bar moved.
struct ProgressStep
{
    int value;
    bool previewEnabled;
    bool previewVisible;
    bool mainWindowEnabled;
};

} // namespace

class PrintServiceTest : public QObject
{
    Q_OBJECT

    ScriptedMessages m_messages;
    std::unique_ptr<QWidget> m_mainWindow;
    std::unique_ptr<RecordingPrinter> m_printer;
    ScriptedFileNames* m_fileNames = nullptr;
    std::unique_ptr<PrintService> m_service;
    std::unique_ptr<QTemporaryDir> m_dir;

    PrintPreviewWindow& preview() { return *m_service->previewWindow(); }
    template <typename T>
    T* previewControl(const QString& name)
    {
        return control<T>(preview(), name);
    }
    void click(const QString& name) { QTest::mouseClick(previewControl<QPushButton>(name), Qt::LeftButton); }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("osago-tests"));
        QCoreApplication::setApplicationName(QStringLiteral("test_print_service"));
    }

    void init()
    {
        QSettings().clear();
        m_messages = ScriptedMessages();
        m_mainWindow = std::make_unique<QWidget>();
        m_mainWindow->setObjectName(QStringLiteral("FormMain"));
        m_mainWindow->show();
        m_printer = std::make_unique<RecordingPrinter>();
        auto fileNames = std::make_unique<ScriptedFileNames>();
        m_fileNames = fileNames.get();
        m_service = std::make_unique<PrintService>(m_messages, *m_mainWindow, *m_printer, std::move(fileNames));
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void cleanup()
    {
        m_service.reset();
        m_mainWindow.reset();
        OSAGO_VERIFY_MESSAGES(m_messages);
    }

    void windowsAreMadeOnFirstUseAndKept()
    {
        QVERIFY(!topLevelNamed("FormPrint"));
        QVERIFY(!topLevelNamed("FormProgress"));
        QVERIFY(!m_service->previewWindow());

        m_service->preview(printRecord(sixDriverRow()));
        PrintPreviewWindow* first = m_service->previewWindow();
        PrintProgressWindow* progress = m_service->progressWindow();
        QCOMPARE(topLevelNamed("FormPrint"), first);
        QCOMPARE(topLevelNamed("FormProgress"), progress);

        click("ButtonVyh");
        m_service->preview(printRecord(unrestrictedRow()));
        QCOMPARE(m_service->previewWindow(), first);
        QCOMPARE(m_service->progressWindow(), progress);
    }

    void previewWindowLayout()
    {
        m_service->preview(printRecord(sixDriverRow()));
        PrintPreviewWindow& window = preview();
        QCOMPARE(window.windowTitle(), QStringLiteral("Печать заявления"));
        QVERIFY(window.isVisible());
        QVERIFY(window.windowState() & Qt::WindowMaximized);
        QVERIFY(window.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(window.windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(window.windowFlags() & Qt::WindowMinMaxButtonsHint));
        QVERIFY(!window.parentWidget());

        QCOMPARE(previewControl<QPushButton>("ButtonPrint")->text(), QStringLiteral("Распечатать текущий документ"));
        QCOMPARE(previewControl<QPushButton>("ButtonPrint")->parentWidget()->objectName(), QStringLiteral("Panel1"));
        QCOMPARE(previewControl<QPushButton>("ButtonPrint")->geometry(), QRect(0, 0, 430, 25));
        QCOMPARE(previewControl<QPushButton>("ButtonVyh")->text(), QStringLiteral("Выход"));
        QCOMPARE(previewControl<QPushButton>("ButtonVyh")->geometry(), QRect(430, 0, 81, 46));
        auto* pages = previewControl<QTabWidget>("PageControl");
        QCOMPARE(pages->currentIndex(), 0);
        // "Выход" covers none of the tabs.
        const QRect lastTab = pages->tabBar()->tabRect(pages->count() - 1);
        QVERIFY2(pages->tabBar()->mapTo(&window, lastTab.topRight()).x() < 430, qPrintable(QString::number(
                     pages->tabBar()->mapTo(&window, lastTab.topRight()).x())));
    }

    void tabs_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("fitted");
        QTest::newRow("application 1") << 0 << "Заявление (стр.1)" << true;
        QTest::newRow("application 2") << 1 << "Заявление (стр.2)" << true;
        QTest::newRow("policy") << 2 << "         Полис          " << false;
        QTest::newRow("backing sheet") << 3 << "         Подложка          " << false;
    }

    void tabs()
    {
        QFETCH(int, index);
        QFETCH(QString, caption);
        QFETCH(bool, fitted);
        m_service->preview(printRecord(sixDriverRow()));
        auto* pages = previewControl<QTabWidget>("PageControl");
        QCOMPARE(pages->count(), 4);
        QCOMPARE(pages->tabText(index), caption);
        QCOMPARE(pages->widget(index)->objectName(), QStringLiteral("TabSheet%1").arg(index));
        auto* view = control<QPrintPreviewWidget>(*pages->widget(index), QStringLiteral("OleContainer%1").arg(index));
        QCOMPARE(view->zoomMode(), fitted ? QPrintPreviewWidget::FitInView : QPrintPreviewWidget::CustomZoom);
        if (!fitted)
            QCOMPARE(view->zoomFactor(), 1.0);
        QCOMPARE(view->pageCount(), 1);
    }

    void progressMovesWithEachDocumentWhileThePreviewWaits()
    {
        m_service->preview(printRecord(sixDriverRow()));
        click("ButtonVyh");
        QVERIFY(m_mainWindow->isEnabled());

        PrintProgressWindow& progress = *m_service->progressWindow();
        QCOMPARE(progress.windowTitle(), QStringLiteral("Идет формирование заявления..."));
        QCOMPARE(progress.size(), QSize(400, 206));
        QCOMPARE(progress.font().family(), QStringLiteral("Verdana"));
        QCOMPARE(progress.font().pixelSize(), 13);
        QVERIFY(progress.font().bold());
        QVERIFY(progress.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(progress.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(!(progress.windowFlags() & Qt::WindowCloseButtonHint));
        auto* bar = control<QProgressBar>(progress, QStringLiteral("ProgressBar"));
        QCOMPARE(bar->geometry(), progress.rect());

        QList<ProgressStep> steps;
        connect(bar, &QProgressBar::valueChanged, this, [&](int value) {
            steps.push_back({value, preview().isEnabled(), preview().isVisible(), m_mainWindow->isEnabled()});
        });
        m_service->preview(printRecord(sixDriverRow()));

        QList<int> values;
        for (const ProgressStep& step : steps) {
            if (step.value > 0) {
                values << step.value;
                QVERIFY(step.previewVisible);
                QVERIFY(!step.previewEnabled);
                QVERIFY(!step.mainWindowEnabled);
            }
        }
        QCOMPARE(values, (QList<int>{1, 2, 3, 4}));
        QCOMPARE(bar->maximum(), 4);
        QVERIFY(!progress.isVisible());
        QVERIFY(preview().isEnabled());
        QVERIFY(!m_mainWindow->isEnabled());
    }

    void closingThePreviewGivesInputBack_data()
    {
        QTest::addColumn<bool>("byExitButton");
        QTest::newRow("Выход") << true;
        QTest::newRow("the window system's close") << false;
    }

    void closingThePreviewGivesInputBack()
    {
        QFETCH(bool, byExitButton);
        QWidget editor;
        editor.show();
        m_service->preview(printRecord(sixDriverRow()), &editor);
        QVERIFY(!m_mainWindow->isEnabled());
        QVERIFY(!editor.isEnabled());
        if (byExitButton)
            click("ButtonVyh");
        else
            preview().windowHandle()->close();
        QVERIFY(!preview().isVisible());
        QVERIFY(m_mainWindow->isEnabled());
        QVERIFY(editor.isEnabled());
    }

    void aMainWindowDisabledBeforeStaysDisabled()
    {
        // The editor is open and holds the main window disabled while it asks for the preview.
        QWidget editor;
        editor.show();
        m_mainWindow->setEnabled(false);
        m_service->preview(printRecord(sixDriverRow()), &editor);
        click("ButtonVyh");
        QVERIFY(editor.isEnabled());
        QVERIFY(!m_mainWindow->isEnabled());
    }

    void directPrintPrintsTheApplicationOnly()
    {
        m_service->printDirect(printRecord(sixDriverRow()));
        QCOMPARE(m_printer->attempts(), (QStringList{kPage1, kPage2}));
        QVERIFY(m_messages.shown().isEmpty());
        QVERIFY(preview().isVisible());
    }

    void directPrintStopsAtAFailure_data()
    {
        QTest::addColumn<QString>("failing");
        QTest::addColumn<QStringList>("attempts");
        QTest::newRow("page 1") << kPage1 << QStringList{kPage1};
        QTest::newRow("page 2") << kPage2 << QStringList{kPage1, kPage2};
    }

    void directPrintStopsAtAFailure()
    {
        QFETCH(QString, failing);
        QFETCH(QStringList, attempts);
        const QString failure = QStringLiteral("Принтер \"Офис\" сообщил об ошибке: нет бумаги.");
        m_printer->failOn(failing, failure);
        m_service->printDirect(printRecord(sixDriverRow()));
        QCOMPARE(m_printer->attempts(), attempts);
        QCOMPARE(m_messages.shownTexts(), QStringList{failure});
        QCOMPARE(m_messages.shown().front().icon, Messages::Icon::Critical);
    }

    void withoutAPrinterTheAgentIsTold()
    {
        ScriptedMessages messages;
        SystemPrinter noPrinter([] { return QPrinterInfo(); });
        PrintService service(messages, *m_mainWindow, noPrinter, std::make_unique<ScriptedFileNames>());
        service.printDirect(printRecord(sixDriverRow()));
        // Page 1 fails, so page 2 is never tried: one message.
        QCOMPARE(messages.shown().size(), 1);
        const QString text = messages.shown().front().text;
        QVERIFY2(text.startsWith(QStringLiteral("Принтер не установлен")), qPrintable(text));
        QVERIFY(text.contains(kPage1));
        QVERIFY(service.previewWindow()->isVisible());
        OSAGO_VERIFY_MESSAGES(messages);
    }

    void printButtonPrintsTheDocumentInFront_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("title");
        QTest::newRow("application 1") << 0 << kPage1;
        QTest::newRow("application 2") << 1 << kPage2;
        QTest::newRow("policy") << 2 << "Полис";
        QTest::newRow("backing sheet") << 3 << "Подложка";
    }

    void printButtonPrintsTheDocumentInFront()
    {
        QFETCH(int, tab);
        QFETCH(QString, title);
        m_service->preview(printRecord(sixDriverRow()));
        previewControl<QTabWidget>("PageControl")->setCurrentIndex(tab);
        click("ButtonPrint");
        QCOMPARE(m_printer->attempts(), QStringList{title});
    }

    void printButtonReportsAFailure()
    {
        m_printer->failOn(QStringLiteral("Полис"), QStringLiteral("Принтер недоступен."));
        m_service->preview(printRecord(sixDriverRow()));
        previewControl<QTabWidget>("PageControl")->setCurrentIndex(PolicyBlank);
        click("ButtonPrint");
        QCOMPARE(m_messages.shownTexts(), QStringList{"Принтер недоступен."});
        QVERIFY(preview().isVisible());
    }

    void noRecordIsSaidAndNothingElse()
    {
        m_service->reportNoRecord();
        QCOMPARE(m_messages.shownTexts(), QStringList{"Не выбрана запись для печати."});
        QVERIFY(!m_service->previewWindow());
        QVERIFY(!m_service->progressWindow());
        QVERIFY(m_printer->attempts().isEmpty());
        QVERIFY(m_mainWindow->isEnabled());
    }

    void savesTheDocumentInFrontAsPdf()
    {
        const QString path = m_dir->filePath("policy.pdf");
        m_fileNames->answerNext(path);
        m_service->preview(printRecord(sixDriverRow()));
        previewControl<QTabWidget>("PageControl")->setCurrentIndex(PolicyBlank);
        click("ButtonPdf");
        QCOMPARE(m_fileNames->suggested(), QStringList{"Полис - Колесников ААА№0123456789.pdf"});
        const QStringList pages = pdfPages(path);
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages.front().contains("Колесников Аркадий Петрович"));
        QVERIFY(!pages.front().contains("Собственник ТС"));
        QVERIFY(m_printer->attempts().isEmpty());
    }

    void savesAllFourAsPdf()
    {
        const QString path = m_dir->filePath("all.pdf");
        m_fileNames->answerNext(path);
        m_service->preview(printRecord(sixDriverRow()));
        click("ButtonPdfAll");
        QCOMPARE(m_fileNames->suggested(), QStringList{"Документы ОСАГО - Колесников ААА№0123456789.pdf"});
        QCOMPARE(pdfPages(path).size(), 4);
    }

    void cancelledSaveWritesNothing()
    {
        m_service->preview(printRecord(sixDriverRow()));
        click("ButtonPdfAll");
        QCOMPARE(m_fileNames->suggested().size(), 1);
        QVERIFY(QDir(m_dir->path()).isEmpty());
    }

    void failedSaveIsReported()
    {
        m_fileNames->answerNext(m_dir->filePath("missing-folder/all.pdf"));
        m_service->preview(printRecord(sixDriverRow()));
        click("ButtonPdfAll");
        QCOMPARE(m_messages.shown().size(), 1);
        QVERIFY(m_messages.shownTexts().front().startsWith("Не удалось сохранить файл"));
    }

    void offsetIsKeptAndMovesThePolicy()
    {
        m_service->preview(printRecord(sixDriverRow()));
        const auto before = preview().documents().at(PolicyBlank);
        previewControl<QDoubleSpinBox>("SpinBoxSdvigX")->setValue(3.5);
        previewControl<QDoubleSpinBox>("SpinBoxSdvigY")->setValue(-1.5);
        QCOMPARE(loadPolicyOffset(), (PolicyOffset{3.5, -1.5}));

        const auto after = preview().documents().at(PolicyBlank);
        const auto& oldPolicy = dynamic_cast<const BlankDocument&>(*before);
        const auto& newPolicy = dynamic_cast<const BlankDocument&>(*after);
        const BlankField field = newPolicy.blank().fields.front();
        QCOMPARE(newPolicy.dataPlaceMm(field).topLeft() - oldPolicy.dataPlaceMm(field).topLeft(), QPointF(3.5, -1.5));
        QCOMPARE(preview().documents().at(BackingSheet)->title(), QStringLiteral("Подложка"));

        // The next preview starts from the kept offset.
        click("ButtonVyh");
        m_service->preview(printRecord(sixDriverRow()));
        QCOMPARE(previewControl<QDoubleSpinBox>("SpinBoxSdvigX")->value(), 3.5);
        QCOMPARE(previewControl<QDoubleSpinBox>("SpinBoxSdvigY")->value(), -1.5);
        const auto& reopened = dynamic_cast<const BlankDocument&>(*preview().documents().at(PolicyBlank));
        QCOMPARE(reopened.dataPlaceMm(field), newPolicy.dataPlaceMm(field));
    }
};

QTEST_MAIN(PrintServiceTest)
#include "PrintServiceTest.moc"
