#include "MaskedEdit.h"

#include "Messages.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

namespace osago {

const QString MaskedEdit::kInvalidInputMessage =
    QStringLiteral("Invalid input value.  Use escape key to abandon changes");

namespace {

struct TranslatedMask
{
    QString qtMask;
    QVector<bool> required;
    QString emptyText;
};

bool isQtMaskMeta(QChar c)
{
    return QStringLiteral("AaNnXx90Dd#HhBb><!;\\[]{}").contains(c);
}

TranslatedMask translate(const QString& classicMask)
{
    TranslatedMask out;
    const QString mask = classicMask.section(QLatin1Char(';'), 0, 0);
    for (const QChar c : mask) {
        switch (c.unicode()) {
        case '!':
            break;
        case '>':
        case '<':
            out.qtMask += c;
            break;
        case '9':
        case '0':
            out.qtMask += QLatin1Char('0');
            out.required += c == QLatin1Char('0');
            out.emptyText += QLatin1Char(' ');
            break;
        case 'L':
            out.qtMask += QLatin1Char('a');
            out.required += true;
            out.emptyText += QLatin1Char(' ');
            break;
        case 'l':
            out.qtMask += QLatin1Char('a');
            out.required += false;
            out.emptyText += QLatin1Char(' ');
            break;
        case 'A':
            out.qtMask += QLatin1Char('n');
            out.required += true;
            out.emptyText += QLatin1Char(' ');
            break;
        case 'a':
            out.qtMask += QLatin1Char('n');
            out.required += false;
            out.emptyText += QLatin1Char(' ');
            break;
        default: {
            const QChar literal = c == QLatin1Char('/') ? QLatin1Char('.') : c;
            if (isQtMaskMeta(literal))
                out.qtMask += QLatin1Char('\\');
            out.qtMask += literal;
            out.required += false;
            out.emptyText += literal;
        }
        }
    }
    out.qtMask += QStringLiteral("; ");
    return out;
}

} // namespace

MaskedEdit::MaskedEdit(const QString& classicMask, Messages& messages, QWidget* parent)
    : QLineEdit(parent)
    , m_messages(messages)
{
    const TranslatedMask translated = translate(classicMask);
    m_required = translated.required;
    m_emptyText = translated.emptyText;
    setInputMask(translated.qtMask);
    m_lastText = maskedText();
    m_textOnEntry = m_lastText;
    connect(this, &QLineEdit::textChanged, this, &MaskedEdit::noteTextChange);
}

QString MaskedEdit::maskedText() const
{
    return displayText();
}

void MaskedEdit::setMaskedText(const QString& text)
{
    setText(text);
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
    if (!m_refusing && event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        m_textOnEntry = maskedText();
    QLineEdit::focusInEvent(event);
}

void MaskedEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    const bool leavingForGood = event->reason() != Qt::PopupFocusReason
                                && event->reason() != Qt::ActiveWindowFocusReason;
    if (leavingForGood && !m_refusing && isEnabled() && isVisible())
        acceptOrRefuse();
}

void MaskedEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Escape) {
            setMaskedText(m_textOnEntry);
            selectAll();
            return;
        }
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            if (acceptOrRefuse())
                m_textOnEntry = maskedText();
            QLineEdit::keyPressEvent(event);
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace osago
