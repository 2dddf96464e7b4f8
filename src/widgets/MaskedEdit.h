#pragma once

#include <QLineEdit>
#include <QVector>

namespace osago {

class Messages;

// A line edit with an edit mask in the classic notation ("!99/99/0000;1;?"): "9" an optional digit,
// "0" a required digit, "L" a required letter, "A" a required letter or digit, ">" capitals from
// here on, "/" the date separator shown as ".", "!" ignored; anything else is a literal.
//
// Its text always has the mask's full length, unfilled positions being spaces ("  .  .    ").
// Qt's own required positions would shift characters when a stored text with gaps is written
// back, so every position is optional for Qt and the required ones are checked here: a field
// the agent changed cannot lose focus while a required position is blank, Escape restores the
// text it had when the agent entered it, Enter runs the check at once.
class MaskedEdit : public QLineEdit
{
    Q_OBJECT

public:
    static const QString kInvalidInputMessage;

    MaskedEdit(const QString& classicMask, Messages& messages, QWidget* parent = nullptr);

    QString maskedText() const;
    void setMaskedText(const QString& text);
    QString emptyText() const { return m_emptyText; }

    // True when every required position holds a character.
    bool isComplete() const;

signals:
    // Emitted after every change of the full text, typed or written by the program;
    // writing the text the field already holds emits nothing.
    void maskedTextChanged(const QString& text);

protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Beeps, reports the incomplete input and keeps the focus; false when the text is refused.
    bool acceptOrRefuse();
    void noteTextChange();

    Messages& m_messages;
    QVector<bool> m_required;
    QString m_emptyText;
    QString m_lastText;
    QString m_textOnEntry;
    bool m_refusing = false;
};

} // namespace osago
