#pragma once

#include "widgets/Controls.h"
#include "drivers/DriversPage.h"
#include "editor/PolicyEditor.h"
#include "drivers/DriverDialog.h"
#include "widgets/MaskedEdit.h"
#include "app/Program.h"

#include <QTemporaryDir>
#include "ScriptedMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

// Runs a harness step that may fail a check and leaves the test function when it did.
#define OSAGO_STEP(step)                                                                                   \
    do {                                                                                                   \
        step;                                                                                              \
        if (QTest::currentTestFailed())                                                                    \
            return;                                                                                        \
    } while (false)

namespace osago::test {

// What the agent types into "Сведения о водителе" for one driver.
struct TypedDriver
{
    QString name;
    QString birthDate;
    QString sex = QStringLiteral("М");
    QString address;
    QString permit; // as typed: the series and number, then the issue date's digits and dots
    QString experience;
    QString driverClass = QStringLiteral("3");
    bool longExperience = false;
    bool gross = false;
};

// A driver of whom only the name and the birth date are typed.
inline TypedDriver someone(const QString& name, const QString& birthDate)
{
    TypedDriver driver;
    driver.name = name;
    driver.birthDate = birthDate;
    return driver;
}

inline const QString kEmptyDate = QStringLiteral("  .  .    ");
inline const QString kEmptyPermit = QStringLiteral("              .  .    ");

// The whole program with its real editor and driver dialog, the editor open on "Водители".
class DriversHarness
{
public:
    explicit DriversHarness(ScriptedMessages& seam)
        : program(seam, {registerFolder.filePath(QStringLiteral("Baza.mdb"))})
        , editor(program.policyEditor())
        , page(editor.driversPage())
        , dialog(program.driverDialog())
    {
    }

    QTemporaryDir registerFolder;
    Program program;
    PolicyEditor& editor;
    DriversPage& page;
    DriverDialog& dialog;

    template <typename T = QWidget>
    T* onPage(const char* name) const
    {
        return found<T>(page, name);
    }
    template <typename T = QWidget>
    T* inDialog(const char* name) const
    {
        return found<T>(dialog, name);
    }
    template <typename T = QWidget>
    T* inEditor(const char* name) const
    {
        return found<T>(editor, name);
    }

    // Shows the editor with `issueDate` typed as the policy's issue date, on the drivers page.
    void openEditor(const QString& issueDate)
    {
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        typeInEditor("LabeledEditVydan", issueDate);
        goToPageOf(&page);
    }

    // Clicks the tab of the editor page that holds `widget`.
    void goToPageOf(QWidget* widget)
    {
        auto* pages = editor.findChild<QTabWidget*>(QStringLiteral("PageControl"));
        QVERIFY(pages);
        for (int i = 0; i < pages->count(); ++i) {
            if (pages->widget(i) == widget || pages->widget(i)->isAncestorOf(widget)) {
                QTabBar* tabs = pages->tabBar();
                QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(i).center());
                QTRY_VERIFY(widget->isVisible());
                return;
            }
        }
        QFAIL("the widget is on no page of the editor");
    }

    // Types into a field of the editor after clicking its page; call goToPageOf(&page) to come back.
    void typeInEditor(const char* name, const QString& text)
    {
        QWidget* field = inEditor(name);
        if (auto* dropDown = qobject_cast<QComboBox*>(field))
            field = dropDown->lineEdit();
        goToPageOf(field);
        if (!QTest::currentTestFailed())
            type(field, text);
    }

    // Replaces the text of a field the way the agent does: select everything, type the new text.
    // Non-Latin characters go one at a time, as QTest::keyClicks cannot send them.
    static void type(QWidget* field, const QString& text)
    {
        field->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Delete);
        if (auto* masked = qobject_cast<MaskedEdit*>(field))
            masked->home(false);
        for (const QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }

    static void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }

    // Clicks a check box on its box, as a wide check box does not react to a click beside its text.
    static void click(QCheckBox* box)
    {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->height() / 2, box->height() / 2));
    }

    // Picks an item of a drop-down with the arrow keys on the closed box.
    static void pick(QComboBox* box, const QString& item)
    {
        const int index = box->findText(item);
        QVERIFY(index >= 0);
        box->setFocus(Qt::MouseFocusReason);
        for (int step = 0; step < box->count() && box->currentIndex() != index; ++step)
            QTest::keyClick(box, box->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(box->currentText(), item);
    }

    void clickOnPage(const char* button) { click(onPage(button)); }

    // Clicks an add command or "Изменить" and waits for the dialog to become the active window.
    void openDialogBy(const char* button)
    {
        clickOnPage(button);
        QTRY_VERIFY(dialog.isActiveWindow());
    }

    void fillDialog(const TypedDriver& driver)
    {
        type(inDialog("LabeledEditFIO"), driver.name);
        if (!driver.birthDate.isEmpty())
            type(inDialog("LabeledEditDR"), driver.birthDate);
        type(inDialog<QComboBox>("ComboBoxPol")->lineEdit(), driver.sex);
        type(inDialog("LabeledEditAdres"), driver.address);
        if (!driver.permit.isEmpty())
            type(inDialog("LabeledEditVU"), driver.permit);
        type(inDialog("LabeledEditStazh"), driver.experience);
        type(inDialog<QComboBox>("ComboBoxKlass")->lineEdit(), driver.driverClass);
        setTicked(inDialog<QCheckBox>("CheckBox2g"), driver.longExperience);
        setTicked(inDialog<QCheckBox>("CheckBoxGrub"), driver.gross);
    }

    // "Добавить других", the driver typed in, "Добавить"; the dialog must close.
    void addOther(const TypedDriver& driver)
    {
        openDialogBy("ButtonDobD");
        fillDialog(driver);
        click(inDialog("ButtonOk"));
        QTRY_VERIFY(!dialog.isVisible());
    }

    void selectLine(int row)
    {
        auto* list = onPage<QListWidget>("ListBoxVodit");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
        QTRY_COMPARE(list->currentRow(), row);
    }

    QStringList listLines() const
    {
        auto* list = onPage<QListWidget>("ListBoxVodit");
        QStringList lines;
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    }

    // The items of the driver column ComboBox<number>.
    QStringList column(int number) const
    {
        auto* box = page.findChild<QComboBox*>(QStringLiteral("ComboBox%1").arg(number));
        QStringList items;
        if (box) {
            for (int i = 0; i < box->count(); ++i)
                items << box->itemText(i);
        }
        return items;
    }

    // Every driver column, the list lines first: one row of texts per column.
    QList<QStringList> allColumns() const
    {
        QList<QStringList> out{listLines()};
        for (int n = 1; n <= 10; ++n)
            out << column(n);
        return out;
    }

    // Enabled as far as the page goes: the whole editor is disabled while the dialog is shown.
    bool enabledOnPage(const char* name) const { return onPage(name)->isEnabledTo(&editor); }

private:
    template <typename T>
    static T* found(const QWidget& root, const char* name)
    {
        T* widget = root.findChild<T*>(QString::fromUtf8(name));
        if (!widget)
            qFatal("no control %s under %s", name, qPrintable(root.objectName()));
        return widget;
    }

    static void setTicked(QCheckBox* box, bool ticked)
    {
        if (box->isChecked() != ticked)
            click(box);
    }
};

// The texts the driver columns hold for a typed driver with the age flag `ageFlag`: the list line,
// then ComboBox1 ... ComboBox10. Written out from the typed values, not from the program.
inline QStringList expectedRow(const TypedDriver& driver, const QString& birthDateText, const QString& permitText,
                               const QString& ageFlag)
{
    const auto yesNo = [](bool yes) { return yes ? QStringLiteral("Да") : QStringLiteral("Нет"); };
    return {driver.name,       driver.name,   birthDateText,      driver.sex,
            driver.address,    permitText,    driver.experience,  driver.driverClass,
            yesNo(driver.longExperience), yesNo(driver.gross), ageFlag};
}

} // namespace osago::test
