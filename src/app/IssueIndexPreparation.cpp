#include "app/IssueIndexPreparation.h"

#include "app/IndexBuildProgress.h"
#include "storage/PolicyDatabase.h"

namespace osago {

void prepareIssueIndex(PolicyDatabase& database, QWidget* parent, const QString& title)
{
    if (database.isReadOnly() || database.hasIssueDayIndex())
        return;
    buildWithProgress(parent, QStringLiteral("FormReportProgress"), title,
                      QStringLiteral("Построение указателя дат выдачи (один раз для этого реестра)..."),
                      [&database](const IndexProgress& progress) { database.buildIssueDayIndex(progress); });
}

} // namespace osago
