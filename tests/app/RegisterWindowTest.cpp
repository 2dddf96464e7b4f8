#include "app/RegisterWindow.h"
#include "storage/sqlite/SqliteNetworkShare.h"
#include "app/RegisterSettings.h"
#include "RegisterTestSupport.h"
#include "ScriptedFileChoices.h"
#include "ScriptedPasswords.h"
#include "StorageTestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

using namespace osago;
using namespace osago::test;

namespace {

// A register file at `path` holding `count` rows whose surname says `tag`.
void makeRegister(const QString& path, int count, const QString& tag)
{
    const std::unique_ptr<PolicyDatabase> database = makeDatabase(path);
    QVERIFY(database->open(path).ok);
    for (int i = 0; i < count; ++i) {
        PolicyRow row;
        row.setValue(u"Страхователь_фамилия_фирма", QStringLiteral("%1 %2").arg(tag).arg(i));
        QVERIFY(database->insert(row).ok);
    }
}

// The whole program over a register of its own, with the file and password seams a test answers.
struct ChoosingProgram
{
    // `share` tells the filesystem of the register's folder once the register is made, until the program started.
    explicit ChoosingProgram(int rows = 0, const NetworkFileSystemProbe& share = {})
    {
        makeRegister(folder.filePath(QStringLiteral("Baza.mdb")), rows, QStringLiteral("Прежний"));
        setNetworkFileSystemProbe(share);
        ProgramOptions options;
        options.databaseLocation = folder.filePath(QStringLiteral("Baza.mdb"));
        options.fileChoices = std::unique_ptr<FileChoices>(files);
        options.passwords = std::unique_ptr<PasswordPrompt>(passwords);
        program = std::make_unique<Program>(seam, std::move(options));
        program->start();
        setNetworkFileSystemProbe({});
    }

    QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    MainWindow& main() { return program->mainWindow(); }

    // "Реестр..." from the menu "Настройки"; the window it shows.
    RegisterWindow* open()
    {
        control<QAction>(main(), QStringLiteral("N25"))->trigger();
        RegisterWindow* window = program->registerWindow();
        return window && window->isVisible() && QTest::qWaitForWindowActive(window) ? window : nullptr;
    }

    QTemporaryDir folder;
    ScriptedMessages seam;
    ScriptedFileChoices* files = new ScriptedFileChoices;
    ScriptedPasswords* passwords = new ScriptedPasswords;
    std::unique_ptr<Program> program;
};

QString focusName()
{
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

} // namespace

// "Реестр...": choosing the register the program works on, a file or a server's.
class RegisterWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { useTestSettings("test_form_register"); }
    void init() { QSettings().clear(); }

    void comesAfterTheAgentSettingsAndShowsTheChoiceKept()
    {
        RegisterSettings kept;
        kept.kind = RegisterSettings::Kind::Server;
        kept.host = QStringLiteral("office-db");
        kept.port = 5433;
        kept.database = QStringLiteral("osago");
        kept.user = QStringLiteral("agent");
        kept.save();
        ChoosingProgram t;
        RegisterWindow* window = t.open();
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("Реестр"));
        QCOMPARE(window->windowModality(), Qt::ApplicationModal);
        // A file kept by a bare name is shown by its full path.
        RegisterSettings shown = kept;
        shown.file = QDir::current().absoluteFilePath(kept.file);
        QCOMPARE(window->settings(), shown);
        QVERIFY(control<QRadioButton>(*window, QStringLiteral("RadioServer"))->isChecked());
        QVERIFY(!control<QLineEdit>(*window, QStringLiteral("EditFile"))->isEnabled());
        QCOMPARE(control<QSpinBox>(*window, QStringLiteral("EditPort"))->value(), 5433);
        QVERIFY(control<QLabel>(*window, QStringLiteral("LabelCurrent"))->text().contains(t.path("Baza.mdb")));
        QCOMPARE(focusName(), QStringLiteral("EditHost"));
        QVERIFY(t.main().findChildren<QWidget*>().indexOf(window) < 0);
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void tabWalksTheFieldsTopToBottom()
    {
        ChoosingProgram t;
        RegisterWindow* window = t.open();
        QVERIFY(window);
        QCOMPARE(focusName(), QStringLiteral("EditFile"));
        QStringList walked;
        for (int i = 0; i < 4; ++i) {
            pressKey(Qt::Key_Tab);
            walked << focusName();
        }
        // The server's fields take no input while a file is chosen.
        QCOMPARE(walked, (QStringList{"ButtonBrowse", "RadioServer", "ButtonOk", "ButtonCancel"}));
        QTest::mouseClick(control<QRadioButton>(*window, QStringLiteral("RadioServer")), Qt::LeftButton);
        QCOMPARE(focusName(), QStringLiteral("RadioServer"));
        walked.clear();
        for (int i = 0; i < 7; ++i) {
            pressKey(Qt::Key_Tab);
            walked << focusName();
        }
        QCOMPARE(walked, (QStringList{"EditHost", "EditPort", "EditBase", "EditUser", "ComboBoxEncryption", "ButtonOk",
                                      "ButtonCancel"}));
        // The root certificate takes input once the server is to be verified by it.
        pickItem(control<QComboBox>(*window, QStringLiteral("ComboBoxEncryption")), 2);
        walked.clear();
        for (int i = 0; i < 3; ++i) {
            pressKey(Qt::Key_Tab);
            walked << focusName();
        }
        QCOMPARE(walked, (QStringList{"EditRootCertificate", "ButtonBrowseCertificate", "ButtonOk"}));
    }

    void enterOpensTheTypedFileAtOnceAndKeepsTheChoice()
    {
        ChoosingProgram t(2);
        makeRegister(t.path("other.mdb"), 3, QStringLiteral("Другой"));
        QCOMPARE(t.program->registerModel().rowCount(), 2);
        RegisterWindow* window = t.open();
        QVERIFY(window);
        // Typed as the agent may, relative to the folder the program started in; kept in full.
        typeOver(control<QLineEdit>(*window, QStringLiteral("EditFile")),
                 QDir::current().relativeFilePath(t.path("other.mdb")));
        pressKey(Qt::Key_Return);
        QVERIFY(!window->isVisible());
        QCOMPARE(t.program->database().path(), t.path("other.mdb"));
        QCOMPARE(t.program->registerModel().rowCount(), 3);
        const PolicyRow first = t.program->database().load(*t.program->registerModel().keyAt(0)).value;
        QCOMPARE(first.value(u"Страхователь_фамилия_фирма"), QStringLiteral("Другой 0"));
        QCOMPARE(RegisterSettings::load().location(), t.path("other.mdb"));
        QCOMPARE(t.main().windowTitle(), QStringLiteral("ОСАГО Тальград"));
        OSAGO_VERIFY_MESSAGES(t.seam);
        QVERIFY(t.seam.shown().isEmpty());
    }

    void escapeAndCancelChangeNothing_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("Esc") << true;
        QTest::newRow("Отмена") << false;
    }

    void escapeAndCancelChangeNothing()
    {
        QFETCH(bool, byKey);
        ChoosingProgram t(1);
        makeRegister(t.path("other.mdb"), 3, QStringLiteral("Другой"));
        RegisterWindow* window = t.open();
        QVERIFY(window);
        t.files->answerNext(t.path("other.mdb"));
        clickButton(*window, "ButtonBrowse");
        QCOMPARE(t.files->asked(), QStringList{"Файл реестра"});
        QCOMPARE(controlText(*window, QStringLiteral("EditFile")), t.path("other.mdb"));
        if (byKey)
            pressKey(Qt::Key_Escape);
        else
            clickButton(*window, "ButtonCancel");
        QVERIFY(!window->isVisible());
        QCOMPARE(t.program->database().path(), t.path("Baza.mdb"));
        QCOMPARE(t.program->registerModel().rowCount(), 1);
        QVERIFY(QSettings().allKeys().isEmpty());
    }

    void aRegisterThatDoesNotOpenLeavesTheOldOne_data()
    {
        QTest::addColumn<bool>("server");
        QTest::newRow("a file that is no register") << false;
        QTest::newRow("a server nobody listens on") << true;
    }

    void aRegisterThatDoesNotOpenLeavesTheOldOne()
    {
        QFETCH(bool, server);
        ChoosingProgram t(2);
        QFile garbage(t.path("garbage.mdb"));
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write("no register in here");
        garbage.close();
        RegisterWindow* window = t.open();
        QVERIFY(window);
        if (server) {
            QTest::mouseClick(control<QRadioButton>(*window, QStringLiteral("RadioServer")), Qt::LeftButton);
            typeOver(control<QLineEdit>(*window, QStringLiteral("EditHost")), QStringLiteral("127.0.0.1"));
            control<QSpinBox>(*window, QStringLiteral("EditPort"))->setValue(1);
            typeOver(control<QLineEdit>(*window, QStringLiteral("EditBase")), QStringLiteral("osago"));
        } else {
            typeOver(control<QLineEdit>(*window, QStringLiteral("EditFile")), t.path("garbage.mdb"));
        }
        pressKey(Qt::Key_Return);

        QCOMPARE(t.seam.shown().size(), 1);
        const ScriptedMessages::Shown& said = t.seam.shown().front();
        QCOMPARE(said.icon, Messages::Icon::Critical);
        const QString tried = server ? QStringLiteral("postgresql://127.0.0.1:1/osago") : t.path("garbage.mdb");
        QVERIFY2(said.text.startsWith(QStringLiteral("Не удалось открыть реестр %1.\n").arg(tried)),
                 qPrintable(said.text));
        QVERIFY2(said.text.endsWith(kPreviousRegisterKept.arg(t.path("Baza.mdb"))), qPrintable(said.text));
        QVERIFY(window->isVisible());
        QCOMPARE(t.program->database().path(), t.path("Baza.mdb"));
        QCOMPARE(t.program->registerModel().rowCount(), 2);
        QVERIFY(QSettings().allKeys().isEmpty());
        QVERIFY(t.passwords->prompts().isEmpty());
        QCOMPARE(garbage.size(), qint64(19));
    }

    void anIncompleteServerIsRefusedAtItsField_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("base");
        // The item of "Шифрование" and the root certificate typed.
        QTest::addColumn<int>("encryption");
        QTest::addColumn<QString>("certificate");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::newRow("no server") << "" << "osago" << 0 << "" << "EditHost" << "Укажите сервер: его имя или адрес.";
        QTest::newRow("only commas") << " , " << "osago" << 0 << "" << "EditHost"
                                     << "Укажите сервер: его имя или адрес.";
        QTest::newRow("not a host name") << "db office" << "osago" << 0 << "" << "EditHost"
                                         << "«db office» не похоже на имя или адрес сервера.";
        QTest::newRow("not a host name in a list") << "db1, db office" << "osago" << 0 << "" << "EditHost"
                                                   << "«db office» не похоже на имя или адрес сервера.";
        QTest::newRow("a port that is no number") << "db1:5432,db2:54x2" << "osago" << 0 << "" << "EditHost"
                                                  << "«db2:54x2» не похоже на имя или адрес сервера.";
        QTest::newRow("a port out of range") << "db:70000" << "osago" << 0 << "" << "EditHost"
                                             << "«db:70000» не похоже на имя или адрес сервера.";
        QTest::newRow("an unclosed IPv6 bracket") << "[::1:5432" << "osago" << 0 << "" << "EditHost"
                                                  << "«[::1:5432» не похоже на имя или адрес сервера.";
        QTest::newRow("no database") << "db" << "" << 0 << "" << "EditBase" << "Укажите базу данных на сервере.";
        QTest::newRow("verified without a root") << "db" << "osago" << 2 << "" << "EditRootCertificate"
                                                 << "Укажите файл корневого сертификата: по нему программа проверяет "
                                                    "сервер.";
        QTest::newRow("verified by a root not there") << "db" << "osago" << 2 << "/нет/root.crt"
                                                      << "EditRootCertificate" << "Файла корневого сертификата «/нет/root.crt» нет.";
    }

    void anIncompleteServerIsRefusedAtItsField()
    {
        QFETCH(QString, host);
        QFETCH(QString, base);
        QFETCH(int, encryption);
        QFETCH(QString, certificate);
        QFETCH(QString, field);
        QFETCH(QString, text);
        ChoosingProgram t;
        RegisterWindow* window = t.open();
        QVERIFY(window);
        QTest::mouseClick(control<QRadioButton>(*window, QStringLiteral("RadioServer")), Qt::LeftButton);
        typeOver(control<QLineEdit>(*window, QStringLiteral("EditHost")), host);
        typeOver(control<QLineEdit>(*window, QStringLiteral("EditBase")), base);
        pickItem(control<QComboBox>(*window, QStringLiteral("ComboBoxEncryption")), encryption);
        if (!certificate.isEmpty())
            typeOver(control<QLineEdit>(*window, QStringLiteral("EditRootCertificate")), certificate);
        clickButton(*window, "ButtonOk");
        QCOMPARE(t.seam.shownTexts(), QStringList{text});
        QCOMPARE(focusName(), field);
        QVERIFY(window->isVisible());
        QVERIFY(QSettings().allKeys().isEmpty());
    }

    void serverChoiceBecomesAConnectionUri_data()
    {
        using Encryption = RegisterSettings::Encryption;
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("user");
        QTest::addColumn<Encryption>("encryption");
        // A root certificate made in the test's folder by that name (none when empty).
        QTest::addColumn<QString>("root");
        // <folder>: the test's folder.
        QTest::addColumn<QString>("location");
        QTest::newRow("with a user") << "db.office.local" << 5433 << "agent" << Encryption::IfOffered << ""
                                     << "postgresql://agent@db.office.local:5433/osago";
        QTest::newRow("the system's user") << "10.0.0.5" << 5432 << "" << Encryption::IfOffered << ""
                                           << "postgresql://10.0.0.5:5432/osago";
        QTest::newRow("a user with signs a URI keeps") << "db" << 5432 << "agent@office" << Encryption::IfOffered << ""
                                                       << "postgresql://agent%40office@db:5432/osago";
        QTest::newRow("an IPv6 address") << "::1" << 5432 << "" << Encryption::IfOffered << ""
                                         << "postgresql://[::1]:5432/osago";
        QTest::newRow("two servers, one with its own port")
            << "db1, db2:5433" << 5432 << "agent" << Encryption::IfOffered << ""
            << "postgresql://agent@db1:5432,db2:5433/osago?target_session_attrs=read-write";
        QTest::newRow("an IPv6 server in a list") << "[::1]:6000,10.0.0.5" << 5434 << "" << Encryption::IfOffered << ""
                                                  << "postgresql://[::1]:6000,10.0.0.5:5434/osago"
                                                     "?target_session_attrs=read-write";
        QTest::newRow("encryption required") << "db" << 5432 << "" << Encryption::Required << ""
                                             << "postgresql://db:5432/osago?sslmode=require";
        // With a root certificate libpq would verify the issuer under "require": it goes only with verify-full.
        QTest::newRow("required, a root kept aside") << "db" << 5432 << "" << Encryption::Required << "root.crt"
                                                     << "postgresql://db:5432/osago?sslmode=require";
        QTest::newRow("the server verified") << "db" << 5432 << "agent" << Encryption::Verified << "root ca.crt"
                                             << "postgresql://agent@db:5432/osago?sslmode=verify-full"
                                                "&sslrootcert=<folder>/root%20ca.crt";
        QTest::newRow("two servers verified") << "db1,db2" << 5432 << "" << Encryption::Verified << "root.crt"
                                              << "postgresql://db1:5432,db2:5432/osago?target_session_attrs=read-write"
                                                 "&sslmode=verify-full&sslrootcert=<folder>/root.crt";
    }

    void serverChoiceBecomesAConnectionUri()
    {
        QFETCH(QString, host);
        QFETCH(int, port);
        QFETCH(QString, user);
        QFETCH(RegisterSettings::Encryption, encryption);
        QFETCH(QString, root);
        QFETCH(QString, location);
        QTemporaryDir folder;
        RegisterSettings server;
        server.kind = RegisterSettings::Kind::Server;
        server.host = host;
        server.port = port;
        server.database = QStringLiteral("osago");
        server.user = user;
        server.encryption = encryption;
        if (!root.isEmpty()) {
            server.rootCertificate = folder.filePath(root);
            QFile file(server.rootCertificate);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(!server.problem());
        QCOMPARE(server.location(), location.replace(QStringLiteral("<folder>"), folder.path()));
        // Kept and read back as chosen.
        server.save();
        QCOMPARE(RegisterSettings::load(), server);
    }

    // A file register on a network share opens with the rollback journal, and the agent hears why once.
    void aFileOnANetworkShareIsWarnedOfOnceAtStart()
    {
        QStringList probed;
        ChoosingProgram t(1, [&probed](const QString& folder) {
            probed << folder;
            return QStringLiteral("CIFS");
        });
        QVERIFY(!probed.isEmpty());
        QCOMPARE(t.seam.shown().size(), 1);
        QCOMPARE(t.seam.shown().front().icon, Messages::Icon::Warning);
        QCOMPARE(t.seam.shown().front().text, networkShareWarning(t.path("Baza.mdb"), QStringLiteral("CIFS")));
        RawConnection other(t.path("Baza.mdb"));
        QCOMPARE(other.scalar(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("delete"));
    }
};

QTEST_MAIN(RegisterWindowTest)
#include "RegisterWindowTest.moc"
