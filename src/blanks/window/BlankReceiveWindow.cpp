#include "blanks/window/BlankReceiveWindow.h"

#include "blanks/BlankReceiving.h"
#include "blanks/window/BlanksAccess.h"
#include "storage/BlankJournal.h"
#include "storage/BlankNumbers.h"
#include "storage/IssuePeriod.h"
#include "widgets/MaskedEdit.h"
#include "widgets/Messages.h"
#include "widgets/OkCancel.h"
#include "widgets/WaitCursor.h"

#include <QComboBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>

namespace osago {

namespace {

QLineEdit* newField(QWidget* window, const char* name, int limit)
{
    auto* field = new QLineEdit(window);
    field->setObjectName(QLatin1String(name));
    field->setMaxLength(limit);
    return field;
}

} // namespace

BlankReceiveWindow::BlankReceiveWindow(Messages& messages)
    : m_messages(messages)
{
    setObjectName(QStringLiteral("FormBlanksIn"));
    setWindowTitle(QStringLiteral("Поступление бланков"));
    setWindowFlag(Qt::Dialog);
    setWindowModality(Qt::ApplicationModal);

    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("ComboBoxKind"));
    for (BlankKind kind : kBlankKinds)
        m_kind->addItem(blankKindName(kind), int(kind));
    m_series = newField(this, "EditSeries", 3);
    m_first = newField(this, "EditFirst", 10);
    m_last = newField(this, "EditLast", 10);
    m_date = new MaskedEdit(kDateMask, messages, this);
    m_date->setObjectName(QStringLiteral("EditDate"));
    m_act = newField(this, "EditAct", 50);
    m_note = newField(this, "EditNote", 200);
    connect(m_kind, &QComboBox::currentIndexChanged, this, &BlankReceiveWindow::ComboBoxKindChange);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Вид бланка:"), m_kind);
    fields->addRow(QStringLiteral("Серия:"), m_series);
    fields->addRow(QStringLiteral("Первый номер:"), m_first);
    fields->addRow(QStringLiteral("Последний номер:"), m_last);
    fields->addRow(QStringLiteral("Дата:"), m_date);
    fields->addRow(QStringLiteral("Номер акта:"), m_act);
    fields->addRow(QStringLiteral("Примечание:"), m_note);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(newOkCancelRow(*this, [this] { ButtonOkClick(); }));
    ComboBoxKindChange();
}

void BlankReceiveWindow::ask(PolicyDatabase& database, QDate today)
{
    m_database = &database;
    m_date->setMaskedText(registerDateText(today));
    show();
    raise();
    activateWindow();
    m_kind->setFocus();
}

void BlankReceiveWindow::keyPressEvent(QKeyEvent* event)
{
    if (!answerOkCancelKey(*this, *event, [this] { ButtonOkClick(); }))
        QWidget::keyPressEvent(event);
}

void BlankReceiveWindow::ComboBoxKindChange()
{
    m_series->setEnabled(hasSeries(BlankKind(m_kind->currentData().toInt())));
}

void BlankReceiveWindow::ButtonOkClick()
{
    if (const QString refusal = blankWriteRefusal(*m_database); !refusal.isEmpty()) {
        m_messages.show(this, kBlanksTitle, refusal, Messages::Icon::Critical);
        return;
    }
    const auto kind = BlankKind(m_kind->currentData().toInt());
    const CheckedReceipt checked = checkReceipt({kind, hasSeries(kind) ? m_series->text() : QString(),
                                                 m_first->text(), m_last->text(),
                                                 registerDate(m_date->maskedText()).value_or(QDate()), m_act->text(),
                                                 m_note->text()});
    if (!checked.receipt) {
        m_messages.show(this, kBlanksTitle, checked.refusal, Messages::Icon::Warning);
        QWidget* field = checked.field == ReceiptField::Series ? m_series
                         : checked.field == ReceiptField::Last ? m_last
                         : checked.field == ReceiptField::Date ? static_cast<QWidget*>(m_date)
                                                               : m_first;
        field->setFocus();
        return;
    }
    if (checked.needsQuestion() && !m_messages.confirm(this, kConfirmTitle, longReceiptQuestion(checked.count)))
        return;
    StorageResult<ReceiveOutcome> outcome;
    {
        const WaitCursor waiting;
        outcome = m_database->blanks().receive(*checked.receipt);
    }
    if (!outcome.ok) {
        m_messages.show(this, kBlanksTitle, outcome.error, Messages::Icon::Critical);
        return;
    }
    hide();
    emit received();
    m_messages.show(this, kBlanksTitle, receivedMessage(outcome.value), Messages::Icon::Information);
}

QString receivedMessage(const ReceiveOutcome& outcome)
{
    return QStringLiteral("Принято бланков: %1. Из них сразу отмечены «использован» по сохранённым записям: %2.")
        .arg(outcome.received)
        .arg(outcome.markedUsed);
}

} // namespace osago
