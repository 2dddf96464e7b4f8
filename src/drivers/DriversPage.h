#pragma once

#include <QWidget>

namespace osago {

class FormPlus;
class Messages;

// The editor's page "Водители": the permitted drivers, or all drivers without restriction.
class DriversPage : public QWidget
{
    Q_OBJECT

public:
    // `editor` is the policy editor, whose policyholder, owner and issue-date fields the page reads.
    DriversPage(QWidget& editor, Messages& messages, QWidget* parent = nullptr);

    void attachDialog(FormPlus& dialog);

    // The two steps of the editor's closing reset that concern this page.
    void resetUnrestricted();
    void clearDrivers();

private:
    QWidget& m_editor;
    Messages& m_messages;
    FormPlus* m_dialog = nullptr;
};

} // namespace osago
