#include "app/AboutBox.h"
#include "AppTestSupport.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "ScriptedMessages.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QUrl>
#include <QUrlQuery>

#include <memory>

using osago::AboutBox;
using osago::Program;
using osago::test::ScriptedMessages;

namespace {

QString percentEncoded(const QString& text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

} // namespace

class AboutBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_messages = std::make_unique<ScriptedMessages>();
        m_program = std::make_unique<Program>(*m_messages, osago::test::registerIn(m_folder));
        m_program->start();
        QVERIFY(QTest::qWaitForWindowExposed(&m_program->mainWindow()));
        m_openedLinks.clear();
        m_program->aboutBox().setUrlOpener([this](const QUrl& link) {
            m_openedLinks << link;
            return m_openSucceeds;
        });
        m_openSucceeds = true;
    }

    void cleanup()
    {
        m_program.reset();
        m_messages.reset();
    }

    void showsTheProductItsMakersAndAContact()
    {
        AboutBox& about = m_program->aboutBox();
        QCOMPARE(about.windowTitle(), QStringLiteral("О программе"));
        QCOMPARE(about.size(), QSize(280, 162));
        QVERIFY(about.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(about.windowFlags() & Qt::CustomizeWindowHint);
        QVERIFY(!(about.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));

        auto* title = about.findChild<QLabel*>(QStringLiteral("Label1"));
        QCOMPARE(title->text(), QStringLiteral("ОСАГО Тальград"));
        QCOMPARE(title->font().pixelSize(), 19);
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("Label3"))->text(), QStringLiteral("Разработчики:"));
        for (const char* name : {"Label2", "Label4", "Label5"})
            QVERIFY2(!about.findChild<QLabel*>(name)->text().isEmpty(), name);
        const QString phone = about.findChild<QLabel*>(QStringLiteral("Label7"))->text();
        QVERIFY2(phone.contains(QRegularExpression("^\\(\\d+\\) [\\d-]+$")), qPrintable(phone));
        QVERIFY(!about.findChild<QLabel*>(QStringLiteral("ProgramIcon"))->pixmap().isNull());

        auto* contact = about.findChild<QLabel*>(QStringLiteral("Label6"));
        QVERIFY(contact->text().contains(QRegularExpression("^[a-z.]+@example\\.(org|com|net)$")));
        QCOMPARE(contact->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(contact->palette().color(QPalette::WindowText), QColor(Qt::blue));

        auto* ok = about.findChild<QPushButton*>(QStringLiteral("OKButton"));
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QVERIFY(ok->isDefault());
    }

    void keepsTheMainWindowDisabledWhileShown_data()
    {
        QTest::addColumn<QString>("closing");
        QTest::newRow("OK clicked") << "ok";
        QTest::newRow("Enter") << "enter";
    }

    void keepsTheMainWindowDisabledWhileShown()
    {
        QFETCH(QString, closing);
        AboutBox& about = m_program->aboutBox();
        m_program->mainWindow().findChild<QAction*>(QStringLiteral("N14"))->trigger();
        QVERIFY(about.isVisible());
        QVERIFY(!m_program->mainWindow().isEnabled());
        QVERIFY(about.isEnabled());

        if (closing == QLatin1String("ok")) {
            QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
        } else {
            QVERIFY(osago::test::activate(about));
            osago::test::pressKey(Qt::Key_Return);
        }
        QTRY_VERIFY(!about.isVisible());
        QVERIFY(m_program->mainWindow().isEnabled());

        m_program->mainWindow().findChild<QAction*>(QStringLiteral("N14"))->trigger();
        QVERIFY(about.isVisible());
        QVERIFY(!m_program->mainWindow().isEnabled());
    }

    void opensCentredOnTheScreen()
    {
        AboutBox& about = m_program->aboutBox();
        m_program->mainWindow().findChild<QAction*>(QStringLiteral("N14"))->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        const QPoint offset = about.frameGeometry().center() - about.screen()->availableGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 1, qPrintable(QStringLiteral("off centre by %1, %2")
                                                               .arg(offset.x())
                                                               .arg(offset.y())));
    }

    void contactLabelOpensTheMailLinkAsBuilt()
    {
        AboutBox& about = m_program->aboutBox();
        m_program->mainWindow().findChild<QAction*>(QStringLiteral("N14"))->trigger();
        auto* contact = about.findChild<QLabel*>(QStringLiteral("Label6"));
        QTest::mouseClick(contact, Qt::LeftButton);
        QTest::mouseClick(contact, Qt::LeftButton);

        QCOMPARE(m_openedLinks.size(), 2);
        const QUrl& link = m_openedLinks.first();
        const QString expected = "mailto:" + contact->text() + "?subject=" + percentEncoded("ОСАГО") + "%20"
            + percentEncoded("Тальград") + "&body=" + percentEncoded("Ваша") + "%20" + percentEncoded("организация")
            + ":";
        QCOMPARE(QString::fromLatin1(link.toEncoded()), expected);
        const QUrlQuery query(link);
        QCOMPARE(query.queryItemValue("subject", QUrl::FullyDecoded), QStringLiteral("ОСАГО Тальград"));
        QCOMPARE(query.queryItemValue("body", QUrl::FullyDecoded), QStringLiteral("Ваша организация:"));
        QCOMPARE(m_openedLinks.last(), link);

        QVERIFY(about.isVisible());
        QVERIFY(m_messages->shown().isEmpty());
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

    void failedMailLinkIsReportedAndTheDialogStays()
    {
        AboutBox& about = m_program->aboutBox();
        m_program->mainWindow().findChild<QAction*>(QStringLiteral("N14"))->trigger();
        m_openSucceeds = false;
        QTest::mouseClick(about.findChild<QLabel*>(QStringLiteral("Label6")), Qt::LeftButton);

        QCOMPARE(m_openedLinks.size(), 1);
        QCOMPARE(m_messages->shownTexts(), QStringList{"Auto method failed."});
        QVERIFY(about.isVisible());
        QVERIFY(!m_program->mainWindow().isEnabled());
        OSAGO_VERIFY_MESSAGES(*m_messages);
    }

private:
    std::unique_ptr<ScriptedMessages> m_messages;
    QTemporaryDir m_folder;
    std::unique_ptr<Program> m_program;
    QList<QUrl> m_openedLinks;
    bool m_openSucceeds = true;
};

QTEST_MAIN(AboutBoxTest)
#include "AboutBoxTest.moc"
