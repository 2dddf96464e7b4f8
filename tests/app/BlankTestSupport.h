#pragma once

#include "RegisterTestSupport.h"
#include "app/BlankCommands.h"
#include "blanks/window/BlankJournalModel.h"
#include "blanks/window/BlankJournalWindow.h"
#include "blanks/window/BlankReceiveWindow.h"
#include "widgets/MaskedEdit.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace osago::test {

// A range as the agent types it into "Поступление бланков...": the kind as its place in the drop-down.
struct TypedReceipt
{
    int kind = 0; // 0 Полис ОСАГО, 1 Квитанция, 2 Спецзнак
    QString series;
    QString first;
    QString last;
    QString act = QStringLiteral("А-1");
};

inline BlankReceiveWindow& receiveWindow(TestProgram& t)
{
    return t.program.blankCommands().receiveWindow();
}

// "Поступление бланков..." from the menu, the range typed, "ОК" clicked.
inline void typeReceipt(TestProgram& t, const TypedReceipt& receipt)
{
    t.trigger("N27");
    BlankReceiveWindow& window = receiveWindow(t);
    QVERIFY(window.isVisible());
    pickItem(control<QComboBox>(window, QStringLiteral("ComboBoxKind")), receipt.kind);
    auto* series = control<QLineEdit>(window, QStringLiteral("EditSeries"));
    if (series->isEnabled())
        typeOver(series, receipt.series);
    typeOver(control<QLineEdit>(window, QStringLiteral("EditFirst")), receipt.first);
    typeOver(control<QLineEdit>(window, QStringLiteral("EditLast")), receipt.last);
    typeOver(control<QLineEdit>(window, QStringLiteral("EditAct")), receipt.act);
    clickButton(window, "ButtonOk");
}

// The same, taken: the window closes saying how many came.
inline void receive(TestProgram& t, const TypedReceipt& receipt)
{
    typeReceipt(t, receipt);
    QVERIFY(!receiveWindow(t).isVisible());
    QVERIFY2(t.seam.shownTexts().value(t.seam.shownTexts().size() - 1).startsWith(u"Принято бланков: "),
             qPrintable(t.seam.shownTexts().join(u'\n')));
}

inline BlankJournalWindow& openJournal(TestProgram& t)
{
    t.trigger("N28");
    BlankJournalWindow& journal = t.program.blankCommands().journalWindow();
    [&] { QVERIFY(QTest::qWaitForWindowExposed(&journal)); }();
    return journal;
}

inline QString journalCell(BlankJournalWindow& journal, int row, BlankJournalModel::Column column)
{
    return journal.model().data(journal.model().index(row, column)).toString();
}

// The journal's row showing the number `digits`, or -1.
inline int journalRowOf(BlankJournalWindow& journal, const QString& digits)
{
    for (int row = 0; row < journal.model().rowCount(); ++row) {
        if (journalCell(journal, row, BlankJournalModel::Number) == digits)
            return row;
    }
    return -1;
}

// The status of the blank numbered `digits`, as the journal shows it after reading it again.
inline QString statusOf(TestProgram& t, const QString& digits)
{
    BlankJournalWindow& journal = openJournal(t);
    const int row = journalRowOf(journal, digits);
    return row < 0 ? QStringLiteral("<нет в журнале>") : journalCell(journal, row, BlankJournalModel::Status);
}

// Selects the journal's rows first .. last with a click on the first and Shift with Down to the last.
inline void selectJournalRows(BlankJournalWindow& journal, int first, int last)
{
    journal.grid().selectSourceCell(first);
    for (int row = first; row < last; ++row)
        QTest::keyClick(&journal.grid(), Qt::Key_Down, Qt::ShiftModifier);
}

// A new record with the policyholder `surname` and the policy blank `policy` typed, saved from the results page.
inline void saveNewRecord(TestProgram& t, const QString& surname, const QString& policy)
{
    t.trigger("N2");
    setControlText(t.editor(), QStringLiteral("LabeledEditFamil"), surname);
    setControlText(t.editor(), QStringLiteral("LabeledEditPolis"), policy);
    saveFromEditor(t.editor());
}

} // namespace osago::test
