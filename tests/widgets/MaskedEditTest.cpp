#include "widgets/MaskedEdit.h"
#include "ScriptedMessages.h"
#include "widgets/TypingLimit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using osago::MaskedEdit;
using osago::test::ScriptedMessages;

using osago::kDateMask;

namespace {
const QString kPolicyMask = QStringLiteral("!>LLL№9999999999;1;?");
const QString kReceiptMask = QStringLiteral("!999999;1;?");
const QString kPermitMask = QStringLiteral("!>AAAAAAAAAA  99.99.9999;1;?");

// The x of the middle of character `position` of the field's screen text, give or take the style's frame.
int xOfCharacter(const QLineEdit& edit, int position)
{
    const QFontMetrics metrics(edit.font());
    const QString shown = edit.displayText();
    const int textLeft = edit.contentsRect().left() + edit.textMargins().left() + 2;
    return textLeft + metrics.horizontalAdvance(shown.left(position)) + metrics.horizontalAdvance(shown[position]) / 2;
}
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
        QTest::newRow("receipt") << kReceiptMask << QStringLiteral("      ");
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

    void screenShowsQuestionMarksWhereTheTextHasBlanks_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("screen");
        QTest::newRow("empty date") << kDateMask << QString() << QStringLiteral("??.??.????");
        QTest::newRow("date without day") << kDateMask << QStringLiteral("  .03.2001") << QStringLiteral("??.03.2001");
        QTest::newRow("empty policy") << kPolicyMask << QString() << QStringLiteral("???№??????????");
        QTest::newRow("policy partly filled") << kPolicyMask << QStringLiteral(" ВВ№12345     ")
                                              << QStringLiteral("?ВВ№12345?????");
        QTest::newRow("empty receipt") << kReceiptMask << QString() << QStringLiteral("??????");
        QTest::newRow("permit without date") << kPermitMask << QStringLiteral("AB12Щ       12.  .2001")
                                             << QStringLiteral("AB12Щ?????  12.??.2001");
    }
    void screenShowsQuestionMarksWhereTheTextHasBlanks()
    {
        QFETCH(QString, mask);
        QFETCH(QString, text);
        QFETCH(QString, screen);
        ScriptedMessages seam;
        Window w(mask, seam);
        w.edit->setMaskedText(text);
        const QString stored = text.isEmpty() ? w.edit->emptyText() : text;
        QCOMPARE(w.edit->displayText(), screen);
        QCOMPARE(w.edit->maskedText(), stored);
        w.other->setFocus(Qt::TabFocusReason);
        QVERIFY(!w.edit->hasFocus());
        QCOMPARE(w.edit->displayText(), screen);
        QCOMPARE(w.edit->maskedText(), stored);
    }

    // Typed keys, then the field left by Tab.
    void optionalGroupsTakeTheirBlanksInFront_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::newRow("one-digit day and month") << kDateMask << QStringLiteral("5.3.1990") << QStringLiteral(" 5. 3.1990");
        QTest::newRow("one-digit day") << kDateMask << QStringLiteral("1.02.2027") << QStringLiteral(" 1.02.2027");
        QTest::newRow("day left for the year") << kDateMask << QStringLiteral("1") << QStringLiteral(" 1.  .    ");
        QTest::newRow("without the flag") << QStringLiteral("99/99/0000;1;?") << QStringLiteral("5.3.1990")
                                          << QStringLiteral("5 .3 .1990");
        QTest::newRow("permit date") << kPermitMask << QStringLiteral("ab123456781.2.2001")
                                     << QStringLiteral("AB12345678   1. 2.2001");
        QTest::newRow("policy digits") << kPolicyMask << QStringLiteral("абв12345") << QStringLiteral("АБВ№     12345");
    }
    void optionalGroupsTakeTheirBlanksInFront()
    {
        QFETCH(QString, mask);
        QFETCH(QString, typed);
        QFETCH(QString, text);
        ScriptedMessages seam;
        Window w(mask, seam);
        w.edit->home(false);
        typeText(w.edit, typed);
        w.other->setFocus(Qt::TabFocusReason);
        QCOMPARE(w.edit->maskedText(), text);
        QVERIFY(seam.shownTexts().isEmpty() || !w.edit->isComplete());
    }

    void storedTextsAreNotRearrangedByLookingAtThem()
    {
        ScriptedMessages seam;
        Window w(kDateMask, seam);
        w.edit->setMaskedText(QStringLiteral("5 .3 .1990"));
        w.other->setFocus();
        w.edit->setFocus(Qt::TabFocusReason);
        for (int i = 0; i < 10; ++i)
            QTest::keyClick(w.edit, Qt::Key_Right);
        w.other->setFocus(Qt::TabFocusReason);
        QCOMPARE(w.edit->maskedText(), QStringLiteral("5 .3 .1990"));
    }

    // Where a click puts the caret: shown by what the typing that follows writes.
    void aClickPutsTheCaretWhereTypingWorks_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("clickedCharacter"); // -1: right of the text
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("result");
        QTest::newRow("right of an empty date") << kDateMask << QString() << -1 << QStringLiteral("01021990")
                                                << QStringLiteral("01.02.1990");
        QTest::newRow("into an empty date") << kDateMask << QString() << 7 << QStringLiteral("01021990")
                                            << QStringLiteral("01.02.1990");
        QTest::newRow("right of a policy number") << kPolicyMask << QString() << -1 << QStringLiteral("абв1")
                                                  << QStringLiteral("АБВ№1         ");
        QTest::newRow("into the year") << kDateMask << QStringLiteral("01.02.1990") << 8 << QStringLiteral("85")
                                       << QStringLiteral("01.02.1985");
        QTest::newRow("right of a filled date") << kDateMask << QStringLiteral("01.02.1990") << -1 << QStringLiteral("1")
                                                << QStringLiteral("01.02.1991");
    }
    void aClickPutsTheCaretWhereTypingWorks()
    {
        QFETCH(QString, mask);
        QFETCH(QString, text);
        QFETCH(int, clickedCharacter);
        QFETCH(QString, typed);
        QFETCH(QString, result);
        ScriptedMessages seam;
        Window w(mask, seam);
        w.edit->setMaskedText(text);
        w.other->setFocus(Qt::TabFocusReason);
        const int x = clickedCharacter < 0 ? w.edit->width() - 4 : xOfCharacter(*w.edit, clickedCharacter);
        QTest::mouseClick(w.edit, Qt::LeftButton, Qt::NoModifier, QPoint(x, w.edit->height() / 2));
        QVERIFY(w.edit->hasFocus());
        typeText(w.edit, typed);
        QCOMPARE(w.edit->maskedText(), result);
    }

    void theClipboardCarriesBlanksNotTheScreensMarks()
    {
        ScriptedMessages seam;
        Window w(kDateMask, seam);
        w.edit->setMaskedText(QStringLiteral("  .03.2001"));
        w.edit->selectAll();
        QTest::keyClick(w.edit, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("  .03.2001"));

        QGuiApplication::clipboard()->setText(QStringLiteral(" 1. 2.1990"));
        w.edit->selectAll();
        QTest::keyClick(w.edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w.edit->maskedText(), QStringLiteral(" 1. 2.1990"));

        QGuiApplication::clipboard()->clear();
        w.edit->selectAll();
        QContextMenuEvent menuRequest(QContextMenuEvent::Mouse, QPoint(5, 5), w.edit->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(w.edit, &menuRequest);
        QTRY_VERIFY(QApplication::activePopupWidget());
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QAction* copy = nullptr;
        for (QAction* action : menu->actions()) {
            if (action->text().startsWith(QLineEdit::tr("&Copy")))
                copy = action;
        }
        QVERIFY(copy);
        copy->trigger();
        menu->close();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral(" 1. 2.1990"));
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
