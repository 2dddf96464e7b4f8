#include "widgets/OkCancel.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>

namespace osago {

QHBoxLayout* newOkCancelRow(QWidget& window, const std::function<void()>& confirm)
{
    auto* ok = new QPushButton(QStringLiteral("ОК"), &window);
    ok->setObjectName(QStringLiteral("ButtonOk"));
    auto* cancel = new QPushButton(QStringLiteral("Отмена"), &window);
    cancel->setObjectName(QStringLiteral("ButtonCancel"));
    QObject::connect(ok, &QPushButton::clicked, &window, confirm);
    QObject::connect(cancel, &QPushButton::clicked, &window, &QWidget::hide);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

bool answerOkCancelKey(QWidget& window, const QKeyEvent& event, const std::function<void()>& confirm)
{
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        confirm();
        return true;
    case Qt::Key_Escape:
        window.hide();
        return true;
    default:
        return false;
    }
}

} // namespace osago
