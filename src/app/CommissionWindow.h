#pragma once

#include <QWidget>

class QLineEdit;
class QTreeWidget;

namespace osago {

class MaskedEdit;
class Messages;
class ProgramRegister;

// "Вознаграждение...": the agent's commission rates, kept in the register so that every desk and every copy of it
// reports alike. A new rate, a percentage of the premium from the day typed, is added after the last; the rates in
// force before stay listed, the latest first. Escape closes the window.
class CommissionWindow : public QWidget
{
    Q_OBJECT

public:
    CommissionWindow(Messages& messages, ProgramRegister& programRegister);

    // Shows the window with the register's rates and today's date typed in.
    void ask(QDate today);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ButtonAddRateClick();
    // The register's rates into the list; the agent is told why when they cannot be read.
    void listRates();
    void warn(const QString& text, QWidget* focus);

    Messages& m_messages;
    ProgramRegister& m_register;
    MaskedEdit* m_from = nullptr;
    QLineEdit* m_rate = nullptr;
    QTreeWidget* m_rates = nullptr;
};

} // namespace osago
