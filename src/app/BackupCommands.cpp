#include "app/BackupCommands.h"

#include "app/BackupJob.h"
#include "app/MainWindow.h"
#include "app/ProgramRegister.h"
#include "grid/RegisterModel.h"
#include "storage/PolicyDatabase.h"
#include "widgets/FileChoices.h"
#include "widgets/Messages.h"

#include <QAction>
#include <QApplication>
#include <QProgressDialog>
#include <QThread>

namespace osago {

namespace {

const QString kBackupTitle = QStringLiteral("Резервная копия");
const QString kRestoreTitle = QStringLiteral("Восстановить из копии");

} // namespace

BackupCommands::BackupCommands(Messages& messages, FileChoices& files, MainWindow& mainWindow,
                               ProgramRegister& programRegister)
    : m_messages(messages)
    , m_files(files)
    , m_mainWindow(mainWindow)
    , m_register(programRegister)
    , m_model(programRegister.model())
{
    connect(mainWindow.commands().backup, &QAction::triggered, this, &BackupCommands::backupNow);
    connect(mainWindow.commands().restore, &QAction::triggered, this, &BackupCommands::restoreFromCopy);
    // A register replaced while its copy is being made goes only once the copy is finished.
    connect(&programRegister, &ProgramRegister::replaced, this, &BackupCommands::waitForBackup);
}

// A copy still being made is finished before the program ends: an interrupted one leaves only its temporary file.
BackupCommands::~BackupCommands()
{
    waitForBackup();
}

void BackupCommands::waitForBackup()
{
    if (m_thread)
        m_thread->wait();
}

void BackupCommands::backupNow()
{
    if (!refused(kBackupTitle, m_register.database().backupRefusal()))
        startBackup(false);
}

bool BackupCommands::refused(const QString& title, const QString& refusal)
{
    if (refusal.isEmpty())
        return false;
    m_messages.show(&m_mainWindow, title, refusal, Messages::Icon::Warning);
    return true;
}

void BackupCommands::backupAutomatically()
{
    const PolicyDatabase& database = m_register.database();
    if (!database.backupRefusal().isEmpty() || database.isReadOnly())
        return;
    if (hasCopyOfDay(database.copyPlace(), QDateTime::currentDateTime()))
        return;
    startBackup(true);
}

void BackupCommands::startBackup(bool automatic)
{
    if (m_thread) {
        // Only after the copy is made can the menu be reached again: the copy is still being written out.
        if (!automatic) {
            m_messages.show(&m_mainWindow, kBackupTitle,
                            QStringLiteral("Предыдущая резервная копия ещё записывается на диск. Повторите через "
                                           "несколько секунд."),
                            Messages::Icon::Information);
        }
        return;
    }
    if (!automatic) {
        m_backupProgress = std::make_unique<QProgressDialog>(QStringLiteral("Идёт резервное копирование реестра..."),
                                                             QString(), 0, 0, &m_mainWindow);
        m_backupProgress->setObjectName(QStringLiteral("FormBackupProgress"));
        m_backupProgress->setWindowTitle(kBackupTitle);
        m_backupProgress->setWindowModality(Qt::WindowModal);
        m_backupProgress->show();
    }
    m_automatic = automatic;
    PolicyDatabase& database = m_register.database();
    m_thread = std::make_unique<QThread>();
    m_job = std::make_unique<BackupJob>(database, database.copyPlace());
    m_job->moveToThread(m_thread.get());
    // The job's signals come to this thread queued, in the order the job gives them, and the thread's end after
    // them. Its end is asked for on the job's own thread, so a wait for it here never waits for this thread.
    connect(m_job.get(), &BackupJob::made, this, &BackupCommands::backupMade);
    connect(m_job.get(), &BackupJob::writtenOut, this, &BackupCommands::backupWrittenOut);
    connect(m_job.get(), &BackupJob::done, m_thread.get(), &QThread::quit, Qt::DirectConnection);
    connect(m_thread.get(), &QThread::finished, this, &BackupCommands::backupFinished);
    QMetaObject::invokeMethod(m_job.get(), &BackupJob::run, Qt::QueuedConnection);
    m_thread->start();
}

void BackupCommands::backupMade(const StorageResult<QString>& copy)
{
    m_backupProgress.reset();
    if (copy.ok) {
        if (!m_automatic) {
            m_messages.show(&m_mainWindow, kBackupTitle,
                            QStringLiteral("Резервная копия сохранена: %1").arg(copy.value),
                            Messages::Icon::Information);
        }
        return;
    }
    if (copy.damaged) {
        if (m_messages.confirm(&m_mainWindow, kBackupTitle,
                               copy.error + QStringLiteral(" Восстановить реестр из копии?")))
            restoreFromCopy();
        return;
    }
    m_messages.show(&m_mainWindow, kBackupTitle, copy.error, Messages::Icon::Warning);
}

void BackupCommands::backupWrittenOut(const StorageStatus& kept)
{
    if (!kept.ok)
        m_messages.show(&m_mainWindow, kBackupTitle, kept.error, Messages::Icon::Warning);
}

void BackupCommands::backupFinished()
{
    m_thread->wait();
    m_job.reset();
    m_thread.reset();
}

void BackupCommands::restoreFromCopy()
{
    PolicyDatabase& database = m_register.database();
    if (refused(kRestoreTitle, database.restoreRefusal()))
        return;
    const CopyPlace place = database.copyPlace();
    const std::vector<RegisterCopy> copies = listCopies(place);
    if (copies.empty()) {
        m_messages.show(&m_mainWindow, kRestoreTitle, QStringLiteral("В папке «%1» нет копий реестра.").arg(place.folder),
                        Messages::Icon::Information);
        return;
    }
    QStringList items;
    for (const RegisterCopy& copy : copies) {
        items << QStringLiteral("%1 — строк: %2")
                     .arg(copy.made.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")),
                          copy.rows < 0 ? QStringLiteral("не читается") : QString::number(copy.rows));
    }
    const int picked = m_files.chooseItem(&m_mainWindow, kRestoreTitle, QStringLiteral("Копия реестра:"), items);
    if (picked < 0)
        return;
    const RegisterCopy& chosen = copies[std::size_t(picked)];
    if (!confirmRestore(chosen))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const StorageStatus restored = database.restore(chosen.path, QDateTime::currentDateTime());
    const StorageStatus reread = database.isOpen() ? m_model.refresh() : StorageStatus{};
    QApplication::restoreOverrideCursor();
    if (!restored.ok) {
        m_messages.show(&m_mainWindow, kRestoreTitle, restored.error, Messages::Icon::Critical);
        return;
    }
    m_messages.show(&m_mainWindow, kRestoreTitle,
                    reread.ok ? QStringLiteral("Реестр восстановлен из копии от %1.").arg(items[picked]) : reread.error,
                    reread.ok ? Messages::Icon::Information : Messages::Icon::Critical);
}

// A restore replaces every row, for every desk: the agent hears how many rows there are now and how many the
// copy brings before anything is changed.
bool BackupCommands::confirmRestore(const RegisterCopy& copy)
{
    const StorageResult<TableExtent> now = m_register.database().readTableExtent();
    const QString rowsNow = now.ok ? QString::number(now.value.rows) : QStringLiteral("не прочитано");
    const QString rowsThen = copy.rows < 0 ? QStringLiteral("не читается") : QString::number(copy.rows);
    return m_messages.confirm(&m_mainWindow, kRestoreTitle,
                              QStringLiteral("Заменить все записи реестра (%1, строк сейчас: %2) записями копии от %3 "
                                             "(строк: %4)? Нынешние записи будут сохранены ещё одной копией.")
                                  .arg(m_register.database().location(), rowsNow,
                                       copy.made.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")), rowsThen));
}

} // namespace osago
