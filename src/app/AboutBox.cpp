#include "app/AboutBox.h"

#include "widgets/Messages.h"
#include "app/Pictures.h"

#include <QDesktopServices>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

namespace osago {

namespace {

const QString kContactAddress = QStringLiteral("osago@example.org");
// Subject and body of the mail, spaces already written as %20.
const QString kMailQuery = QStringLiteral("?subject=ОСАГО%20Тальград&body=Ваша%20организация:");

QLabel* addLabel(QWidget* panel, const char* name, const QString& text, QPoint position, int pixelSize)
{
    auto* label = new QLabel(text, panel);
    label->setObjectName(QLatin1String(name));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    label->setFont(font);
    label->move(position);
    label->adjustSize();
    return label;
}

} // namespace

AboutBox::AboutBox(Messages& messages, QWidget& mainWindow)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_messages(messages)
    , m_mainWindow(mainWindow)
    , m_openUrl(&QDesktopServices::openUrl)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("О программе"));
    setFixedSize(280, 162);
    buildPanel();
}

void AboutBox::buildPanel()
{
    // The panel's lowered outer bevel, with the raised inner one on it.
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(rect());
    auto* inner = new QFrame(panel);
    inner->setFrameStyle(QFrame::Panel | QFrame::Raised);
    inner->setGeometry(panel->rect().adjusted(1, 1, -1, -1));

    auto* icon = new QLabel(inner);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setGeometry(16, 16, 49, 49);
    icon->setPixmap(programIcon().pixmap(icon->size()));

    addLabel(inner, "Label1", QStringLiteral("ОСАГО Тальград"), {96, 16}, 19);
    addLabel(inner, "Label2", QStringLiteral("Тальград Софт"), {80, 48}, 13);
    addLabel(inner, "Label3", QStringLiteral("Разработчики:"), {8, 72}, 13);
    addLabel(inner, "Label4", QStringLiteral("Команда «ОСАГО Тальград»"), {8, 88}, 13);
    addLabel(inner, "Label5", QStringLiteral("Группа страховых программ"), {8, 104}, 13);
    addLabel(inner, "Label7", QStringLiteral("(000) 00-00-00"), {192, 120}, 11);

    m_contactLabel = addLabel(inner, "Label6", kContactAddress, {152, 136}, 11);
    QPalette blue = m_contactLabel->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    m_contactLabel->setPalette(blue);
    m_contactLabel->setCursor(Qt::PointingHandCursor);
    m_contactLabel->installEventFilter(this);

    auto* ok = new QPushButton(QStringLiteral("OK"), inner);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setGeometry(23, 128, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &AboutBox::close);
}

void AboutBox::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

// Every way of closing (OK, Enter, Escape) ends in hiding the box.
void AboutBox::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        FormClose();
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_contactLabel && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Label6Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void AboutBox::FormShow()
{
    m_mainWindow.setEnabled(false);
    QRect frame = frameGeometry();
    frame.moveCenter(screen()->availableGeometry().center());
    move(frame.topLeft());
}

void AboutBox::FormClose()
{
    m_mainWindow.setEnabled(true);
}

void AboutBox::Label6Click()
{
    // Tolerant parsing keeps the %20 and the Cyrillic letters of the link as written.
    const QUrl link(QStringLiteral("mailto:") + kContactAddress + kMailQuery, QUrl::TolerantMode);
    if (!m_openUrl(link))
        m_messages.show(this, kProgramTitle, QStringLiteral("Auto method failed."), Messages::Icon::Warning);
}

} // namespace osago
