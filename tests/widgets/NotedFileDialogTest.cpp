#include "widgets/NotedFileDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace osago;

// The word beside a kind of file shows while that kind is chosen, and a name typed bare gets its extension.
class NotedFileDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void noteFollowsTheChosenKind()
    {
        QTemporaryDir folder;
        const QString workbook = QStringLiteral("Книга Excel (*.xlsx)");
        const QString csv = QStringLiteral("Таблица CSV для других программ (*.csv)");
        NotedFileDialog dialog(nullptr, QStringLiteral("Экспорт"), folder.filePath(QStringLiteral("Реестр.xlsx")),
                               workbook + QStringLiteral(";;") + csv, {{csv, QStringLiteral("Слово о CSV.")}});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* note = dialog.findChild<QLabel*>(QStringLiteral("LabelFileNote"));
        auto* kinds = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        QVERIFY(note && kinds);
        QCOMPARE(kinds->currentText(), workbook);
        QVERIFY(!note->isVisible());
        QCOMPARE(dialog.defaultSuffix(), QStringLiteral("xlsx"));

        kinds->setFocus();
        QTest::keyClick(kinds, Qt::Key_Down);
        QCOMPARE(kinds->currentText(), csv);
        QVERIFY(note->isVisible());
        QCOMPARE(note->text(), QStringLiteral("Слово о CSV."));
        QTest::keyClick(kinds, Qt::Key_Up);
        QVERIFY(!note->isVisible());
        QCOMPARE(dialog.defaultSuffix(), QStringLiteral("xlsx"));
        QTest::keyClick(kinds, Qt::Key_Down);
        QCOMPARE(dialog.defaultSuffix(), QStringLiteral("csv"));

        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(QStringLiteral("март"));
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(dialog.selectedFiles().value(0), folder.filePath(QStringLiteral("март.csv")));
    }
};

QTEST_MAIN(NotedFileDialogTest)
#include "NotedFileDialogTest.moc"
