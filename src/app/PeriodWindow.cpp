#include "app/PeriodWindow.h"

#include "editor/EditorFields.h"
#include "widgets/MaskedEdit.h"
#include "widgets/Messages.h"
#include "widgets/OkCancel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace osago {

namespace {

const QString kAllAgents = QStringLiteral("Все агенты");

} // namespace

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

    m_agent = new QComboBox(this);
    m_agent->setObjectName(QStringLiteral("ComboBoxAgent"));
    m_agent->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // The agents are read when the drop-down is reached, not at every date typed: a start typed before the end
    // would otherwise read years of a shared register's rows while the window waits.
    m_agent->installEventFilter(this);

    auto* dates = new QFormLayout;
    dates->addRow(m_restrict);
    dates->addRow(QStringLiteral("Дата выдачи с"), m_from);
    dates->addRow(QStringLiteral("по"), m_to);
    dates->addRow(QStringLiteral("Агент"), m_agent);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(dates);
    layout->addLayout(newOkCancelRow(*this, [this] { ButtonOkClick(); }));
}

void PeriodWindow::ask(const QString& title, Need need, QDate today, AgentSource agents)
{
    setWindowTitle(title);
    m_agents = {}; // the dates typed in below are read once, whole
    m_agentsListedFor.reset();
    m_agent->clear();
    m_agent->addItem(kAllAgents);
    const IssuePeriod month = previousMonth(today);
    m_from->setMaskedText(registerDateText(month.from));
    m_to->setMaskedText(registerDateText(month.to));
    m_restrict->setVisible(need == Need::Optional);
    m_restrict->setChecked(need == Need::Required);
    m_from->setEnabled(need == Need::Required);
    m_to->setEnabled(need == Need::Required);
    m_agents = std::move(agents);
    listAgents();
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

// The choice stays on the agent it named while that agent is among the period's; a period that cannot be read
// lists no agent, and the command itself then says why.
void PeriodWindow::listAgents()
{
    const std::optional<QDate> from = registerDate(m_from->maskedText());
    const std::optional<QDate> to = registerDate(m_to->maskedText());
    if (!m_agents || !from || !to || *from > *to)
        return;
    const IssuePeriod period{*from, *to};
    if (m_agentsListedFor && m_agentsListedFor->from == period.from && m_agentsListedFor->to == period.to)
        return;
    m_agentsListedFor = period;
    const StorageResult<QStringList> agents = m_agents(period);
    const QString current = m_agent->currentText();
    m_agent->clear();
    m_agent->addItem(kAllAgents);
    if (agents.ok)
        m_agent->addItems(agents.value);
    m_agent->setCurrentIndex(std::max(0, m_agent->findText(current)));
}

bool PeriodWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_agent && event->type() == QEvent::FocusIn)
        listAgents();
    return QWidget::eventFilter(watched, event);
}

void PeriodWindow::ButtonOkClick()
{
    const std::optional<QString> agent =
        m_agent->currentIndex() > 0 ? std::optional<QString>(m_agent->currentText()) : std::nullopt;
    if (!m_restrict->isChecked()) {
        hide();
        emit chosen(std::nullopt, agent);
        return;
    }
    const std::optional<IssuePeriod> period = typedPeriod(*m_from, *m_to, m_messages);
    if (!period)
        return;
    hide();
    emit chosen(*period, agent);
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
