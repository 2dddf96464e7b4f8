#pragma once

#include "storage/Blanks.h"

#include <QWidget>

class QLabel;
class QLineEdit;

namespace osago {

class MaskedEdit;
class Messages;

// The date and the reason of "Испорчен..." and "Утрачен...", or the date and the act of "Сдать страховщику...".
// The date is required, and the reason where one is asked. Enter confirms, Escape cancels.
class BlankMarkWindow : public QWidget
{
    Q_OBJECT

public:
    explicit BlankMarkWindow(Messages& messages);

    // Shows the window for marking blanks `status` (Spoiled, Lost or Returned), with `today`'s date.
    void ask(BlankStatus status, QDate today);

signals:
    void chosen(const osago::BlankMark& mark);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ButtonOkClick();

    Messages& m_messages;
    BlankStatus m_status = BlankStatus::Spoiled;
    MaskedEdit* m_date = nullptr;
    QLabel* m_textLabel = nullptr;
    QLineEdit* m_text = nullptr;
};

} // namespace osago
