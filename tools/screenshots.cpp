// Takes the README's pictures of the real windows: the main window over a register of sample rows, and the editor on a filled-in
// new record (general page, vehicle page, results after "Расчитать"). Run it through
// scripts/screenshots.sh, which starts it under Xvfb.
#include "widgets/Controls.h"
#include "editor/PolicyEditor.h"
#include "app/MainWindow.h"
#include "widgets/Messages.h"
#include "app/NewRecord.h"
#include "storage/PolicyDatabase.h"
#include "app/Program.h"
#include "storage/tools/SampleRecords.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

void save(QWidget& window, const QString& folder, const QString& name)
{
    QTest::qWait(200);
    const QString path = QDir(folder).filePath(name);
    if (!window.grab().save(path))
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    QTemporaryDir registerFolder;
    const QString registerPath = registerFolder.filePath(QStringLiteral("Baza.mdb"));
    {
        osago::PolicyDatabase database;
        if (!database.open(registerPath).ok)
            qFatal("cannot make the sample register");
        osago::SampleRecords samples(7);
        for (int row = 0; row < 40; ++row)
            database.insert(samples.next());
    }

    osago::DialogMessages messages;
    osago::Program program(messages, {registerPath});
    program.start();
    program.mainWindow().resize(900, 420);
    save(program.mainWindow(), folder, QStringLiteral("main-window.png"));

    osago::PolicyEditor& editor = program.policyEditor();
    osago::prepareNewRecord(editor, QDateTime(QDate(2026, 12, 9), QTime(10, 30, 0)));
    osago::setControlText(editor, QStringLiteral("LabeledEditMoshn"), QStringLiteral("105"));
    osago::setControlText(editor, QStringLiteral("EditMarka"), QStringLiteral("Лада Веста"));
    osago::setControlText(editor, QStringLiteral("LabeledEditVin"), QStringLiteral("XTA21129094512345"));
    auto* pages = osago::control<QTabWidget>(editor, QStringLiteral("PageControl"));
    save(editor, folder, QStringLiteral("editor-general.png"));
    pages->setCurrentIndex(3);
    save(editor, folder, QStringLiteral("editor-vehicle.png"));
    pages->setCurrentIndex(5);
    osago::control<QAbstractButton>(editor, QStringLiteral("ButtonSumma"))->click();
    save(editor, folder, QStringLiteral("editor-results.png"));
    return 0;
}
