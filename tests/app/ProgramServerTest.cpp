#include "app/RegisterWindow.h"
#include "app/RegisterSettings.h"
#include "FaultServer.h"
#include "RegisterTestSupport.h"
#include "ScriptedFileChoices.h"
#include "ScriptedPasswords.h"
#include "TestRegister.h"

#include <QComboBox>
#include <QLabel>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>
#include <QRadioButton>
#include <QSpinBox>
#include <QUrl>
#include <QUuid>

using namespace osago;
using namespace osago::test;

namespace {

const QString kPassword = QStringLiteral("верный пароль");

// What the agent fills in "Реестр..." for a server: the test server's own by default.
struct ServerChoice
{
    QString host = QUrl(testServer()).host();
    int port = QUrl(testServer()).port();
    QString database;
    QString user;
    // The item of "Шифрование" picked, and the root certificate chosen through "Обзор..." (none when empty).
    int encryption = 0;
    QString rootCertificate;
};

// The program started on `location`, the password box answered with `answers` in turn.
struct ServerProgram
{
    explicit ServerProgram(const QString& location, const QList<std::optional<QString>>& answers = {})
    {
        for (const std::optional<QString>& answer : answers)
            passwords->answerNext(answer);
        ProgramOptions options;
        options.databaseLocation = location;
        options.passwords = std::unique_ptr<PasswordPrompt>(passwords);
        options.fileChoices = std::unique_ptr<FileChoices>(files);
        program = std::make_unique<Program>(seam, std::move(options));
        program->start();
    }

    // "Реестр..." from its menu; the window, once it has the focus.
    RegisterWindow* openRegisterWindow()
    {
        control<QAction>(program->mainWindow(), QStringLiteral("N25"))->trigger();
        RegisterWindow* window = program->registerWindow();
        return window && QTest::qWaitForWindowActive(window) ? window : nullptr;
    }

    // "Реестр..." with the test server's database `database` as `role`, confirmed with Enter.
    void chooseServer(const QString& database, const QString& role)
    {
        ServerChoice choice;
        choice.database = database;
        choice.user = role;
        chooseServer(choice);
    }

    void chooseServer(const ServerChoice& choice)
    {
        RegisterWindow* window = openRegisterWindow();
        QVERIFY(window);
        QTest::mouseClick(control<QRadioButton>(*window, QStringLiteral("RadioServer")), Qt::LeftButton);
        typeOver(control<QLineEdit>(*window, QStringLiteral("EditHost")), choice.host);
        control<QSpinBox>(*window, QStringLiteral("EditPort"))->setValue(choice.port);
        typeOver(control<QLineEdit>(*window, QStringLiteral("EditBase")), choice.database);
        typeOver(control<QLineEdit>(*window, QStringLiteral("EditUser")), choice.user);
        pickItem(control<QComboBox>(*window, QStringLiteral("ComboBoxEncryption")), choice.encryption);
        if (!choice.rootCertificate.isEmpty()) {
            files->answerNext(choice.rootCertificate);
            QTest::mouseClick(control<QPushButton>(*window, QStringLiteral("ButtonBrowseCertificate")), Qt::LeftButton);
        }
        control<QLineEdit>(*window, QStringLiteral("EditUser"))->setFocus();
        pressKey(Qt::Key_Return);
    }

    ScriptedMessages seam;
    ScriptedFileChoices* files = new ScriptedFileChoices;
    ScriptedPasswords* passwords = new ScriptedPasswords;
    std::unique_ptr<Program> program;
};

// Counts the paints of a window's widgets while `counting`.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(const QWidget& window) : m_window(window) { qApp->installEventFilter(this); }

    bool counting = false;
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (counting && event->type() == QEvent::Paint && widget && widget->window() == &m_window)
            ++paints;
        return false;
    }

private:
    const QWidget& m_window;
};

} // namespace

// The program on a server's register: the password box and the register window over a real server.
class ProgramServerTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(onTestServer(), "runs on the test server only");
        useTestSettings("test_program_server");
        QVERIFY(m_tlsServer.run(QStringLiteral("start")));
        QVERIFY(m_tlsServer.run(QStringLiteral("tls")));
    }
    void init() { QSettings().clear(); }

    void asksThePasswordOnceARunAndNeverKeepsIt()
    {
        TestRegister server;
        const QString role = passwordedRole(server, kPassword);
        ServerProgram t(server.locationAs(role), {kPassword});
        QVERIFY2(t.seam.shown().isEmpty(), qPrintable(t.seam.shownTexts().join(u'\n')));
        QCOMPARE(t.passwords->prompts().size(), 1);
        QVERIFY(t.passwords->prompts().front().contains(role));
        QVERIFY(t.program->database().location().startsWith(QStringLiteral("сервер ")));
        QVERIFY(t.program->database().insert(PolicyRow()).ok);

        // The same server chosen again in the window: the password the agent gave serves the whole run.
        t.chooseServer(server.databaseName(), role);
        QVERIFY(!t.program->registerWindow()->isVisible());
        QCOMPARE(t.passwords->prompts().size(), 1);
        QCOMPARE(t.program->registerModel().rowCount(), 1);
        const QUrl address(testServer());
        QCOMPARE(RegisterSettings::load().location(), QStringLiteral("postgresql://%1@%2:%3/%4")
                                                          .arg(role, address.host())
                                                          .arg(address.port())
                                                          .arg(server.databaseName()));
        QSettings settings;
        for (const QString& key : settings.allKeys())
            QVERIFY2(!settings.value(key).toString().contains(kPassword), qPrintable(key));
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    // The server frozen during a save: the main window, resized meanwhile, is painted while the save waits; the
    // save gives up naming the server, the editor keeps the record, and once the server runs again the same save
    // writes it once.
    void theWindowIsPaintedWhileASaveWaitsOnAFrozenServer()
    {
        // The fault server of the whole case (TLS on), frozen and thawed again here.
        const test::FaultServer& server = m_tlsServer;
        ServerProgram t(server.location());
        MainWindow& main = t.program->mainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        control<QAction>(main, QStringLiteral("N2"))->trigger();
        PolicyEditor& editor = t.program->policyEditor();
        const QString surname = QStringLiteral("Замороженный");
        setControlText(editor, QStringLiteral("LabeledEditFamil"), surname);
        auto* pages = control<QTabWidget>(editor, QStringLiteral("PageControl"));
        while (pages->currentIndex() < pages->count() - 1)
            clickButton(editor, "ButtonVper");

        PaintCounter counter(main);
        const QSize before = main.size();
        QTimer::singleShot(500, &main, [&] { main.resize(before + QSize(40, 30)); });
        QVERIFY(server.run(QStringLiteral("freeze")));
        QElapsedTimer waited;
        waited.start();
        counter.counting = true;
        clickButton(editor, "ButtonSave");
        counter.counting = false;
        const qint64 waitedMs = waited.elapsed();
        QVERIFY(server.run(QStringLiteral("thaw")));
        QVERIFY2(counter.paints > 0, qPrintable(QString::number(waitedMs)));
        QCOMPARE(main.size(), before + QSize(40, 30));
        QVERIFY2(waitedMs < 20000, qPrintable(QString::number(waitedMs)));
        QTRY_COMPARE(t.seam.shown().size(), 1);
        const QString given = t.seam.shown().front().text;
        QVERIFY2(given.contains(QStringLiteral("Сервер не отвечает")) && given.contains(t.program->database().location()),
                 qPrintable(given));
        QVERIFY(editor.isVisible());
        QCOMPARE(controlText(editor, QStringLiteral("LabeledEditFamil")), surname);

        clickButton(editor, "ButtonSave");
        QCOMPARE(t.seam.shown().size(), 1);
        RegisterModel& model = t.program->registerModel();
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.data(model.index(0, policyColumnIndex(u"Страхователь_фамилия_фирма"))).toString(), surname);
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void aRefusedPasswordIsAskedAgainAtTheNextTry()
    {
        TestRegister server;
        const QString role = passwordedRole(server, kPassword);
        ServerProgram t(server.locationAs(role), {QStringLiteral("неверный")});
        QCOMPARE(t.seam.shown().size(), 1);
        QCOMPARE(t.seam.shown().front().icon, Messages::Icon::Critical);
        QVERIFY(!t.seam.shown().front().text.contains(u"неверный"));
        QVERIFY(!t.program->database().isOpen());

        t.passwords->answerNext(kPassword);
        t.chooseServer(server.databaseName(), role);
        QCOMPARE(t.passwords->prompts().size(), 2);
        QVERIFY(t.program->database().isOpen());
        QVERIFY(!t.program->registerWindow()->isVisible());
        QCOMPARE(t.seam.shown().size(), 1);
    }

    // Each choice of "Шифрование" against a server with TLS and a certificate made for this run (for 127.0.0.1
    // only, of its own issuer), and against the test server, which offers no TLS: what the window then says of
    // the open connection, or the precise reason it did not open.
    void eachEncryptionIsAskedOfTheServerAndShown_data()
    {
        QTest::addColumn<bool>("withTls");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("encryption");
        QTest::addColumn<QString>("certificate");
        QTest::addColumn<bool>("opens");
        // What the window says of the open connection, or the message of the refusal, holds.
        QTest::addColumn<QStringList>("said");
        const QString encrypted = QStringLiteral("; соединение зашифровано (TLS 1.");
        const QStringList unverified{encrypted, QStringLiteral("), сервер не проверен")};
        QTest::newRow("if offered, none offered") << false << "127.0.0.1" << 0 << "" << true
                                                  << QStringList{"; соединение не зашифровано"};
        QTest::newRow("if offered, TLS offered") << true << "127.0.0.1" << 0 << "" << true << unverified;
        QTest::newRow("required") << true << "127.0.0.1" << 1 << "" << true << unverified;
        QTest::newRow("required, none offered") << false << "127.0.0.1" << 1 << "" << false
                                                << QStringList{"адрес реестра требует защищённого соединения"};
        QTest::newRow("verified by the right root") << true << "127.0.0.1" << 2 << "server.crt" << true
                                                    << QStringList{encrypted, "), сервер проверен"};
        QTest::newRow("verified, an untrusted root") << true << "127.0.0.1" << 2 << "other.crt" << false
                                                     << QStringList{"сертификату сервера этот компьютер не доверяет"};
        QTest::newRow("verified, another name") << true << "localhost" << 2 << "server.crt" << false
                                                << QStringList{"сертификат сервера выписан на другое имя"};
    }

    void eachEncryptionIsAskedOfTheServerAndShown()
    {
        QFETCH(bool, withTls);
        QFETCH(QString, host);
        QFETCH(int, encryption);
        QFETCH(QString, certificate);
        QFETCH(bool, opens);
        QFETCH(QStringList, said);
        TestRegister plain;
        ServerChoice choice;
        choice.host = host;
        choice.port = withTls ? m_tlsServer.port().toInt() : choice.port;
        choice.database = withTls ? QStringLiteral("postgres") : plain.databaseName();
        choice.user = QStringLiteral("postgres");
        choice.encryption = encryption;
        if (!certificate.isEmpty())
            choice.rootCertificate = m_tlsServer.folder() + u'/' + certificate;
        ServerProgram t(plain.location());
        t.chooseServer(choice);
        RegisterWindow* window = t.program->registerWindow();
        QVERIFY(window);
        QVERIFY(t.files->allAnswered());
        if (!opens) {
            QVERIFY(window->isVisible());
            QCOMPARE(t.seam.shown().size(), 1);
            QCOMPARE(t.seam.shown().front().icon, Messages::Icon::Critical);
            QVERIFY2(t.seam.shown().front().text.contains(said.front()), qPrintable(t.seam.shown().front().text));
            return;
        }
        QVERIFY2(!window->isVisible(), qPrintable(t.seam.shownTexts().join(u'\n')));
        QCOMPARE(int(RegisterSettings::load().encryption), encryption);
        QCOMPARE(RegisterSettings::load().rootCertificate, choice.rootCertificate);
        window = t.openRegisterWindow();
        QVERIFY(window);
        const QString current = control<QLabel>(*window, QStringLiteral("LabelCurrent"))->text();
        QVERIFY2(current.contains(QStringLiteral("сервер %1:%2").arg(host).arg(choice.port)), qPrintable(current));
        for (const QString& part : said)
            QVERIFY2(current.contains(part), qPrintable(current));
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void cleanupTestCase() { m_tlsServer.run(QStringLiteral("stop")); }

private:
    test::FaultServer m_tlsServer;
};

QTEST_MAIN(ProgramServerTest)
#include "ProgramServerTest.moc"
