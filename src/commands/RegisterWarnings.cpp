#include "commands/RegisterWarnings.h"

#include "storage/PolicyDatabase.h"

#include <QStringList>
#include <QTextStream>

namespace osago {

void tellOpenWarnings(QTextStream& errors, const char* command,
                      std::initializer_list<const PolicyDatabase*> registers)
{
    QStringList told;
    for (const PolicyDatabase* database : registers) {
        const QString warning = database->openWarning();
        if (warning.isEmpty() || told.contains(warning))
            continue;
        told << warning;
        errors << "osago " << command << ": " << warning << Qt::endl;
    }
}

} // namespace osago
