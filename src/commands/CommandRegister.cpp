#include "commands/CommandRegister.h"

#include "commands/RegisterWarnings.h"
#include "commands/TerminalPassword.h"

#include <QStringList>
#include <QTextStream>

namespace osago {

int refuseInOneLine(QTextStream& errors, const char* command, const QString& reason, int status)
{
    errors << "osago " << command << ": " << reason.split(u'\n', Qt::SkipEmptyParts).join(u' ') << Qt::endl;
    return status;
}

std::unique_ptr<PolicyDatabase> openCommandRegister(QTextStream& errors, const char* command, const QString& location,
                                                    PolicyDatabase::Access access)
{
    StorageResult<std::unique_ptr<PolicyDatabase>> opened = openDatabase(location, access, &askPasswordOnTerminal);
    if (!opened.ok) {
        refuseInOneLine(errors, command, opened.error, 0);
        return nullptr;
    }
    tellOpenWarnings(errors, command, {opened.value.get()});
    return std::move(opened.value);
}

} // namespace osago
