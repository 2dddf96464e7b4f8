#include "app/IndexBuildProgress.h"

#include <QCoreApplication>
#include <QCursor>
#include <QProgressDialog>

#include "widgets/WaitCursor.h"

namespace osago {

void buildWithProgress(QWidget* over, const QString& objectName, const QString& title, const QString& text,
                       const std::function<void(const IndexProgress& progress)>& build)
{
    QProgressDialog progress(text, QString(), 0, 100, over);
    progress.setObjectName(objectName);
    progress.setWindowTitle(title);
    progress.setMinimumDuration(0);
    progress.show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const WaitCursor waiting;
    build([&progress](int percent) {
        progress.setValue(percent);
        progress.repaint();
    });
}

} // namespace osago
