#include "app/IssueIndexPreparation.h"

#include "storage/PolicyDatabase.h"
#include "widgets/WaitCursor.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace osago {

// The progress comes from inside the engine, which must not be re-entered: the window is repainted there, and no
// events are handled until the build ends.
void prepareIssueIndex(PolicyDatabase& database, QWidget* parent, const QString& title)
{
    if (database.isReadOnly() || database.hasIssueDayIndex())
        return;
    QProgressDialog progress(QStringLiteral("Построение указателя дат выдачи (один раз для этого реестра)..."), QString(), 0,
                             100, parent);
    progress.setObjectName(QStringLiteral("FormReportProgress"));
    progress.setWindowTitle(title);
    progress.setMinimumDuration(0);
    progress.show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const WaitCursor waiting;
    database.buildIssueDayIndex([&progress](int percent) {
        progress.setValue(percent);
        progress.repaint();
    });
}

} // namespace osago
