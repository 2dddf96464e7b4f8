#include "app/AgentWindow.h"

#include "app/AgentSettings.h"
#include "widgets/TypingLimit.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace osago {

namespace {

constexpr QSize kClientSize(259, 77);
constexpr int kNameLimit = 20;
constexpr int kFieldLeft = 80;
constexpr int kFieldWidth = 171;
constexpr int kRowHeight = 21;

QLineEdit* newNameEdit(QWidget* window, const QString& name, const QString& caption, int top)
{
    auto* edit = new QLineEdit(window);
    edit->setObjectName(name);
    edit->setGeometry(kFieldLeft, top, kFieldWidth, kRowHeight);
    setTypingLimit(edit, kNameLimit);
    auto* label = new QLabel(caption, window);
    label->setGeometry(8, top, kFieldLeft - 12, kRowHeight);
    label->setBuddy(edit);
    return edit;
}

} // namespace

AgentWindow::AgentWindow()
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("FormAgent"));
    setWindowTitle(QStringLiteral("Настройки"));
    setFixedSize(kClientSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    m_agent = newNameEdit(this, QStringLiteral("EditAg"), QStringLiteral("Агент:"), 4);
    m_agent->setToolTip(QStringLiteral("Имя агента записывается в каждую сохраняемую запись"));
    m_insurer = newNameEdit(this, QStringLiteral("EditStr"), QStringLiteral("Страховщик:"), 28);

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setGeometry(8, 52, 241, kRowHeight);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &AgentWindow::Button1Click);
}

void AgentWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window restored by the window system keeps what the agent typed.
    if (!event->spontaneous())
        FormShow();
}

void AgentWindow::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
}

void AgentWindow::FormShow()
{
    const AgentSettings settings = AgentSettings::load();
    m_agent->setText(settings.agent);
    m_insurer->setText(settings.insurer);
}

void AgentWindow::FormClose()
{
    AgentSettings{m_agent->text(), m_insurer->text()}.save();
}

void AgentWindow::Button1Click()
{
    close();
}

} // namespace osago
