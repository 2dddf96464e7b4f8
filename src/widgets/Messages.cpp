#include "widgets/Messages.h"

#include <QApplication>
#include <QMessageBox>

namespace osago {

namespace {

bool ask(QWidget* parent, const QString& title, const QString& text, QMessageBox::StandardButton preferred)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(preferred);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    return box.exec() == QMessageBox::Yes;
}

} // namespace

bool DialogMessages::confirm(QWidget* parent, const QString& title, const QString& text)
{
    return ask(parent, title, text, QMessageBox::Yes);
}

bool DialogMessages::confirmDefaultNo(QWidget* parent, const QString& title, const QString& text)
{
    return ask(parent, title, text, QMessageBox::No);
}

void DialogMessages::show(QWidget* parent, const QString& title, const QString& text, Icon icon)
{
    const auto boxIcon = icon == Icon::Critical ? QMessageBox::Critical
                         : icon == Icon::Warning ? QMessageBox::Warning
                                                 : QMessageBox::Information;
    QMessageBox box(boxIcon, title, text, QMessageBox::Ok, parent);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

void DialogMessages::beep()
{
    QApplication::beep();
}

} // namespace osago
