#include <QFile>
#include <QHash>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString iconSizes[] = {"16", "22", "24", "32", "48", "64", "128", "256"};

struct Run {
    int status = -1;
    QByteArray output;
    QByteArray errors;
};

Run runProgram(const QString& program, const QStringList& arguments, const QByteArray& input = {})
{
    QProcess process;
    process.start(program, arguments);
    Run run;
    if (!process.waitForStarted())
        return run;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120'000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = process.readAllStandardOutput();
    run.errors = process.readAllStandardError();
    return run;
}

// The keys of a desktop entry file, whose values are taken as they stand (";" separates list items there).
QHash<QString, QString> desktopEntryKeys(const QString& path)
{
    QFile file(path);
    QHash<QString, QString> keys;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0)
            keys.insert(line.left(equals), line.mid(equals + 1));
    }
    return keys;
}

} // namespace

// Installs the build into a temporary prefix, as a package does into /usr, and checks what an agent's desktop
// finds there.
class InstallTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void installsTheProgramAndItsDesktopFiles();
    void iconsHaveTheirThemeSizes();
    void menuEntryStartsTheInstalledProgram();
    void installedProgramAnswersVersionAndCalc();

private:
    QString installed(const QString& path) const { return m_prefix.filePath(path); }

    QTemporaryDir m_prefix;
};

void InstallTest::initTestCase()
{
    QVERIFY(m_prefix.isValid());
    const Run install =
        runProgram(OSAGO_CMAKE, {"--install", OSAGO_BUILD_DIR, "--prefix", m_prefix.path()});
    QVERIFY2(install.status == 0, install.errors.constData());
}

void InstallTest::installsTheProgramAndItsDesktopFiles()
{
    QStringList expected{"bin/osago",
                         "share/applications/osago.desktop",
                         "share/metainfo/osago.metainfo.xml",
                         "share/icons/hicolor/scalable/apps/osago.svg",
                         "share/doc/osago/copyright",
                         "share/doc/osago/changelog.gz",
                         "share/man/man1/osago.1.gz"};
    for (const QString& size : iconSizes)
        expected << QStringLiteral("share/icons/hicolor/%1x%1/apps/osago.png").arg(size);
    for (const QString& path : expected)
        QVERIFY2(QFileInfo::exists(installed(path)), qPrintable(path));
    QVERIFY(QFileInfo(installed("bin/osago")).isExecutable());
}

void InstallTest::iconsHaveTheirThemeSizes()
{
    for (const QString& size : iconSizes) {
        const QImage icon(installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/osago.png").arg(size)));
        QCOMPARE(icon.size(), QSize(size.toInt(), size.toInt()));
        // The shield is drawn, not an empty picture: its centre is opaque.
        QCOMPARE(qAlpha(icon.pixel(icon.width() / 2, icon.height() / 2)), 255);
    }
}

void InstallTest::menuEntryStartsTheInstalledProgram()
{
    const QString entry = installed("share/applications/osago.desktop");
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    QVERIFY2(!validator.isEmpty(), "desktop-file-validate is missing: run scripts/setup.sh as root");
    const Run validation = runProgram(validator, {entry});
    QVERIFY2(validation.status == 0 && validation.output.isEmpty(), validation.output.constData());

    const QHash<QString, QString> keys = desktopEntryKeys(entry);
    QCOMPARE(keys.value("Name"), QStringLiteral("ОСАГО Тальград"));
    QCOMPARE(keys.value("Exec"), QStringLiteral("osago --menu"));
    QCOMPARE(keys.value("Icon"), QStringLiteral("osago"));
    QCOMPARE(keys.value("Categories"), QStringLiteral("Office;Finance;"));
}

void InstallTest::installedProgramAnswersVersionAndCalc()
{
    const Run version = runProgram(installed("bin/osago"), {"--version"});
    QCOMPARE(version.status, 0);
    QCOMPARE(version.output, QByteArray("osago " OSAGO_VERSION "\n"));

    const Run calc = runProgram(installed("bin/osago"), {"calc"}, R"({"controls": {"LabeledEditMoshn": "40"}})");
    QVERIFY2(calc.status == 0, calc.errors.constData());
    QVERIFY2(calc.output.contains(R"("LabeledEditSuma": "643,5")"), calc.output.constData());
}

QTEST_GUILESS_MAIN(InstallTest)
#include "InstallTest.moc"
