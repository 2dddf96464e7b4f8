#include "app/ProgramFolder.h"
#include "app/ProgramRegister.h"
#include "app/RegisterSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace osago;

// A start from the applications menu keeps the register in the program's own folder in the documents folder.
class ProgramFolderTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_started = QDir::currentPath();
        m_home = std::make_unique<QTemporaryDir>();
        QVERIFY(m_home->isValid());
        m_oldHome = qgetenv("HOME");
        m_oldConfig = qgetenv("XDG_CONFIG_HOME");
        // A Russian desktop names its documents folder in the user's folder list.
        qputenv("HOME", QFile::encodeName(m_home->path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home->filePath(QStringLiteral(".config"))));
        QVERIFY(QDir(m_home->path()).mkpath(QStringLiteral(".config")));
        QFile folders(m_home->filePath(QStringLiteral(".config/user-dirs.dirs")));
        QVERIFY(folders.open(QIODevice::WriteOnly));
        folders.write("XDG_DOCUMENTS_DIR=\"$HOME/Документы\"\n");
        QVERIFY(QDir::setCurrent(m_home->path()));
    }

    void cleanup()
    {
        QDir::setCurrent(m_started);
        qputenv("HOME", m_oldHome);
        qputenv("XDG_CONFIG_HOME", m_oldConfig);
        m_home.reset();
    }

    void firstStartMakesTheFolderAndKeepsTheRegisterThere()
    {
        const QString folder = m_home->filePath(QStringLiteral("Документы/ОСАГО Тальград"));
        QCOMPARE(programFolder(), folder);
        QCOMPARE(enterProgramFolder(programFolder()), QString());
        QCOMPARE(QDir::currentPath(), folder);
        {
            ProgramRegister opened(RegisterSettings().location());
            QCOMPARE(opened.openFailure(), QString());
            QCOMPARE(opened.database().path(), QDir(folder).filePath(QStringLiteral("Baza.mdb")));
        }
        QVERIFY(QFile::exists(QDir(folder).filePath(QStringLiteral("Baza.mdb"))));
        QVERIFY(!QFile::exists(m_home->filePath(QStringLiteral("Baza.mdb"))));

        // The next start finds the folder and its register as they were.
        QVERIFY(QDir::setCurrent(m_home->path()));
        QCOMPARE(enterProgramFolder(programFolder()), QString());
        QCOMPARE(QDir::currentPath(), folder);
    }

    void aFileInTheWayIsReported()
    {
        QVERIFY(QDir(m_home->path()).mkpath(QStringLiteral("Документы")));
        QFile blocker(m_home->filePath(QStringLiteral("Документы/ОСАГО Тальград")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString problem = enterProgramFolder(programFolder());
        QVERIFY2(problem.startsWith(QStringLiteral("Не удалось создать папку программы")), qPrintable(problem));
        QCOMPARE(QDir::currentPath(), m_home->path());
    }

private:
    QString m_started;
    std::unique_ptr<QTemporaryDir> m_home;
    QByteArray m_oldHome;
    QByteArray m_oldConfig;
};

QTEST_GUILESS_MAIN(ProgramFolderTest)
#include "ProgramFolderTest.moc"
