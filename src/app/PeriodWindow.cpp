#include "app/PeriodWindow.h"

#include "editor/EditorFields.h"
#include "widgets/MaskedEdit.h"
#include "widgets/Messages.h"
#include "widgets/OkCancel.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace osago {

PeriodWindow::PeriodWindow(Messages& messages)
    : m_messages(messages)
{
    setObjectName(QStringLiteral("FormPeriod"));
    setWindowFlag(Qt::Dialog);
    setWindowModality(Qt::ApplicationModal);

    m_restrict = new QCheckBox(QStringLiteral("Только выданные за период"), this);
    m_restrict->setObjectName(QStringLiteral("CheckBoxPeriod"));
    m_from = newMaskedEdit(QStringLiteral("EditFrom"), kDateMask, messages);
    m_to = newMaskedEdit(QStringLiteral("EditTo"), kDateMask, messages);
    connect(m_restrict, &QCheckBox::toggled, m_from, &QWidget::setEnabled);
    connect(m_restrict, &QCheckBox::toggled, m_to, &QWidget::setEnabled);

    auto* dates = new QFormLayout;
    dates->addRow(m_restrict);
    dates->addRow(QStringLiteral("Дата выдачи с"), m_from);
    dates->addRow(QStringLiteral("по"), m_to);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(dates);
    layout->addLayout(newOkCancelRow(*this, [this] { ButtonOkClick(); }));
}

void PeriodWindow::ask(const QString& title, Need need, QDate today)
{
    setWindowTitle(title);
    const IssuePeriod month = previousMonth(today);
    m_from->setMaskedText(registerDateText(month.from));
    m_to->setMaskedText(registerDateText(month.to));
    m_restrict->setVisible(need == Need::Optional);
    m_restrict->setChecked(need == Need::Required);
    m_from->setEnabled(need == Need::Required);
    m_to->setEnabled(need == Need::Required);
    show();
    raise();
    activateWindow();
    (need == Need::Required ? static_cast<QWidget*>(m_from) : m_restrict)->setFocus();
}

void PeriodWindow::keyPressEvent(QKeyEvent* event)
{
    if (!answerOkCancelKey(*this, *event, [this] { ButtonOkClick(); }))
        QWidget::keyPressEvent(event);
}

void PeriodWindow::ButtonOkClick()
{
    if (!m_restrict->isChecked()) {
        hide();
        emit chosen(std::nullopt);
        return;
    }
    const std::optional<IssuePeriod> period = typedPeriod(*m_from, *m_to, m_messages);
    if (!period)
        return;
    hide();
    emit chosen(*period);
}

std::optional<IssuePeriod> typedPeriod(MaskedEdit& fromEdit, MaskedEdit& toEdit, Messages& messages)
{
    const std::optional<QDate> from = registerDate(fromEdit.maskedText());
    const std::optional<QDate> to = registerDate(toEdit.maskedText());
    if (!from || !to) {
        messages.show(fromEdit.window(), kProgramTitle, QStringLiteral("Введите обе даты периода в виде ДД.ММ.ГГГГ."),
                      Messages::Icon::Warning);
        (from ? &toEdit : &fromEdit)->setFocus();
        return std::nullopt;
    }
    if (*from > *to) {
        messages.show(fromEdit.window(), kProgramTitle, QStringLiteral("Начало периода позже его конца."),
                      Messages::Icon::Warning);
        fromEdit.setFocus();
        return std::nullopt;
    }
    return IssuePeriod{*from, *to};
}

} // namespace osago
