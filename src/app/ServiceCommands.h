#pragma once

#include "IssuePeriod.h"

#include <QDate>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>

namespace osago {

class FileChoices;
class FormMain;
class FormPeriod;
class Messages;
class PolicyDatabase;
class RegisterModel;

// The commands of the menu "Сервис" over the register: the export of the rows the grid shows.
class ServiceCommands : public QObject
{
    Q_OBJECT

public:
    using Today = std::function<QDate()>;

    ServiceCommands(Messages& messages, FileChoices& files, FormMain& mainWindow, PolicyDatabase& database,
                    RegisterModel& model, Today today = &QDate::currentDate);
    ~ServiceCommands() override;

    // "Экспорт...": asks for a period (or none), then the file, then writes the rows under a progress window.
    void exportRows();

    FormPeriod& periodWindow() { return *m_period; }

private:
    void exportPeriod(const std::optional<IssuePeriod>& period);

    Messages& m_messages;
    FileChoices& m_files;
    FormMain& m_mainWindow;
    PolicyDatabase& m_database;
    RegisterModel& m_model;
    Today m_today;
    std::unique_ptr<FormPeriod> m_period;
    QMetaObject::Connection m_periodChosen;
};

} // namespace osago
