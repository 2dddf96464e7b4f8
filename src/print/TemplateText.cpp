#include "TemplateText.h"

namespace osago {

namespace {

const QString kOpen = QStringLiteral("{{");
const QString kClose = QStringLiteral("}}");

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

} // namespace

QString fillTemplate(QStringView text, const FieldLookup& lookup, TemplateEscaping escaping)
{
    QString out;
    out.reserve(text.size());
    qsizetype pos = 0;
    while (const std::optional<Tag> tag = nextTag(text, pos)) {
        out += text.mid(pos, tag->begin - pos);
        pos = tag->end;
        if (tag->sigil.isNull()) {
            const QString value = lookup(tag->name).value_or(QString());
            out += escaping == TemplateEscaping::Html ? value.toHtmlEscaped() : value;
        } else if (tag->sigil == u'?') {
            out += holdsYes(lookup, tag->name) ? kCheckedBox : kUncheckedBox;
        } else if (tag->sigil == u'#' || tag->sigil == u'^') {
            const Section section = sectionAfter(text, *tag);
            if (holdsYes(lookup, tag->name) == (tag->sigil == u'#'))
                out += fillTemplate(section.body, lookup, escaping);
            pos = section.end;
        }
        // A stray closing tag fills in as nothing.
    }
    out += text.mid(pos);
    return out;
}

QStringList templateProblems(QStringView text, const FieldLookup& lookup)
{
    QStringList problems;
    qsizetype pos = 0;
    while (const std::optional<Tag> tag = nextTag(text, pos)) {
        pos = tag->end;
        const QString name = tag->name.toString();
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
