#pragma once

#include "storage/RegisterCopies.h"
#include "storage/StorageStatus.h"

#include <QObject>

#include <memory>

class QProgressDialog;
class QThread;

namespace osago {

class BackupJob;
class FileChoices;
class MainWindow;
class Messages;
class ProgramRegister;
class RegisterModel;

// "Резервная копия" and "Восстановить из копии..." of the menu "Сервис", and the automatic copy of the day: copies
// of the register into "Архив", made by a BackupJob on a thread of their own, and the register's rows replaced by
// those of a copy the agent chooses.
class BackupCommands : public QObject
{
    Q_OBJECT

public:
    BackupCommands(Messages& messages, FileChoices& files, MainWindow& mainWindow, ProgramRegister& programRegister);
    ~BackupCommands() override;

    // "Резервная копия": a copy into "Архив" now, made off the window's thread under a progress window.
    void backupNow();
    // At start, at most once a day: the same without a word unless it fails; nothing for a read-only register.
    void backupAutomatically();
    // "Восстановить из копии...": lists the copies with their time and rows, restores the chosen one.
    void restoreFromCopy();
    // Whether a copy is being made or written out to the disk.
    bool isBackingUp() const { return m_thread != nullptr; }

private:
    // Tells the agent `refusal`, when there is one: why no copy can be made or restored now.
    bool refused(const QString& title, const QString& refusal);
    bool confirmRestore(const RegisterCopy& copy);
    // Returns once the copy being made, if any, is finished, written out and the oldest pruned.
    void waitForBackup();
    void startBackup(bool automatic);
    // The copy is made (or not): what the agent hears of it.
    void backupMade(const StorageResult<QString>& copy);
    // The copy could not be written out to the disk: the agent hears it. Nothing is said when it was.
    void backupWrittenOut(const StorageStatus& kept);
    // The job's thread has ended: another copy may be made.
    void backupFinished();

    Messages& m_messages;
    FileChoices& m_files;
    MainWindow& m_mainWindow;
    ProgramRegister& m_register;
    RegisterModel& m_model;
    // The copy being made, with its thread; null when none is.
    std::unique_ptr<QThread> m_thread;
    std::unique_ptr<BackupJob> m_job;
    // Whether the copy being made is the automatic one, which says nothing when it is made.
    bool m_automatic = false;
    std::unique_ptr<QProgressDialog> m_backupProgress;
};

} // namespace osago
