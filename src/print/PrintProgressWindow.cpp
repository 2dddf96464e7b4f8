#include "print/PrintProgressWindow.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace osago {

PrintProgressWindow::PrintProgressWindow()
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("FormProgress"));
    setWindowTitle(QStringLiteral("Идет формирование заявления..."));
    setFixedSize(400, 206);
    QFont verdana(QStringLiteral("Verdana"));
    verdana.setPixelSize(13);
    verdana.setBold(true);
    setFont(verdana);

    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("ProgressBar"));
    m_bar->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_bar);
}

void PrintProgressWindow::start(int steps)
{
    m_bar->setRange(0, steps);
    show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void PrintProgressWindow::step()
{
    m_bar->setValue(m_bar->value() + 1);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void PrintProgressWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FormShow();
}

// Each production starts from an empty bar, centred over the screen.
void PrintProgressWindow::FormShow()
{
    m_bar->setValue(0);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

} // namespace osago
