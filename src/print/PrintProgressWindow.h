#pragma once

#include <QWidget>

class QProgressBar;

namespace osago {

// "Идет формирование заявления...": a progress bar that moves one step with each document made.
class PrintProgressWindow : public QWidget
{
    Q_OBJECT

public:
    PrintProgressWindow();

    // Shows the window with an empty bar of `steps` steps.
    void start(int steps);
    // Moves the bar one step on and lets it be painted.
    void step();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    QProgressBar* m_bar = nullptr;
};

} // namespace osago
