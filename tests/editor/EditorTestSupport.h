#pragma once

#include "widgets/Controls.h"
#include "editor/PolicyEditor.h"
#include "PageTestSupport.h"
#include "ScriptedMessages.h"

#include <QAbstractButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <memory>

namespace osago::test {

inline const QString kEmptyDate = QStringLiteral("  .  .    ");
inline const QString kHomeRegionText = QStringLiteral("Тальградская область");

// A real editor with a plain widget as the main window it disables.
struct Editor
{
    ScriptedMessages seam;
    QWidget mainWindow;
    PolicyEditor form{seam, mainWindow};

    template <typename T = QWidget>
    T* get(const QString& name) const
    {
        return control<T>(form, name);
    }

    QTabWidget* pages() const { return get<QTabWidget>(QStringLiteral("PageControl")); }
    QString text(const QString& name) const { return controlText(form, name); }
    void write(const QString& name, const QString& value) const { setControlText(form, name, value); }

    bool show()
    {
        mainWindow.show();
        form.show();
        return QTest::qWaitForWindowExposed(&form);
    }

    void click(const QString& buttonName) const
    {
        auto* button = get<QAbstractButton>(buttonName);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    void clickTab(int page) const
    {
        QTabBar* bar = pages()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(page).center());
    }

    // Moves to `page` as the agent does, with "Далее >>" and "<< Назад".
    void walkTo(int page) const
    {
        while (pages()->currentIndex() < page)
            click(QStringLiteral("ButtonVper"));
        while (pages()->currentIndex() > page)
            click(QStringLiteral("ButtonNaz"));
    }

    // Replaces a field's text as the agent does: focus, select all, type.
    void retypeField(const QString& name, const QString& value) const
    {
        QWidget* field = get(name);
        auto* edit = qobject_cast<QLineEdit*>(field);
        if (auto* dropDown = qobject_cast<QComboBox*>(field))
            edit = dropDown->lineEdit();
        QVERIFY(edit);
        edit->setFocus();
        edit->selectAll();
        if (value.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            typeText(edit, value);
    }

    // Types a date into an empty masked date field from its first position.
    void typeDate(const QString& name, const QString& digits) const
    {
        auto* edit = get<QLineEdit>(name);
        edit->setFocus();
        edit->setCursorPosition(0);
        typeText(edit, digits);
    }
};

// The base of the editor's test classes: a fresh, shown editor for every test function, and no question
// left unanswered or unexpected at its end.
class EditorTestCase : public QObject
{
    Q_OBJECT

protected:
    Editor& editor() { return *m_editor; }

private slots:
    void init()
    {
        m_editor = std::make_unique<Editor>();
        QVERIFY(editor().show());
    }

    void cleanup()
    {
        OSAGO_VERIFY_MESSAGES(editor().seam);
        m_editor.reset();
    }

private:
    std::unique_ptr<Editor> m_editor;
};

} // namespace osago::test
