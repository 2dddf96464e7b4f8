#include "app/ServiceCommands.h"

#include "widgets/FileChoices.h"
#include "app/FormMain.h"
#include "report/AgentReport.h"
#include "app/AgentSettings.h"
#include "print/DocumentPrinter.h"
#include "app/FormPeriod.h"
#include "app/FormReport.h"
#include "widgets/Messages.h"
#include "app/ProgramRegister.h"
#include "storage/PolicyDatabase.h"
#include "export/RegisterExport.h"
#include "grid/RegisterModel.h"
#include "storage/RegisterRowStream.h"
#include "report/ReportOutput.h"
#include "report/ReportPages.h"
#include "export/TableFileWriter.h"
#include "widgets/WaitCursor.h"

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
                                 ProgramRegister& programRegister, RegisterModel& model, Today today)
    : m_messages(messages)
    , m_files(files)
    , m_mainWindow(mainWindow)
    , m_register(programRegister)
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
    connect(&programRegister, &ProgramRegister::replaced, this, &ServiceCommands::registerReplaced);
}

// A copy still being made is finished before the program ends: an interrupted one leaves only its temporary file.
ServiceCommands::~ServiceCommands()
{
    if (m_backupThread)
        m_backupThread->wait();
}

void ServiceCommands::backupNow()
{
    if (!refused(kBackupTitle, m_register.database().backupRefusal()))
        startBackup(false);
}

bool ServiceCommands::refused(const QString& title, const QString& refusal)
{
    if (refusal.isEmpty())
        return false;
    m_messages.show(&m_mainWindow, title, refusal, Messages::Icon::Warning);
    return true;
}

void ServiceCommands::backupAutomatically()
{
    const PolicyDatabase& database = m_register.database();
    if (!database.backupRefusal().isEmpty() || database.isReadOnly())
        return;
    if (hasCopyOfDay(database.copyPlace(), QDateTime::currentDateTime()))
        return;
    startBackup(true);
}

// A register replaced while its copy is being made goes only once the copy is finished.
void ServiceCommands::registerReplaced()
{
    if (m_backupThread)
        m_backupThread->wait();
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
    PolicyDatabase& database = m_register.database();
    const CopyPlace place = database.copyPlace();
    m_keptOnDisk = {};
    // The copy is reported as soon as it is whole and checked; it is then written out to the disk on the same
    // thread, and only a copy on the disk lets the oldest ones go. The engine makes it on a connection of its own.
    m_backupThread = QThread::create([this, &database, place, automatic] {
        m_backupResult = database.backup(place, QDateTime::currentDateTime(), OnDisk::AfterReport);
        QMetaObject::invokeMethod(this, [this, automatic] { backupMade(automatic); }, Qt::QueuedConnection);
        if (!m_backupResult.ok)
            return;
        m_keptOnDisk = keepOnDisk(m_backupResult.value);
        if (m_keptOnDisk.ok)
            pruneCopies(place);
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
    if (m_backupResult.damaged) {
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
bool ServiceCommands::confirmRestore(const RegisterCopy& copy)
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
    if (m_register.database().isReadOnly() || m_register.database().hasIssueDayIndex())
        return;
    QProgressDialog progress(QStringLiteral("Подготовка отчёта: построение указателя дат выдачи..."), QString(), 0,
                             100, &m_mainWindow);
    progress.setObjectName(QStringLiteral("FormReportProgress"));
    progress.setWindowTitle(kReportTitle);
    progress.setMinimumDuration(0);
    progress.show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const WaitCursor waiting;
    m_register.database().buildIssueDayIndex([&progress](int percent) {
        progress.setValue(percent);
        progress.repaint();
    });
}

void ServiceCommands::reportPeriod(const std::optional<IssuePeriod>& period)
{
    const AgentSettings parties = AgentSettings::load();
    prepareIssueIndex();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const StorageResult<AgentReport> made = makeAgentReport(m_register.database(), *period, parties.agent, parties.insurer);
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
    RegisterRowStream rows(m_register.database(), m_model.selection());
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
