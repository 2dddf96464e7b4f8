#include "widgets/PasswordPrompt.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace osago;

namespace {

// Once the password box is up, lets `agent` act on it as the agent would.
void whenBoxShows(const std::function<void(QInputDialog&)>& agent)
{
    QTimer::singleShot(0, [agent] {
        QInputDialog* box = nullptr;
        QTRY_VERIFY((box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())));
        agent(*box);
    });
}

} // namespace

// The box a server register asks its password in.
class PasswordPromptTest : public QObject
{
    Q_OBJECT

private slots:
    void showsDotsAndGivesWhatWasTyped()
    {
        QString label;
        QLineEdit::EchoMode echo = QLineEdit::Normal;
        whenBoxShows([&](QInputDialog& box) {
            label = box.findChild<QLabel*>()->text();
            QLineEdit* edit = box.findChild<QLineEdit*>();
            echo = edit->echoMode();
            for (const QChar ch : QStringLiteral("пароль 1"))
                QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
            QTest::keyClick(edit, Qt::Key_Return);
        });
        DialogPasswordPrompt prompt;
        const std::optional<QString> password =
            prompt.askPassword(nullptr, QStringLiteral("Пароль пользователя agent на сервере db:5432"));
        QCOMPARE(password, std::optional<QString>(QStringLiteral("пароль 1")));
        QCOMPARE(echo, QLineEdit::Password);
        QCOMPARE(label, QStringLiteral("Пароль пользователя agent на сервере db:5432"));
    }

    void escapeGivesNone()
    {
        whenBoxShows([](QInputDialog& box) {
            QTest::keyClicks(box.findChild<QLineEdit*>(), QStringLiteral("typed"));
            QTest::keyClick(&box, Qt::Key_Escape);
        });
        DialogPasswordPrompt prompt;
        QCOMPARE(prompt.askPassword(nullptr, QStringLiteral("Пароль")), std::nullopt);
    }
};

QTEST_MAIN(PasswordPromptTest)
#include "PasswordPromptTest.moc"
