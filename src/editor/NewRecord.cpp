#include "editor/NewRecord.h"

#include "widgets/Controls.h"
#include "editor/EditorLists.h"
#include "editor/PolicyEditor.h"
#include "editor/Localities.h"

#include <QComboBox>
#include <QDateTime>

namespace osago {

namespace {

// Dates in the form of the editor's date masks, day.month.year; the time as hours:minutes:seconds.
const QString kDateFormat = QStringLiteral("dd.MM.yyyy");
const QString kTimeFormat = QStringLiteral("hh:mm:ss");

// The region rules are not run by a program write of the region, so the localities are loaded here.
void loadHomeLocalities(QComboBox* locality)
{
    fillLocalities(locality, kHomeRegion);
    setControlText(locality, kHomeLocality);
}

} // namespace

void prepareNewRecord(PolicyEditor& editor, const QDateTime& moment)
{
    editor.show();
    editor.raise();
    editor.activateWindow();

    const QString today = moment.date().toString(kDateFormat);
    setControlText(editor, QStringLiteral("LabeledEditData"), today);
    setControlText(editor, QStringLiteral("LabeledEditVydan"), today);
    setControlText(editor, QStringLiteral("LabeledEditVrem"), moment.time().toString(kTimeFormat));
    // Written like a typed date, so the period of use follows it.
    setControlText(editor, QStringLiteral("EditS"), today);
    editor.setWindowTitle(QStringLiteral("Создание записи"));

    setControlText(editor, QStringLiteral("ComboBoxRegion"), kHomeRegion);
    loadHomeLocalities(control<QComboBox>(editor, QStringLiteral("ComboBoxNasel")));
    setControlText(editor, QStringLiteral("ComboBoxReg"), kHomeRegion);
    loadHomeLocalities(control<QComboBox>(editor, QStringLiteral("ComboBoxPunkt")));
}

} // namespace osago
