#pragma once

#include <QMainWindow>

namespace osago {

class AboutBox;
class Form2;
class FormPoisk;
class Messages;

// The main window: the register grid and every command of the program in its menu and toolbar.
class FormMain : public QMainWindow
{
    Q_OBJECT

public:
    struct Windows
    {
        Form2* editor = nullptr;
        FormPoisk* search = nullptr;
        AboutBox* about = nullptr;
    };

    explicit FormMain(Messages& messages);

    // The windows the commands show; they are created after the main window.
    void attach(const Windows& windows);

private:
    Messages& m_messages;
    Windows m_windows;
};

} // namespace osago
