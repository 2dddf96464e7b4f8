#pragma once

#include <QWidget>

namespace osago {

class DriversPage;
class Messages;

// The six-page policy editor. Created once and reused for every record: closing only hides it
// and returns every control to its default.
class Form2 : public QWidget
{
    Q_OBJECT

public:
    // `mainWindow` is disabled while the editor is shown and enabled again when it closes.
    Form2(Messages& messages, QWidget& mainWindow);

    DriversPage& driversPage() { return *m_driversPage; }

private:
    Messages& m_messages;
    QWidget& m_mainWindow;
    DriversPage* m_driversPage = nullptr;
};

} // namespace osago
