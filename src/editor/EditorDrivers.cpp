#include "editor/EditorDrivers.h"

#include "drivers/DriverColumns.h"
#include "drivers/DriversPage.h"
#include "editor/PolicyEditor.h"

namespace osago {

namespace {

// The attributes of an entry are those of the hidden lists ComboBox1 ... in order; the age flag list is derived.
constexpr int kEntryAttributes = DriverColumns::kColumnCount - 1;

} // namespace

bool listDrivers(PolicyEditor& editor, const QList<DriverListTexts>& drivers)
{
    QList<DriverEntry> entries;
    for (const DriverListTexts& texts : drivers) {
        QStringList attributes;
        for (int list = 1; list <= kEntryAttributes; ++list)
            attributes << texts.value(QStringLiteral("ComboBox%1").arg(list));
        entries << DriverEntry::fromAttributes(attributes);
    }
    return editor.driversPage().loadEntries(entries);
}

} // namespace osago
