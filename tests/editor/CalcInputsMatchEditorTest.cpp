// `osago calc` keeps its own table of the editor's input controls and their new-record values;
// this test holds that table to the real editor, so the two cannot drift apart.
#include "tariff/calc/EditorInputControls.h"
#include "EditorTestSupport.h"
#include "widgets/MaskedEdit.h"
#include "editor/NewRecord.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QRadioButton>

#include <map>

using namespace osago;
using namespace osago::test;

namespace {

struct RealControl
{
    ControlKind kind;
    QString text;
    bool checked = false;
};

// Every named input widget of the editor, the line edits inside drop-downs left out.
std::map<QString, RealControl> realInputs(const PolicyEditor& form)
{
    std::map<QString, RealControl> found;
    for (QWidget* widget : form.findChildren<QWidget*>()) {
        const QString name = widget->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
            continue;
        if (auto* masked = qobject_cast<MaskedEdit*>(widget))
            found[name] = {ControlKind::MaskedEdit, masked->maskedText()};
        else if (auto* edit = qobject_cast<QLineEdit*>(widget); edit && !qobject_cast<QComboBox*>(edit->parent()))
            found[name] = {ControlKind::Edit, edit->text()};
        else if (auto* dropDown = qobject_cast<QComboBox*>(widget))
            found[name] = {ControlKind::DropDown, dropDown->currentText()};
        else if (auto* box = qobject_cast<QCheckBox*>(widget))
            found[name] = {ControlKind::CheckBox, {}, box->isChecked()};
        else if (auto* radio = qobject_cast<QRadioButton*>(widget))
            found[name] = {ControlKind::RadioButton, {}, radio->isChecked()};
    }
    return found;
}

} // namespace

class CalcInputsMatchEditorTest : public QObject
{
    Q_OBJECT

private slots:
    void sameControlsKindsAndNewRecordValues()
    {
        Editor editor;
        const QDateTime moment(QDate(2026, 3, 7), QTime(9, 5, 4));
        prepareNewRecord(editor.form, moment);

        std::map<QString, RealControl> real = realInputs(editor.form);
        const auto table = editorInputControls("07.03.2026", "09:05:04");
        QVERIFY(!table.empty());
        for (const InputControl& entry : table) {
            const QString name = QString::fromUtf8(entry.name.data(), qsizetype(entry.name.size()));
            const auto it = real.find(name);
            QVERIFY2(it != real.end(), qPrintable(name + QStringLiteral(" is not an input of the editor")));
            QVERIFY2(it->second.kind == entry.kind, qPrintable(name + QStringLiteral(": another kind")));
            if (holdsText(entry.kind))
                QCOMPARE(it->second.text, QString::fromStdString(entry.text));
            else
                QVERIFY2(it->second.checked == entry.checked, qPrintable(name + QStringLiteral(": another state")));
            real.erase(it);
        }
        QStringList missing;
        for (const auto& [name, control] : real)
            missing << name;
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("not known to osago calc: ") + missing.join(u' ')));
        editor.form.hide();
    }
};

QTEST_MAIN(CalcInputsMatchEditorTest)
#include "CalcInputsMatchEditorTest.moc"
