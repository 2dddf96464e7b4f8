#pragma once

#include <QWidget>

namespace osago {

class DriversPage;
class Messages;

// "Сведения о водителе": the particulars of one permitted driver.
class FormPlus : public QWidget
{
    Q_OBJECT

public:
    FormPlus(QWidget& editor, DriversPage& page, Messages& messages);

private:
    QWidget& m_editor;
    DriversPage& m_page;
    Messages& m_messages;
};

} // namespace osago
