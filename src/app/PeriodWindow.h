#pragma once

#include "storage/IssuePeriod.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QLabel;

namespace osago {

class MaskedEdit;
class Messages;

// The period of a command over the register: two dates with the program's date mask, by default the previous
// calendar month. For an export the period may be left out ("Только выданные за период" cleared); a report
// always has one. Enter confirms, Escape cancels.
class PeriodWindow : public QWidget
{
    Q_OBJECT

public:
    enum class Need { Optional, Required };

    explicit PeriodWindow(Messages& messages);

    // Shows the window for one command, titled `title`, with the previous month of `today` typed in.
    void ask(const QString& title, Need need, QDate today);

signals:
    // The agent confirmed: the period, or none for every row.
    void chosen(std::optional<osago::IssuePeriod> period);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ButtonOkClick();

    Messages& m_messages;
    QCheckBox* m_restrict = nullptr;
    MaskedEdit* m_from = nullptr;
    MaskedEdit* m_to = nullptr;
};

// The period typed into two date fields; none, after the agent has been told why and the field at fault has the
// focus, when a date is not a date or the period ends before it starts.
std::optional<IssuePeriod> typedPeriod(MaskedEdit& from, MaskedEdit& to, Messages& messages);

} // namespace osago
