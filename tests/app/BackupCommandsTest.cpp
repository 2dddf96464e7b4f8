#include "ServiceTestCase.h"
#include "app/BackupCommands.h"
#include "app/BackupJob.h"
#include "app/MainWindow.h"
#include "StorageTestSupport.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace osago;
using namespace osago::test;

// "Резервная копия", the automatic copy of the day and "Восстановить из копии...".
class BackupCommandsTest : public ServiceTestCase
{
    Q_OBJECT

private slots:
    // "Резервная копия" while the window keeps painting, a row added, then "Восстановить из копии..." brings the
    // copy's four rows back into the grid and keeps the five-row register as a copy too.
    void backupThenRestoreThroughTheMenu()
    {
        m_program->mainWindow().findChild<QAction*>(QStringLiteral("N22"))->trigger();
        QVERIFY(m_program->backupCommands().isBackingUp());
        QTRY_VERIFY(!m_program->backupCommands().isBackingUp());
        QCOMPARE(m_messages->shown().size(), 1);
        QVERIFY2(m_messages->shownTexts().front().startsWith(QStringLiteral("Резервная копия сохранена: ")),
                 qPrintable(m_messages->shownTexts().front()));

        QVERIFY(m_program->database().insert(awkwardRow(9, QStringLiteral("01.03.2026"))).ok);
        QVERIFY(m_program->registerModel().refresh().ok);
        QCOMPARE(m_program->registerModel().rowCount(), 5);

        m_files->pickNext(0);
        m_messages->answerNext(true);
        m_program->mainWindow().findChild<QAction*>(QStringLiteral("N23"))->trigger();
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
        m_program->backupCommands().backupAutomatically();
        QTRY_VERIFY(!m_program->backupCommands().isBackingUp());
        m_program->backupCommands().backupAutomatically();
        QVERIFY(!m_program->backupCommands().isBackingUp());
        QCOMPARE(QDir(m_folder->filePath(QStringLiteral("Архив"))).entryList(QDir::Files).size(), 1);
        QVERIFY(m_messages->shown().isEmpty());

        QDir(m_folder->filePath(QStringLiteral("Архив"))).removeRecursively();
        const QString path = m_program->database().path();
        QVERIFY(m_program->database().open(path, PolicyDatabase::Access::ReadOnly).ok);
        m_program->backupCommands().backupAutomatically();
        QVERIFY(!m_program->backupCommands().isBackingUp());
        QVERIFY(m_messages->shown().isEmpty());
        QVERIFY(!QDir(m_folder->filePath(QStringLiteral("Архив"))).exists());
    }

    // A second "Резервная копия" while the first copy is still being made or written out: the agent is told to try
    // again in a few seconds, and the first copy is reported as usual.
    void secondCopyWhileTheFirstIsBeingMadeWaits()
    {
        QAction* backup = m_program->mainWindow().findChild<QAction*>(QStringLiteral("N22"));
        backup->trigger();
        backup->trigger();
        QTRY_VERIFY(!m_program->backupCommands().isBackingUp());
        QCOMPARE(m_messages->shown().size(), 2);
        QVERIFY2(m_messages->shownTexts().front().startsWith(
                     QStringLiteral("Предыдущая резервная копия ещё записывается на диск.")),
                 qPrintable(m_messages->shownTexts().front()));
        QVERIFY2(m_messages->shownTexts().back().startsWith(QStringLiteral("Резервная копия сохранена: ")),
                 qPrintable(m_messages->shownTexts().back()));
        QCOMPARE(QDir(m_folder->filePath(QStringLiteral("Архив"))).entryList(QDir::Files).size(), 1);
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

    // The program ends while its copy is being made: it waits for the copy, which is whole and named.
    void programEndingWaitsForTheCopy()
    {
        m_program->mainWindow().findChild<QAction*>(QStringLiteral("N22"))->trigger();
        QVERIFY(m_program->backupCommands().isBackingUp());
        m_program.reset();
        const QStringList copies = QDir(m_folder->filePath(QStringLiteral("Архив"))).entryList(QDir::Files);
        QCOMPARE(copies.size(), 1);
        QVERIFY2(copies.front().startsWith(QStringLiteral("Baza-")) && copies.front().endsWith(QStringLiteral(".mdb")),
                 qPrintable(copies.front()));
    }

    // The job says the copy is made, then that it is on the disk, then that it is done; the path it gives is the
    // copy's, which the oldest-copies pruning has kept.
    void jobReportsTheCopyThenItsWritingOut()
    {
        PolicyDatabase& database = m_program->database();
        BackupJob job(database, database.copyPlace());
        QStringList said;
        QString copy;
        connect(&job, &BackupJob::made, this, [&](const StorageResult<QString>& made) {
            said << QStringLiteral("made");
            QVERIFY2(made.ok, qPrintable(made.error));
            copy = made.value;
        });
        connect(&job, &BackupJob::writtenOut, this, [&](const StorageStatus& kept) {
            said << QStringLiteral("written out");
            QVERIFY2(kept.ok, qPrintable(kept.error));
        });
        connect(&job, &BackupJob::done, this, [&] { said << QStringLiteral("done"); });
        job.run();
        QCOMPARE(said, (QStringList{QStringLiteral("made"), QStringLiteral("written out"), QStringLiteral("done")}));
        QVERIFY(QFileInfo::exists(copy));
        QCOMPARE(RawConnection(copy).rowCount(), 4);
    }
};

QTEST_MAIN(BackupCommandsTest)
#include "BackupCommandsTest.moc"
