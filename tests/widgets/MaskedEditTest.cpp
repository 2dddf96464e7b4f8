#include "MaskedEdit.h"
#include "ScriptedMessages.h"
#include "TypingLimit.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using osago::MaskedEdit;
using osago::test::ScriptedMessages;

namespace {
const QString kDateMask = QStringLiteral("!99/99/0000;1;?");
const QString kPolicyMask = QStringLiteral("!>LLL№9999999999;1;?");
const QString kPermitMask = QStringLiteral(">AAAAAAAAAA  99.99.9999;1;?");
}

class MaskedEditTest : public QObject
{
    Q_OBJECT

    struct Window
    {
        QWidget root;
        MaskedEdit* edit;
        QLineEdit* other;
        Window(const QString& mask, ScriptedMessages& seam)
        {
            auto* layout = new QVBoxLayout(&root);
            edit = new MaskedEdit(mask, seam, &root);
            other = new QLineEdit(&root);
            layout->addWidget(edit);
            layout->addWidget(other);
            root.show();
            QVERIFY(QTest::qWaitForWindowExposed(&root));
            root.activateWindow();
            edit->setFocus();
        }
    };

    static void typeText(QWidget* w, const QString& text)
    {
        for (const QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }

private slots:
    void emptyTextHasTheMasksFullLength_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("empty");
        QTest::newRow("date") << kDateMask << QStringLiteral("  .  .    ");
        QTest::newRow("policy") << kPolicyMask << QStringLiteral("   №          ");
        QTest::newRow("receipt") << QStringLiteral("!999999;1;?") << QStringLiteral("      ");
        QTest::newRow("permit") << kPermitMask << QStringLiteral("              .  .    ");
    }
    void emptyTextHasTheMasksFullLength()
    {
        QFETCH(QString, mask);
        QFETCH(QString, empty);
        ScriptedMessages seam;
        MaskedEdit edit(mask, seam);
        QCOMPARE(edit.maskedText(), empty);
        edit.setMaskedText(QStringLiteral("12.03.2001"));
        edit.setMaskedText(QString());
        QCOMPARE(edit.maskedText(), empty);
    }

    void storedTextsWithGapsComeBackUnchanged_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("text");
        QTest::newRow("date without day") << kDateMask << QStringLiteral("  .03.2001");
        QTest::newRow("date with one-digit day") << kDateMask << QStringLiteral(" 1.02.1990");
        QTest::newRow("policy without letters") << kPolicyMask << QStringLiteral("   №1234567890");
        QTest::newRow("policy partly filled") << kPolicyMask << QStringLiteral(" ВВ№12345     ");
        QTest::newRow("permit without date") << kPermitMask << QStringLiteral("AB12Щ       12.03.2001");
    }
    void storedTextsWithGapsComeBackUnchanged()
    {
        QFETCH(QString, mask);
        QFETCH(QString, text);
        ScriptedMessages seam;
        MaskedEdit edit(mask, seam);
        edit.setMaskedText(text);
        QCOMPARE(edit.maskedText(), text);
    }

    void changeSignalFollowsEveryRealChangeOnly()
    {
        ScriptedMessages seam;
        MaskedEdit edit(kDateMask, seam);
        QSignalSpy spy(&edit, &MaskedEdit::maskedTextChanged);
        edit.setMaskedText(QStringLiteral("01.02.2003"));
        edit.setMaskedText(QStringLiteral("01.02.2003"));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("01.02.2003"));
        edit.setMaskedText(QString());
        QCOMPARE(spy.count(), 2);
    }

    void typedLettersBecomeCapitals()
    {
        ScriptedMessages seam;
        Window w(kPermitMask, seam);
        w.edit->home(false);
        typeText(w.edit, QStringLiteral("ab12щ"));
        QCOMPARE(w.edit->maskedText(), QStringLiteral("AB12Щ") + QString(7, QLatin1Char(' ')) + QStringLiteral("  .  .    "));
    }

    void incompleteChangedFieldRefusesToLoseFocus()
    {
        ScriptedMessages seam;
        Window w(kDateMask, seam);
        w.edit->home(false);
        typeText(w.edit, QStringLiteral("0102"));
        w.other->setFocus(Qt::TabFocusReason);
        QCOMPARE(seam.shownTexts(), QStringList{MaskedEdit::kInvalidInputMessage});
        QCOMPARE(seam.beeps(), 1);
        QTRY_VERIFY(w.edit->hasFocus());
        QCOMPARE(w.edit->maskedText(), QStringLiteral("01.02.    "));
        QTest::keyClick(w.edit, Qt::Key_Escape);
        QCOMPARE(w.edit->maskedText(), QStringLiteral("  .  .    "));
    }

    void escapeRestoresTheTextFromBeforeTheEdit()
    {
        ScriptedMessages seam;
        Window w(kDateMask, seam);
        w.edit->setMaskedText(QStringLiteral("05.06.2007"));
        w.other->setFocus();
        w.edit->setFocus();
        w.edit->home(false);
        typeText(w.edit, QStringLiteral("11"));
        QCOMPARE(w.edit->maskedText(), QStringLiteral("11.06.2007"));
        QTest::keyClick(w.edit, Qt::Key_Escape);
        QCOMPARE(w.edit->maskedText(), QStringLiteral("05.06.2007"));
        w.other->setFocus(Qt::TabFocusReason);
        QVERIFY(seam.shownTexts().isEmpty());
    }

    void untouchedOrCompleteFieldsLeaveFreely()
    {
        ScriptedMessages seam;
        Window w(kDateMask, seam);
        w.other->setFocus(Qt::TabFocusReason);
        QVERIFY(w.other->hasFocus());
        w.edit->setFocus();
        w.edit->home(false);
        typeText(w.edit, QStringLiteral("    2001"));
        w.other->setFocus(Qt::TabFocusReason);
        QVERIFY(w.other->hasFocus());
        QVERIFY(seam.shownTexts().isEmpty());
        QCOMPARE(w.edit->maskedText(), QStringLiteral("  .  .2001"));
    }

    void enterChecksAtOnce()
    {
        ScriptedMessages seam;
        Window w(kPolicyMask, seam);
        w.edit->home(false);
        typeText(w.edit, QStringLiteral("аб"));
        QTest::keyClick(w.edit, Qt::Key_Return);
        QCOMPARE(seam.shownTexts(), QStringList{MaskedEdit::kInvalidInputMessage});
    }

    void typingLimitBindsTypingOnly()
    {
        QLineEdit edit;
        osago::setTypingLimit(&edit, 4);
        edit.setText(QStringLiteral("29,4118"));
        QCOMPARE(edit.text(), QStringLiteral("29,4118"));
        edit.clear();
        edit.show();
        QTest::keyClicks(&edit, QStringLiteral("123456"));
        QCOMPARE(edit.text(), QStringLiteral("1234"));
    }
};

QTEST_MAIN(MaskedEditTest)
#include "MaskedEditTest.moc"
