#pragma once

#include <QDialog>

namespace osago {

class Messages;

// "О программе": the product, its makers and a contact that starts a mail message.
class AboutBox : public QWidget
{
    Q_OBJECT

public:
    // `mainWindow` is disabled while the box is shown.
    AboutBox(Messages& messages, QWidget& mainWindow);

private:
    Messages& m_messages;
    QWidget& m_mainWindow;
};

} // namespace osago
