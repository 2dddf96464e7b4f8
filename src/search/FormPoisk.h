#pragma once

#include <QWidget>

namespace osago {

// The search window over the register; it leaves the main window enabled while shown.
class FormPoisk : public QWidget
{
    Q_OBJECT

public:
    // A window of its own, not a child of the main window, centred over `owner` when shown.
    explicit FormPoisk(QWidget& owner);

private:
    QWidget& m_owner;
};

} // namespace osago
