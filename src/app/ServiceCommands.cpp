#include "ServiceCommands.h"

#include "FileChoices.h"
#include "FormMain.h"
#include "AgentReport.h"
#include "AgentSettings.h"
#include "DocumentPrinter.h"
#include "FormPeriod.h"
#include "FormReport.h"
#include "Messages.h"
#include "PolicyDatabase.h"
#include "RegisterBackup.h"
#include "RegisterExport.h"
#include "RegisterModel.h"
#include "RegisterRowStream.h"
#include "ReportOutput.h"
#include "ReportPages.h"
#include "TableFileWriter.h"
#include "WaitCursor.h"

#include <QAction>
#include <QApplication>
#include <QProgressDialog>
#include <QThread>

namespace osago {

namespace {

const QString kExportTitle = QStringLiteral("Экспорт реестра");
const QString kBackupTitle = QStringLiteral("Резервная копия");
const QString kRestoreTitle = QStringLiteral("Восстановить из копии");
const QString kReportTitle = QStringLiteral("Отчёт агента");
const QString kExportFilters = QStringLiteral("Таблица CSV (*.csv);;Книга Excel (*.xlsx)");

} // namespace

ServiceCommands::ServiceCommands(Messages& messages, FileChoices& files, FormMain& mainWindow,
                                 PolicyDatabase& database, RegisterModel& model, Today today)
    : m_messages(messages)
    , m_files(files)
    , m_mainWindow(mainWindow)
    , m_database(database)
    , m_model(model)
    , m_today(std::move(today))
    , m_period(std::make_unique<FormPeriod>(messages))
    , m_printer(std::make_unique<SystemPrinter>())
    , m_report(std::make_unique<FormReport>(messages, *m_printer, files))
{
    connect(mainWindow.commands().exportRows, &QAction::triggered, this, &ServiceCommands::exportRows);
    connect(mainWindow.commands().report, &QAction::triggered, this, &ServiceCommands::report);
    connect(mainWindow.commands().backup, &QAction::triggered, this, &ServiceCommands::backupNow);
    connect(mainWindow.commands().restore, &QAction::triggered, this, &ServiceCommands::restoreFromCopy);
}

// A copy still being made is finished before the program ends: an interrupted one leaves only its temporary file.
ServiceCommands::~ServiceCommands()
{
    if (m_backupThread)
        m_backupThread->wait();
}

void ServiceCommands::backupNow()
{
    if (!refusedWithoutFile(kBackupTitle))
        startBackup(false);
}

// Copies are made of the register's file: a server's register has none, and its administrator keeps the copies.
bool ServiceCommands::refusedWithoutFile(const QString& title)
{
    if (!m_database.path().isEmpty())
        return false;
    m_messages.show(&m_mainWindow, title,
                    m_database.engine() == PolicyDatabase::Engine::Server
                        ? kServerBackupRefusal
                        : QStringLiteral("Реестр не открыт, поэтому копировать и восстанавливать нечего."),
                    Messages::Icon::Warning);
    return true;
}

void ServiceCommands::backupAutomatically()
{
    const QString path = m_database.path();
    if (path.isEmpty() || !m_database.isOpen() || m_database.isReadOnly())
        return;
    if (hasCopyOfDay(path, archiveFolderOf(path), QDateTime::currentDateTime()))
        return;
    startBackup(true);
}

void ServiceCommands::startBackup(bool automatic)
{
    if (m_backupThread) {
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
    const QString path = m_database.path();
    m_keptOnDisk = {};
    // The copy is reported as soon as it is whole and checked; it is then written out to the disk on the same
    // thread, and only a copy on the disk lets the oldest ones go.
    m_backupThread = QThread::create([this, path, automatic] {
        m_backupResult = backupRegister(path, archiveFolderOf(path), QDateTime::currentDateTime(), {},
                                        OnDisk::AfterReport);
        QMetaObject::invokeMethod(this, [this, automatic] { backupMade(automatic); }, Qt::QueuedConnection);
        if (!m_backupResult.ok)
            return;
        m_keptOnDisk = keepOnDisk(m_backupResult.value);
        if (m_keptOnDisk.ok)
            pruneCopies(path, archiveFolderOf(path));
    });
    connect(m_backupThread, &QThread::finished, this, &ServiceCommands::backupFinished);
    m_backupThread->start();
}

void ServiceCommands::backupMade(bool automatic)
{
    m_backupProgress.reset();
    if (m_backupResult.ok) {
        if (!automatic) {
            m_messages.show(&m_mainWindow, kBackupTitle,
                            QStringLiteral("Резервная копия сохранена: %1").arg(m_backupResult.value),
                            Messages::Icon::Information);
        }
        return;
    }
    if (m_backupResult.error.contains(QStringLiteral("повреждён"))) {
        if (m_messages.confirm(&m_mainWindow, kBackupTitle,
                               m_backupResult.error + QStringLiteral(" Восстановить реестр из копии?")))
            restoreFromCopy();
        return;
    }
    m_messages.show(&m_mainWindow, kBackupTitle, m_backupResult.error, Messages::Icon::Warning);
}

void ServiceCommands::backupFinished()
{
    m_backupThread->wait();
    delete m_backupThread;
    m_backupThread = nullptr;
    if (!m_keptOnDisk.ok)
        m_messages.show(&m_mainWindow, kBackupTitle, m_keptOnDisk.error, Messages::Icon::Warning);
}

void ServiceCommands::restoreFromCopy()
{
    if (refusedWithoutFile(kRestoreTitle))
        return;
    if (m_database.isReadOnly()) {
        m_messages.show(&m_mainWindow, kRestoreTitle,
                        QStringLiteral("Реестр открыт только для чтения, восстановить его из копии нельзя: %1")
                            .arg(m_database.readOnlyReason()),
                        Messages::Icon::Warning);
        return;
    }
    const QString path = m_database.path();
    const std::vector<RegisterCopy> copies = listCopies(path);
    if (copies.empty()) {
        m_messages.show(&m_mainWindow, kRestoreTitle,
                        QStringLiteral("В папке «%1» нет копий реестра.").arg(archiveFolderOf(path)),
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
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The program's own connection is opened again over the restored file, so it keeps nothing of the old one.
    m_database.close();
    const StorageStatus restored = restoreRegister(path, copies[std::size_t(picked)].path, QDateTime::currentDateTime());
    StorageStatus reread = m_database.open(path);
    if (reread.ok)
        reread = m_model.refresh();
    QApplication::restoreOverrideCursor();
    if (!restored.ok) {
        m_messages.show(&m_mainWindow, kRestoreTitle, restored.error, Messages::Icon::Critical);
        return;
    }
    m_messages.show(&m_mainWindow, kRestoreTitle,
                    reread.ok ? QStringLiteral("Реестр восстановлен из копии от %1.").arg(items[picked]) : reread.error,
                    reread.ok ? Messages::Icon::Information : Messages::Icon::Critical);
}

void ServiceCommands::askPeriod(const QString& title,
                                void (ServiceCommands::*then)(const std::optional<IssuePeriod>&), bool required)
{
    disconnect(m_periodChosen);
    m_periodChosen = connect(m_period.get(), &FormPeriod::chosen, this, then);
    m_period->ask(title, required ? FormPeriod::Need::Required : FormPeriod::Need::Optional, m_today());
}

void ServiceCommands::exportRows()
{
    askPeriod(kExportTitle, &ServiceCommands::exportPeriod, false);
}

void ServiceCommands::report()
{
    askPeriod(kReportTitle, &ServiceCommands::reportPeriod, true);
}

// A register made before the issue index gets it at its first report: a read of the whole table, seconds at a
// million rows, under a progress window. Where it cannot be built (another program writing for longer than the
// busy timeout) the report reads the table instead, slower but the same. The progress comes from inside SQLite,
// which must not be re-entered: the window is repainted there, and no events are handled until the build ends.
void ServiceCommands::prepareIssueIndex()
{
    if (m_database.isReadOnly() || m_database.hasIssueDayIndex())
        return;
    QProgressDialog progress(QStringLiteral("Подготовка отчёта: построение указателя дат выдачи..."), QString(), 0,
                             100, &m_mainWindow);
    progress.setObjectName(QStringLiteral("FormReportProgress"));
    progress.setWindowTitle(kReportTitle);
    progress.setMinimumDuration(0);
    progress.show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const WaitCursor waiting;
    m_database.buildIssueDayIndex([&progress](int percent) {
        progress.setValue(percent);
        progress.repaint();
    });
}

void ServiceCommands::reportPeriod(const std::optional<IssuePeriod>& period)
{
    const AgentSettings parties = AgentSettings::load();
    prepareIssueIndex();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const StorageResult<AgentReport> made = makeAgentReport(m_database, *period, parties.agent, parties.insurer);
    QApplication::restoreOverrideCursor();
    if (!made.ok) {
        m_messages.show(&m_mainWindow, kReportTitle, made.error, Messages::Icon::Critical);
        return;
    }
    m_report->showReport(agentReportPages(made.value), QStringLiteral("Отчёт агента %1-%2.pdf")
                                                          .arg(registerDateText(period->from), registerDateText(period->to)));
}

void ServiceCommands::exportPeriod(const std::optional<IssuePeriod>& period)
{
    QString target = m_files.saveFileName(&m_mainWindow, kExportTitle, QStringLiteral("Реестр.xlsx"), kExportFilters);
    if (target.isEmpty())
        return;
    if (!tableFormatOf(target))
        target += QStringLiteral(".csv");

    QProgressDialog progress(QStringLiteral("Идёт экспорт реестра..."), QStringLiteral("Отмена"), 0, 0, &m_mainWindow);
    progress.setObjectName(QStringLiteral("FormExportProgress"));
    progress.setWindowTitle(kExportTitle);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    RegisterRowStream rows(m_database, m_model.selection());
    const ExportOutcome outcome = exportRegister(rows, period, target, [&](std::size_t done, std::size_t total) {
        progress.setMaximum(int(total));
        progress.setValue(int(done));
        return !progress.wasCanceled();
    });
    progress.reset();

    switch (outcome.kind) {
    case ExportOutcome::Kind::Written:
        m_messages.show(&m_mainWindow, kExportTitle, QStringLiteral("Экспорт завершён. ") + exportSummary(outcome),
                        Messages::Icon::Information);
        break;
    case ExportOutcome::Kind::Cancelled:
        m_messages.show(&m_mainWindow, kExportTitle, QStringLiteral("Экспорт отменён, файл не записан."),
                        Messages::Icon::Information);
        break;
    case ExportOutcome::Kind::Failed:
        m_messages.show(&m_mainWindow, kExportTitle, outcome.error, Messages::Icon::Critical);
        break;
    }
}

} // namespace osago
