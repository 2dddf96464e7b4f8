#include "app/AgentSettings.h"
#include "storage/sqlite/SqliteDatabase.h"
#include "print/PrintService.h"
#include "app/RecordCommands.h"
#include "RegisterTestSupport.h"
#include "StorageTestSupport.h"

#include <QFile>
#include <QGuiApplication>

using namespace osago;
using namespace osago::test;

namespace {

const QString kReadOnlyReason = QStringLiteral("файл реестра защищён от записи");

QString surnameAt(TestProgram& t, int row)
{
    return t.model().data(t.model().index(row, 0)).toString();
}

} // namespace

// The program over a register other programs write too, and over one it may only read.
class SharedRegisterTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { useTestSettings("test_shared_register"); }
    void init() { QSettings().clear(); }

    // Rows of another program carry no code, or one code in every row: each command takes the selected row.
    void commandsTakeTheSelectedRowWhateverItsCode_data()
    {
        QTest::addColumn<QString>("code");
        QTest::newRow("no code") << QString("");
        QTest::newRow("one code in every row") << QString("копия");
    }
    void commandsTakeTheSelectedRowWhateverItsCode()
    {
        QFETCH(QString, code);
        TestProgram t;
        const QString path = t.program.database().path();
        insertForeignRows(path, QStringList(8, code));
        QVERIFY(t.model().refresh().ok);

        t.selectRow(5);
        t.trigger("N16");
        QCOMPARE(controlText(t.editor(), QStringLiteral("LabeledEditFamil")), QStringLiteral("Чужая 6"));
        clickButton(t.editor(), "ButtonClose");

        t.selectRow(5);
        t.trigger("N3");
        QCOMPARE(controlText(t.editor(), QStringLiteral("LabeledEditFamil")), QStringLiteral("Чужая 6"));
        setControlText(t.editor(), QStringLiteral("LabeledEditFamil"), QStringLiteral("Исправлена"));
        saveFromEditor(t.editor());
        QVERIFY(!t.editor().isVisible());
        QCOMPARE(surnameAt(t, 5), QStringLiteral("Исправлена"));
        QCOMPARE(surnameAt(t, 0), QStringLiteral("Чужая 1"));
        QCOMPARE(t.storedRow(5).code(), code);
        QCOMPARE(t.main().grid().selectedSourceRow(), 5);

        // A copy is a new row with a code of its own.
        t.selectRow(2);
        t.trigger("N15");
        QCOMPARE(controlText(t.editor(), QStringLiteral("LabeledEditFamil")), QStringLiteral("Чужая 3"));
        saveFromEditor(t.editor());
        QCOMPARE(t.model().rowCount(), 9);
        QCOMPARE(surnameAt(t, 8), QStringLiteral("Чужая 3"));
        QVERIFY(!t.storedRow(8).code().isEmpty() && t.storedRow(8).code() != code);

        t.selectRow(3);
        t.seam.answerNext(true);
        t.trigger("N12");
        QCOMPARE(t.model().rowCount(), 8);
        QCOMPARE(surnameAt(t, 3), QStringLiteral("Чужая 5"));
        QCOMPARE(surnameAt(t, 2), QStringLiteral("Чужая 3"));
        QVERIFY(t.seam.shown().isEmpty());
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    // Between the grid's read and the command another program changes or deletes the row: nothing is done, the
    // agent is told and sees the register as it is now.
    void aRowChangedSinceTheGridReadItIsNotTouched_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("otherProgram");
        QTest::addColumn<QString>("surnameAfter");
        const QString change = "UPDATE TableStrah SET \"Страхователь_фамилия_фирма\" = 'Чужая правка' WHERE rowid = 2";
        const QString removal = "DELETE FROM TableStrah WHERE rowid = 2";
        QTest::newRow("edit a changed row") << "N3" << change << "Чужая правка";
        QTest::newRow("view a deleted row") << "N16" << removal << "Чужая 3";
        QTest::newRow("print a changed row") << "N7" << change << "Чужая правка";
        QTest::newRow("delete a changed row") << "N12" << change << "Чужая правка";
        QTest::newRow("delete a deleted row") << "N12" << removal << "Чужая 3";
    }
    void aRowChangedSinceTheGridReadItIsNotTouched()
    {
        QFETCH(QString, command);
        QFETCH(QString, otherProgram);
        QFETCH(QString, surnameAfter);
        TestProgram t;
        insertForeignRows(t.program.database().path(), {"", "", ""});
        QVERIFY(t.model().refresh().ok);
        QCOMPARE(surnameAt(t, 1), QStringLiteral("Чужая 2"));
        QVERIFY(RawConnection(t.program.database().path()).exec(otherProgram));

        t.selectRow(1);
        t.trigger(command.toLatin1().constData());
        QCOMPARE(t.seam.shown().size(), 1);
        QVERIFY2(t.seam.shown().first().text.startsWith(kRowChangedMessage), qPrintable(t.seam.shown().first().text));
        QVERIFY(t.seam.questions().isEmpty());
        QVERIFY(!t.editor().isVisible());
        QVERIFY(!t.program.printService().previewWindow());
        QCOMPARE(surnameAt(t, 1), surnameAfter);
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    void aSaveNeverOverwritesAChangeMadeMeanwhile()
    {
        TestProgram t;
        insertForeignRows(t.program.database().path(), {"", "", ""});
        QVERIFY(t.model().refresh().ok);
        t.selectRow(1);
        t.trigger("N3");
        setControlText(t.editor(), QStringLiteral("LabeledEditFamil"), QStringLiteral("Моя правка"));
        QVERIFY(RawConnection(t.program.database().path())
                    .exec("UPDATE TableStrah SET \"Страхователь_фамилия_фирма\" = 'Чужая правка' WHERE rowid = 2"));

        saveFromEditor(t.editor());
        QCOMPARE(t.seam.shown().size(), 1);
        QVERIFY(t.seam.shown().first().text.startsWith(kRowChangedMessage));
        QVERIFY(t.editor().isVisible());
        QCOMPARE(controlText(t.editor(), QStringLiteral("LabeledEditFamil")), QStringLiteral("Моя правка"));
        QCOMPARE(t.storedRow(1).value(0), QStringLiteral("Чужая правка"));
        QCOMPARE(surnameAt(t, 1), QStringLiteral("Чужая правка"));
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        OSAGO_VERIFY_MESSAGES(t.seam);
    }

    // A register file the agent may not write: every row shown, the caption and one message say so, and the
    // editor says so before a record is typed; saving is refused with the reason.
    void aRegisterTheAgentMayNotWriteIsShownForReading()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Baza.mdb"));
        {
            SqliteDatabase maker;
            QVERIFY(maker.open(path).ok);
            PolicyRow row;
            row.setValue(0, QStringLiteral("Хранимая"));
            QVERIFY(maker.insert(row).ok);
        }
        QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                         | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
        const QByteArray before = fileBytes(path);

        const AsUnprivilegedUser unprivileged;
        TestProgram t(path);
        QCOMPARE(t.main().windowTitle(), QStringLiteral("ОСАГО Тальград — только чтение"));
        QCOMPARE(t.seam.shown().size(), 1);
        QVERIFY2(t.seam.shown().first().text.contains(kReadOnlyReason), qPrintable(t.seam.shown().first().text));
        QCOMPARE(t.model().rowCount(), 1);
        QCOMPARE(surnameAt(t, 0), QStringLiteral("Хранимая"));

        t.trigger("N2");
        QCOMPARE(t.seam.shown().size(), 2);
        QVERIFY2(t.seam.shown().last().text.startsWith(u"Запись можно рассчитать и напечатать, но не сохранить"),
                 qPrintable(t.seam.shown().last().text));
        setControlText(t.editor(), QStringLiteral("LabeledEditFamil"), QStringLiteral("Новая"));
        saveFromEditor(t.editor());
        QCOMPARE(t.seam.shown().size(), 3);
        QVERIFY2(t.seam.shown().last().text.contains(kReadOnlyReason), qPrintable(t.seam.shown().last().text));
        QVERIFY(t.editor().isVisible());
        QCOMPARE(controlText(t.editor(), QStringLiteral("LabeledEditFamil")), QStringLiteral("Новая"));
        QCOMPARE(fileBytes(path), before);
        OSAGO_VERIFY_MESSAGES(t.seam);
    }
};

QTEST_MAIN(SharedRegisterTest)
#include "SharedRegisterTest.moc"
