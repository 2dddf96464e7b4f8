#pragma once

#include "storage/PolicyDatabase.h"

#include <QString>

class QWidget;

namespace osago {

// Runs `build`, an index's build, under a progress window over `over` named `objectName`, titled `title`, saying
// `text`. The progress comes from inside the engine, which must not be re-entered: the window is repainted there,
// and no events are handled until the build ends.
void buildWithProgress(QWidget* over, const QString& objectName, const QString& title, const QString& text,
                       const std::function<void(const IndexProgress& progress)>& build);

} // namespace osago
