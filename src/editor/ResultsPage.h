#pragma once

#include <QWidget>

namespace osago {

class Messages;

class ResultsPage : public QWidget
{
    Q_OBJECT

public:
    ResultsPage(QWidget& editor, Messages& messages, QWidget* parent = nullptr);

private:
    QWidget& m_editor;
    Messages& m_messages;
};

} // namespace osago
