#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

namespace osago::test {

// Types `text` as the agent would, one key at a time (Cyrillic included).
inline void typeText(QWidget* widget, const QString& text)
{
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

// Replaces the text of an edit as the agent would: select all, then type.
inline void retype(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        typeText(edit, text);
}

// Picks the item `text` from a drop-down's list with the mouse.
inline bool pickItem(QComboBox* comboBox, const QString& text)
{
    const int index = comboBox->findText(text, Qt::MatchExactly);
    if (index < 0)
        return false;
    comboBox->showPopup();
    QAbstractItemView* list = comboBox->view();
    if (!QTest::qWaitForWindowExposed(list->window()))
        return false;
    const QModelIndex item = list->model()->index(index, comboBox->modelColumn(), list->rootIndex());
    list->scrollTo(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(item).center());
    return comboBox->currentText() == text && !list->isVisible();
}

// Rests the mouse on `widget`, no button pressed: the pointer enters, then moves over it.
inline void hover(QWidget* widget)
{
    QTest::mouseMove(widget, QPoint(4, widget->height() / 2));
    QTest::mouseMove(widget, QPoint(12, widget->height() / 2));
}

// The label whose buddy `field` is; null when it has none.
inline QLabel* captionOf(const QWidget& root, const QWidget* field)
{
    const auto labels = root.findChildren<QLabel*>();
    for (QLabel* label : labels) {
        if (label->buddy() == field)
            return label;
    }
    return nullptr;
}

} // namespace osago::test
