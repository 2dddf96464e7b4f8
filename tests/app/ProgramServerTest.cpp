#include "app/RegisterWindow.h"
#include "app/RegisterSettings.h"
#include "FaultServer.h"
#include "RegisterTestSupport.h"
#include "ScriptedPasswords.h"
#include "TestRegister.h"

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

// A role of the test's own that the test server asks a password of, allowed to make the register's table.
QString passwordedRole(const TestRegister& server)
{
    const auto admin = server.admin();
    admin->exec(QStringLiteral("DO $$ BEGIN CREATE ROLE osago_passworded NOLOGIN; "
                               "EXCEPTION WHEN duplicate_object THEN NULL; END $$"));
    const QString role = QStringLiteral("r%1").arg(QUuid::createUuid().toString(QUuid::Id128).left(12));
    admin->exec(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2' IN ROLE osago_passworded").arg(role, kPassword));
    admin->exec(QStringLiteral("GRANT ALL ON SCHEMA public TO %1").arg(role));
    admin->exec(QStringLiteral("GRANT ALL ON DATABASE \"%1\" TO %2").arg(server.databaseName(), role));
    return role;
}

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
        program = std::make_unique<Program>(seam, std::move(options));
        program->start();
    }

    // "Реестр..." with the test server's database `database` as `role`, confirmed with Enter.
    void chooseServer(const QString& database, const QString& role)
    {
        control<QAction>(program->mainWindow(), QStringLiteral("N25"))->trigger();
        RegisterWindow* window = program->registerWindow();
        QVERIFY(window && QTest::qWaitForWindowActive(window));
        const QUrl server(testServer());
        QTest::mouseClick(control<QRadioButton>(*window, QStringLiteral("RadioServer")), Qt::LeftButton);
        typeOver(control<QLineEdit>(*window, QStringLiteral("EditHost")), server.host());
        control<QSpinBox>(*window, QStringLiteral("EditPort"))->setValue(server.port());
        typeOver(control<QLineEdit>(*window, QStringLiteral("EditBase")), database);
        typeOver(control<QLineEdit>(*window, QStringLiteral("EditUser")), role);
        pressKey(Qt::Key_Return);
    }

    ScriptedMessages seam;
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
    }
    void init() { QSettings().clear(); }

    void asksThePasswordOnceARunAndNeverKeepsIt()
    {
        TestRegister server;
        const QString role = passwordedRole(server);
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
        FaultServer server;
        QVERIFY(server.run(QStringLiteral("start")));
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
        const QString role = passwordedRole(server);
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
};

QTEST_MAIN(ProgramServerTest)
#include "ProgramServerTest.moc"
