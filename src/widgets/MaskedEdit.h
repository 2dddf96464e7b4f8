#pragma once

#include <QLineEdit>
#include <QVector>

#include <utility>

namespace osago {

class Messages;

// A line edit with an edit mask in the classic notation ("!99/99/0000;1;?"): "9" an optional digit,
// "0" a required digit, "L" a required letter, "A" a required letter or digit, ">" capitals from
// here on, "/" the date separator shown as ".", "!" the blanks of a partly filled optional group go
// in front of its characters; anything else is a literal.
//
// Its text always has the mask's full length, unfilled positions being spaces ("  .  .    "); the
// screen shows "?" in them. Qt's own required positions would shift characters when a stored text
// with gaps is written back, so every position is optional for Qt and the required ones are checked
// here: a field the agent changed cannot lose focus while a required position is blank, Escape
// restores the text it had when the agent entered it, Enter runs the check at once.
class MaskedEdit : public QLineEdit
{
    Q_OBJECT

public:
    static const QString kInvalidInputMessage;
    // What the screen shows in an unfilled position.
    static constexpr QChar kScreenBlank = u'?';

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
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Beeps, reports the incomplete input and keeps the focus; false when the text is refused.
    bool acceptOrRefuse();
    void noteTextChange();

    bool isEditable(qsizetype position) const;
    // The screen's form of `text` placed at `from`: spaces in editable positions become screen blanks; and back.
    QString toScreen(QString text, qsizetype from) const;
    QString fromScreen(QString text, qsizetype from) const;
    // The first editable position of an empty field; else the editable position nearest `position`.
    int caretPlace(int position) const;

    // The optional group holding `position`, as [first, end); empty when the position is in none.
    std::pair<qsizetype, qsizetype> optionalGroupAt(qsizetype position) const;
    // With the "!" flag, once the agent has edited the field since entering it: the group the caret held at `caretBefore`
    // takes its blanks in front when the caret has left it.
    void moveBlanksOfLeftGroup(int caretBefore);
    // The same for every optional group, when the agent leaves the field.
    void moveBlanksOfAllGroups();
    void moveBlanksToFront(QString& text, std::pair<qsizetype, qsizetype> group) const;
    void setMaskedTextKeepingCaret(const QString& text);

    void copySelection() const;
    void cutSelection();
    void pasteClipboard();

    Messages& m_messages;
    QVector<bool> m_required;
    QVector<bool> m_editable;
    bool m_blanksInFront = false;
    QString m_emptyText;
    QString m_lastText;
    QString m_textOnEntry;
    bool m_editedSinceEntry = false;
    bool m_refusing = false;
};

// The mask of every date field: optional day and month, required four-digit year.
inline const QString kDateMask = QStringLiteral("!99/99/0000;1;?");

} // namespace osago
