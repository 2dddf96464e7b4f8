#pragma once

#include "renewals/RenewalsDue.h"

#include <QWidget>

#include <optional>

class QLabel;
class QTableWidget;

namespace osago {

class MaskedEdit;
class Messages;

// "Окончание договоров": the period, the policies ending in it that are not renewed yet, a row a policy by end
// date, their count, and the commands on them. Enter in a date shows the period typed.
class RenewalsWindow : public QWidget
{
    Q_OBJECT

public:
    // A window of its own over `owner`, so it is disabled while the owner is (the editor open).
    RenewalsWindow(Messages& messages, QWidget& owner);

    void setPeriod(const IssuePeriod& period);
    IssuePeriod period() const { return m_period; }
    // Lists `found`, the days left counted from `today`; the first row selected.
    void showRenewals(RenewalsFound found, QDate today);
    const RenewalsFound& renewals() const { return m_found; }
    // The policy of the row selected; none when no row is.
    const RenewalDue* selected() const;

signals:
    // The agent asked for the period typed ("Показать" or Enter); it is a period.
    void periodChosen(osago::IssuePeriod period);
    void renewClicked();
    void viewClicked();
    void printClicked();
    void exportClicked();
    // The window takes input again (the editor it was disabled for has closed).
    void enabledAgain();

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ButtonShowClick();

    Messages& m_messages;
    MaskedEdit* m_from = nullptr;
    MaskedEdit* m_to = nullptr;
    QTableWidget* m_table = nullptr;
    QLabel* m_count = nullptr;
    IssuePeriod m_period;
    RenewalsFound m_found;
};

} // namespace osago
