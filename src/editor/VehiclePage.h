#pragma once

#include <QWidget>

namespace osago {

class Messages;

class VehiclePage : public QWidget
{
    Q_OBJECT

public:
    VehiclePage(QWidget& editor, Messages& messages, QWidget* parent = nullptr);

private:
    QWidget& m_editor;
    Messages& m_messages;
};

} // namespace osago
