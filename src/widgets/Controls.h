#pragma once

#include <QString>
#include <QWidget>

namespace osago {

// The named control `name` under `root`; a missing control is a programming error.
template <typename T>
T* control(const QWidget& root, const QString& name)
{
    T* found = root.findChild<T*>(name);
    if (!found)
        qFatal("no control %s of the expected kind under %s", qPrintable(name), qPrintable(root.objectName()));
    return found;
}

// The text a control holds as the rest of the program reads it: a masked edit's full masked
// text, an edit's or drop-down's text; check boxes and radio buttons have no text (empty).
QString controlText(const QWidget* control);

// Writes a text as the program writes it: an edit's change signal follows, a drop-down's
// agent-change signals (textActivated, textEdited) do not.
void setControlText(QWidget* control, const QString& text);

inline QString controlText(const QWidget& root, const QString& name)
{
    return controlText(control<QWidget>(root, name));
}

inline void setControlText(const QWidget& root, const QString& name, const QString& text)
{
    setControlText(control<QWidget>(root, name), text);
}

} // namespace osago
