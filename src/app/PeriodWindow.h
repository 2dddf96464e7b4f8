#pragma once

#include "storage/IssuePeriod.h"
#include "storage/StorageStatus.h"

#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;

namespace osago {

class MaskedEdit;
class Messages;

// The period of a command over the register: two dates with the program's date mask, by default the previous
// calendar month. For an export the period may be left out ("Только выданные за период" cleared); a report
// always has one. "Агент" narrows the command to one agent's policies: it lists "Все агенты" and the agents of
// the policies issued between the dates typed, read again whenever both dates are whole. Enter confirms, Escape
// cancels.
class PeriodWindow : public QWidget
{
    Q_OBJECT

public:
    enum class Need { Optional, Required };
    // The agents of the policies issued in a period.
    using AgentSource = std::function<StorageResult<QStringList>(const IssuePeriod& period)>;

    explicit PeriodWindow(Messages& messages);

    // Shows the window for one command, titled `title`, with the previous month of `today` typed in and its
    // agents from `agents` listed.
    void ask(const QString& title, Need need, QDate today, AgentSource agents = {});

signals:
    // The agent confirmed: the period, or none for every row; the agent chosen, or none for every agent.
    void chosen(std::optional<osago::IssuePeriod> period, std::optional<QString> agent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ButtonOkClick();
    void listAgents();

    Messages& m_messages;
    QCheckBox* m_restrict = nullptr;
    MaskedEdit* m_from = nullptr;
    MaskedEdit* m_to = nullptr;
    QComboBox* m_agent = nullptr;
    AgentSource m_agents;
    // The period whose agents the drop-down lists.
    std::optional<IssuePeriod> m_agentsListedFor;
};

// The period typed into two date fields; none, after the agent has been told why and the field at fault has the
// focus, when a date is not a date or the period ends before it starts.
std::optional<IssuePeriod> typedPeriod(MaskedEdit& from, MaskedEdit& to, Messages& messages);

} // namespace osago
