#include "print/TemplateText.h"

#include <vector>

namespace osago {

namespace {

const QString kOpen = QStringLiteral("{{");
const QString kClose = QStringLiteral("}}");
const QString kPartOpening = QStringLiteral("[");
const QString kPartEnd = QStringLiteral("{{]}}");

struct Tag
{
    qsizetype begin = 0; // at "{{"
    qsizetype end = 0;   // just past "}}"
    QChar sigil;         // '#', '^', '/', '?' or none
    QStringView name;
};

bool isSigil(QChar c)
{
    return c == u'#' || c == u'^' || c == u'/' || c == u'?';
}

// The first tag at or after `from`; an opening "{{" without its "}}" is plain text.
std::optional<Tag> nextTag(QStringView text, qsizetype from)
{
    const qsizetype begin = text.indexOf(kOpen, from);
    if (begin < 0)
        return std::nullopt;
    const qsizetype close = text.indexOf(kClose, begin + kOpen.size());
    if (close < 0)
        return std::nullopt;
    Tag tag;
    tag.begin = begin;
    tag.end = close + kClose.size();
    QStringView inner = text.mid(begin + kOpen.size(), close - begin - kOpen.size());
    if (!inner.isEmpty() && isSigil(inner.front())) {
        tag.sigil = inner.front();
        inner = inner.mid(1);
    }
    tag.name = inner;
    return tag;
}

struct Section
{
    QStringView body;
    qsizetype end = 0; // just past the closing tag, or the end of the text
    bool closed = false;
};

Section sectionAfter(QStringView text, const Tag& opening)
{
    const QString closing = kOpen + u'/' + opening.name.toString() + kClose;
    const qsizetype at = text.indexOf(closing, opening.end);
    if (at < 0)
        return {text.mid(opening.end), text.size(), false};
    return {text.mid(opening.end, at - opening.end), at + closing.size(), true};
}

bool holdsYes(const FieldLookup& lookup, QStringView name)
{
    return lookup(name).value_or(QString()) == u"Да";
}

// A masked field left unfilled holds only its literals among blanks: on paper it is as empty as a blank field.
bool isBlankValue(QStringView value)
{
    for (const QChar c : value) {
        if (c != u' ' && c != u'.' && c != u'№')
            return false;
    }
    return true;
}

// Text between two parts that is only blanks and commas or semicolons joins them.
bool isSeparator(QStringView text)
{
    for (const QChar c : text) {
        if (c != u' ' && c != u',' && c != u';' && c != u'\n')
            return false;
    }
    return !text.isEmpty();
}

struct Piece
{
    enum class Kind { Text, Part, EmptyPart };
    Kind kind;
    QString text;
};

struct Filled
{
    QString text;
    bool hasFields = false; // a value or check box field was met
    bool hasValues = false; // one of them printed something
};

// Empty parts go, and with them the separators that would stand beside nothing: a separator prints only between
// two printed parts, the one nearest the later part.
QString joinPieces(const std::vector<Piece>& pieces)
{
    QString out;
    std::optional<QString> separator;
    bool partBefore = false;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const Piece& piece = pieces[i];
        const bool betweenParts = i > 0 && i + 1 < pieces.size() && pieces[i - 1].kind != Piece::Kind::Text
                                  && pieces[i + 1].kind != Piece::Kind::Text;
        switch (piece.kind) {
        case Piece::Kind::Part:
            if (partBefore && separator)
                out += *separator;
            out += piece.text;
            partBefore = true;
            separator.reset();
            break;
        case Piece::Kind::EmptyPart:
            break;
        case Piece::Kind::Text:
            if (betweenParts && isSeparator(piece.text)) {
                separator = piece.text;
                break;
            }
            out += piece.text;
            partBefore = false;
            separator.reset();
        }
    }
    return out;
}

Filled fill(QStringView text, const FieldLookup& lookup, TemplateEscaping escaping)
{
    Filled filled;
    std::vector<Piece> pieces;
    const auto addText = [&pieces](QStringView part) {
        if (!part.isEmpty())
            pieces.push_back({Piece::Kind::Text, part.toString()});
    };
    qsizetype pos = 0;
    while (const std::optional<Tag> tag = nextTag(text, pos)) {
        addText(text.mid(pos, tag->begin - pos));
        pos = tag->end;
        if (tag->sigil.isNull() && tag->name == kPartOpening) {
            const qsizetype at = text.indexOf(kPartEnd, tag->end);
            const qsizetype end = at < 0 ? text.size() : at;
            const Filled part = fill(text.mid(tag->end, end - tag->end), lookup, escaping);
            const bool empty = part.hasFields && !part.hasValues;
            pieces.push_back({empty ? Piece::Kind::EmptyPart : Piece::Kind::Part, part.text});
            filled.hasFields |= part.hasFields;
            filled.hasValues |= part.hasValues;
            pos = at < 0 ? text.size() : at + kPartEnd.size();
        } else if (tag->sigil.isNull()) {
            const QString value = lookup(tag->name).value_or(QString());
            const bool blank = isBlankValue(value);
            filled.hasFields = true;
            filled.hasValues |= !blank;
            pieces.push_back({blank ? Piece::Kind::EmptyPart : Piece::Kind::Part,
                              escaping == TemplateEscaping::Html ? value.toHtmlEscaped() : value});
        } else if (tag->sigil == u'?') {
            filled.hasFields = filled.hasValues = true;
            addText(holdsYes(lookup, tag->name) ? kCheckedBox : kUncheckedBox);
        } else if (tag->sigil == u'#' || tag->sigil == u'^') {
            const Section section = sectionAfter(text, *tag);
            if (holdsYes(lookup, tag->name) == (tag->sigil == u'#')) {
                const Filled shown = fill(section.body, lookup, escaping);
                filled.hasFields |= shown.hasFields;
                filled.hasValues |= shown.hasValues;
                addText(shown.text);
            }
            pos = section.end;
        }
        // A stray closing tag fills in as nothing.
    }
    addText(text.mid(pos));
    filled.text = joinPieces(pieces);
    return filled;
}

} // namespace

QString fillTemplate(QStringView text, const FieldLookup& lookup, TemplateEscaping escaping)
{
    return fill(text, lookup, escaping).text;
}

QStringList templateProblems(QStringView text, const FieldLookup& lookup)
{
    QStringList problems;
    qsizetype pos = 0;
    while (const std::optional<Tag> tag = nextTag(text, pos)) {
        pos = tag->end;
        const QString name = tag->name.toString();
        if (tag->sigil.isNull() && name == kPartOpening) {
            const qsizetype at = text.indexOf(kPartEnd, tag->end);
            if (at < 0)
                problems << QStringLiteral("part never closed at %1").arg(tag->begin);
            const qsizetype end = at < 0 ? text.size() : at;
            problems << templateProblems(text.mid(tag->end, end - tag->end), lookup);
            pos = at < 0 ? text.size() : at + kPartEnd.size();
            continue;
        }
        if (tag->sigil.isNull() && name == u']') {
            problems << QStringLiteral("part end without a part at %1").arg(tag->begin);
            continue;
        }
        if (name.isEmpty()) {
            problems << QStringLiteral("empty tag at %1").arg(tag->begin);
            continue;
        }
        if (tag->sigil == u'/') {
            problems << QStringLiteral("closing without a section: %1").arg(name);
            continue;
        }
        if (!lookup(tag->name))
            problems << QStringLiteral("unknown field: %1").arg(name);
        if (tag->sigil == u'#' || tag->sigil == u'^') {
            const Section section = sectionAfter(text, *tag);
            if (!section.closed)
                problems << QStringLiteral("section never closed: %1").arg(name);
            problems << templateProblems(section.body, lookup);
            pos = section.end;
        }
    }
    return problems;
}

} // namespace osago
