#include "widgets/MaskedEdit.h"

#include "widgets/Messages.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include <cstdlib>

namespace osago {

const QString MaskedEdit::kInvalidInputMessage =
    QStringLiteral("Invalid input value.  Use escape key to abandon changes");

namespace {

struct TranslatedMask
{
    QString qtMask;
    QVector<bool> required;
    QVector<bool> editable;
    bool blanksInFront = false;
    QString emptyText;
};

bool isQtMaskMeta(QChar c)
{
    return QStringLiteral("AaNnXx90Dd#HhBb><!;\\[]{}").contains(c);
}

TranslatedMask translate(const QString& classicMask)
{
    TranslatedMask out;
    const auto addPosition = [&out](QChar qtLetter, bool required) {
        out.qtMask += qtLetter;
        out.required += required;
        out.editable += true;
        out.emptyText += u' ';
    };
    const QString mask = classicMask.section(QLatin1Char(';'), 0, 0);
    for (const QChar c : mask) {
        switch (c.unicode()) {
        case '!':
            out.blanksInFront = true;
            break;
        case '>':
        case '<':
            out.qtMask += c;
            break;
        case '9':
        case '0':
            addPosition(u'0', c == u'0');
            break;
        case 'L':
        case 'l':
            addPosition(u'a', c == u'L');
            break;
        case 'A':
        case 'a':
            addPosition(u'n', c == u'A');
            break;
        default: {
            const QChar literal = c == QLatin1Char('/') ? QLatin1Char('.') : c;
            if (isQtMaskMeta(literal))
                out.qtMask += QLatin1Char('\\');
            out.qtMask += literal;
            out.required += false;
            out.editable += false;
            out.emptyText += literal;
        }
        }
    }
    out.qtMask += u';';
    out.qtMask += MaskedEdit::kScreenBlank;
    return out;
}

} // namespace

MaskedEdit::MaskedEdit(const QString& classicMask, Messages& messages, QWidget* parent)
    : QLineEdit(parent)
    , m_messages(messages)
{
    const TranslatedMask translated = translate(classicMask);
    m_required = translated.required;
    m_editable = translated.editable;
    m_blanksInFront = translated.blanksInFront;
    m_emptyText = translated.emptyText;
    setInputMask(translated.qtMask);
    m_lastText = maskedText();
    m_textOnEntry = m_lastText;
    connect(this, &QLineEdit::textChanged, this, &MaskedEdit::noteTextChange);
    connect(this, &QLineEdit::textEdited, this, [this] { m_editedSinceEntry = true; });
}

// Qt's own text() drops the unfilled positions; the screen's text keeps every position in place.
QString MaskedEdit::maskedText() const
{
    return fromScreen(displayText(), 0);
}

void MaskedEdit::setMaskedText(const QString& text)
{
    setText(toScreen(text, 0));
    noteTextChange();
}

bool MaskedEdit::isComplete() const
{
    const QString text = maskedText();
    for (qsizetype i = 0; i < m_required.size() && i < text.size(); ++i) {
        if (m_required[i] && text[i] == QLatin1Char(' '))
            return false;
    }
    return true;
}

bool MaskedEdit::isEditable(qsizetype position) const
{
    return position >= 0 && position < m_editable.size() && m_editable[position];
}

QString MaskedEdit::toScreen(QString text, qsizetype from) const
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u' ' && isEditable(from + i))
            text[i] = kScreenBlank;
    }
    return text;
}

QString MaskedEdit::fromScreen(QString text, qsizetype from) const
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == kScreenBlank && isEditable(from + i))
            text[i] = u' ';
    }
    return text;
}

// Ties go forward, the way typing goes.
int MaskedEdit::caretPlace(int position) const
{
    const bool empty = maskedText() == m_emptyText;
    int best = -1;
    for (int i = 0; i < m_editable.size(); ++i) {
        if (!m_editable[i])
            continue;
        if (empty)
            return i;
        if (best < 0 || std::abs(i - position) <= std::abs(best - position))
            best = i;
        if (i >= position)
            break;
    }
    return best < 0 ? position : best;
}

std::pair<qsizetype, qsizetype> MaskedEdit::optionalGroupAt(qsizetype position) const
{
    const auto optional = [this](qsizetype i) { return isEditable(i) && !m_required[i]; };
    if (!optional(position))
        return {position, position};
    qsizetype first = position;
    qsizetype end = position + 1;
    while (optional(first - 1))
        --first;
    while (optional(end))
        ++end;
    return {first, end};
}

void MaskedEdit::moveBlanksToFront(QString& text, std::pair<qsizetype, qsizetype> group) const
{
    const auto [first, end] = group;
    QString filled;
    for (qsizetype i = first; i < end && i < text.size(); ++i) {
        if (text[i] != u' ')
            filled += text[i];
    }
    if (filled.isEmpty())
        return;
    text.replace(first, end - first, QString(end - first - filled.size(), u' ') + filled);
}

void MaskedEdit::moveBlanksOfLeftGroup(int caretBefore)
{
    if (!m_blanksInFront || !m_editedSinceEntry)
        return;
    const auto group = optionalGroupAt(caretBefore);
    const int caret = cursorPosition();
    if (group.first == group.second || (caret >= group.first && caret < group.second))
        return;
    QString text = maskedText();
    moveBlanksToFront(text, group);
    setMaskedTextKeepingCaret(text);
}

void MaskedEdit::moveBlanksOfAllGroups()
{
    if (!m_blanksInFront || !m_editedSinceEntry)
        return;
    QString text = maskedText();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto group = optionalGroupAt(i);
        if (group.first == group.second)
            continue;
        moveBlanksToFront(text, group);
        i = group.second;
    }
    setMaskedTextKeepingCaret(text);
}

void MaskedEdit::setMaskedTextKeepingCaret(const QString& text)
{
    if (text == maskedText())
        return;
    const int caret = cursorPosition();
    setMaskedText(text);
    setCursorPosition(caret);
}

void MaskedEdit::noteTextChange()
{
    const QString text = maskedText();
    if (text == m_lastText)
        return;
    m_lastText = text;
    emit maskedTextChanged(text);
}

bool MaskedEdit::acceptOrRefuse()
{
    if (maskedText() == m_textOnEntry || isComplete())
        return true;
    m_refusing = true;
    m_messages.beep();
    m_messages.show(window(), kProgramTitle, kInvalidInputMessage, Messages::Icon::Critical);
    QTimer::singleShot(0, this, [this] {
        // Focus first: the entry text must stay the one from before the refused edit.
        setFocus(Qt::OtherFocusReason);
        m_refusing = false;
    });
    return false;
}

bool MaskedEdit::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void MaskedEdit::focusInEvent(QFocusEvent* event)
{
    if (!m_refusing && event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason) {
        m_textOnEntry = maskedText();
        m_editedSinceEntry = false;
    }
    QLineEdit::focusInEvent(event);
}

void MaskedEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    const bool leavingForGood = event->reason() != Qt::PopupFocusReason
                                && event->reason() != Qt::ActiveWindowFocusReason;
    if (leavingForGood && !m_refusing && isEnabled() && isVisible()) {
        moveBlanksOfAllGroups();
        acceptOrRefuse();
    }
}

void MaskedEdit::keyPressEvent(QKeyEvent* event)
{
    if (event == QKeySequence::Copy) {
        copySelection();
        return;
    }
    if (event == QKeySequence::Cut) {
        cutSelection();
        return;
    }
    if (event == QKeySequence::Paste) {
        pasteClipboard();
        return;
    }
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Escape) {
            setMaskedText(m_textOnEntry);
            m_editedSinceEntry = false;
            selectAll();
            return;
        }
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            moveBlanksOfAllGroups();
            if (acceptOrRefuse())
                m_textOnEntry = maskedText();
            QLineEdit::keyPressEvent(event);
            return;
        }
    }
    const int caretBefore = cursorPosition();
    if (event->text() == QStringLiteral(" ")) {
        // A typed blank leaves its position unfilled, as the screen's blank does.
        QKeyEvent blank(event->type(), event->key(), event->modifiers(), QString(kScreenBlank), event->isAutoRepeat(),
                        quint16(event->count()));
        QLineEdit::keyPressEvent(&blank);
        event->setAccepted(blank.isAccepted());
    } else {
        QLineEdit::keyPressEvent(event);
    }
    moveBlanksOfLeftGroup(caretBefore);
}

// A click past the filled text or on a literal would leave the caret where nothing can be typed.
void MaskedEdit::mousePressEvent(QMouseEvent* event)
{
    const int caretBefore = cursorPosition();
    QLineEdit::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && !(event->modifiers() & Qt::ShiftModifier))
        setCursorPosition(caretPlace(cursorPosition()));
    moveBlanksOfLeftGroup(caretBefore);
}

// The clipboard takes and gives the text with blanks, as the program reads it, never the screen's "?".
void MaskedEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    const auto rewire = [this](QAction* action, auto handler) {
        QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
        connect(action, &QAction::triggered, this, handler);
    };
    for (QAction* action : menu->actions()) {
        const QString caption = action->text().section(u'\t', 0, 0);
        if (caption == QLineEdit::tr("Cu&t"))
            rewire(action, &MaskedEdit::cutSelection);
        else if (caption == QLineEdit::tr("&Copy"))
            rewire(action, &MaskedEdit::copySelection);
        else if (caption == QLineEdit::tr("&Paste"))
            rewire(action, &MaskedEdit::pasteClipboard);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void MaskedEdit::copySelection() const
{
    if (hasSelectedText())
        QGuiApplication::clipboard()->setText(fromScreen(selectedText(), selectionStart()));
}

void MaskedEdit::cutSelection()
{
    if (isReadOnly() || !hasSelectedText())
        return;
    copySelection();
    del();
}

void MaskedEdit::pasteClipboard()
{
    if (isReadOnly())
        return;
    const int from = hasSelectedText() ? selectionStart() : cursorPosition();
    insert(toScreen(QGuiApplication::clipboard()->text(), from));
}

} // namespace osago
