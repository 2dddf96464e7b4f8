#pragma once

#include <QWidget>

class QLineEdit;

namespace osago {

// "Настройки": the names of the agent and of the insurer, kept between runs (AgentSettings). A small tool window
// that stays on top; it shows the names kept and keeps what it holds when it closes.
class AgentWindow : public QWidget
{
    Q_OBJECT

public:
    AgentWindow();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormShow();
    void FormClose();
    void Button1Click();

    QLineEdit* m_agent = nullptr;
    QLineEdit* m_insurer = nullptr;
};

} // namespace osago
