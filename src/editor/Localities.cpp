#include "editor/Localities.h"

#include "editor/EditorLists.h"

#include <QComboBox>

namespace osago {

void fillLocalities(QComboBox* locality, const QString& region)
{
    locality->clear();
    if (region == kHomeRegion)
        locality->addItems(homeLocalities());
}

} // namespace osago
