#pragma once

#include <QDate>
#include <QWidget>

class QComboBox;
class QLineEdit;

namespace osago {

class MaskedEdit;
struct ReceiveOutcome;
class Messages;
class PolicyDatabase;

// "Поступление бланков...": a range of one kind's blanks received by an act. The series is asked only of the
// kinds that have one; the rules refuse what does not fit, naming the field, and a range of more than 100,000
// blanks is asked about first. Enter confirms, Escape cancels.
class BlankReceiveWindow : public QWidget
{
    Q_OBJECT

public:
    explicit BlankReceiveWindow(Messages& messages);

    // Shows the window over `database` with `today` as the date received; the fields keep the last range typed.
    void ask(PolicyDatabase& database, QDate today);

signals:
    // Blanks were received: the journal has more rows.
    void received();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ComboBoxKindChange();
    void ButtonOkClick();

    Messages& m_messages;
    PolicyDatabase* m_database = nullptr;
    QComboBox* m_kind = nullptr;
    QLineEdit* m_series = nullptr;
    QLineEdit* m_first = nullptr;
    QLineEdit* m_last = nullptr;
    MaskedEdit* m_date = nullptr;
    QLineEdit* m_act = nullptr;
    QLineEdit* m_note = nullptr;
};

// What the closing message says: how many blanks came, and how many saved records used at once.
QString receivedMessage(const ReceiveOutcome& outcome);

} // namespace osago
