#include "blanks/window/BlankMarkWindow.h"

#include "blanks/window/BlanksAccess.h"
#include "storage/IssuePeriod.h"
#include "widgets/MaskedEdit.h"
#include "widgets/Messages.h"
#include "widgets/OkCancel.h"

#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace osago {

BlankMarkWindow::BlankMarkWindow(Messages& messages)
    : m_messages(messages)
{
    setObjectName(QStringLiteral("FormBlankMark"));
    setWindowFlag(Qt::Dialog);
    setWindowModality(Qt::ApplicationModal);
    m_date = new MaskedEdit(kDateMask, messages, this);
    m_date->setObjectName(QStringLiteral("EditDate"));
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("EditText"));
    m_text->setMaxLength(200);
    m_textLabel = new QLabel(this);
    m_textLabel->setBuddy(m_text);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Дата:"), m_date);
    fields->addRow(m_textLabel, m_text);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(newOkCancelRow(*this, [this] { ButtonOkClick(); }));
}

void BlankMarkWindow::ask(BlankStatus status, QDate today)
{
    m_status = status;
    const bool returning = status == BlankStatus::Returned;
    setWindowTitle(returning ? QStringLiteral("Сдать страховщику")
                   : status == BlankStatus::Lost ? QStringLiteral("Утрачен")
                                                 : QStringLiteral("Испорчен"));
    m_textLabel->setText(returning ? QStringLiteral("Номер акта:") : QStringLiteral("Причина:"));
    m_date->setMaskedText(registerDateText(today));
    m_text->clear();
    show();
    raise();
    activateWindow();
    m_text->setFocus();
}

void BlankMarkWindow::keyPressEvent(QKeyEvent* event)
{
    if (!answerOkCancelKey(*this, *event, [this] { ButtonOkClick(); }))
        QWidget::keyPressEvent(event);
}

void BlankMarkWindow::ButtonOkClick()
{
    const std::optional<QDate> date = registerDate(m_date->maskedText());
    if (!date) {
        m_messages.show(this, kBlanksTitle, QStringLiteral("Поле «Дата»: введите дату в виде ДД.ММ.ГГГГ."),
                        Messages::Icon::Warning);
        m_date->setFocus();
        return;
    }
    const QString text = m_text->text().trimmed();
    const bool returning = m_status == BlankStatus::Returned;
    if (!returning && text.isEmpty()) {
        m_messages.show(this, kBlanksTitle, QStringLiteral("Поле «Причина»: укажите, почему бланк испорчен или утрачен."),
                        Messages::Icon::Warning);
        m_text->setFocus();
        return;
    }
    hide();
    emit chosen(BlankMark{m_status, *date, returning ? QString() : text, returning ? text : QString()});
}

} // namespace osago
