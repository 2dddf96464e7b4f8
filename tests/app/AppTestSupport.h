#pragma once

#include "app/Program.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

namespace osago::test {

// Makes `window` the active window, as the agent's click on it would. Activating a window that is already
// active would deactivate it on the offscreen platform, so that is left alone.
[[nodiscard]] inline bool activate(QWidget& window)
{
    if (!window.isActiveWindow())
        window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// A register file of its own in `folder`, so that no test opens a Baza.mdb in its working folder.
inline osago::ProgramOptions registerIn(const QTemporaryDir& folder)
{
    return {folder.filePath(QStringLiteral("Baza.mdb"))};
}

inline QWidget* topLevelNamed(const QString& name)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == name)
            return window;
    }
    return nullptr;
}

// A key pressed as the agent presses it: delivered to whatever has the keyboard focus.
inline void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
    QVERIFY2(target, "no window has the keyboard");
    QTest::keyClick(target, key, modifiers);
}

// Types `text` into `edit` key by key over what it held, as the agent does; an empty text leaves it empty.
inline void typeOver(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

// Picks the item `index` of the closed drop-down `box` with the keyboard, as the agent does.
inline void pickItem(QComboBox* box, int index)
{
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Home);
    for (int item = 0; item < index; ++item)
        QTest::keyClick(box, Qt::Key_Down);
}

} // namespace osago::test
