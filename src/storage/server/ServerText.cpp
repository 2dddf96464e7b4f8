#include "storage/server/ServerText.h"

namespace osago::serverText {

namespace {

constexpr char32_t kHighestCodePoint = 0x10FFFF;
constexpr char32_t kFirstSurrogate = 0xD800;
constexpr char32_t kLastSurrogate = 0xDFFF;

// The length of the UTF-8 sequence starting at `at`, or 0 when none starts there: as RFC 3629 has it, so no
// overlong form, no surrogate and nothing past U+10FFFF, as PostgreSQL checks it.
qsizetype sequenceAt(QByteArrayView value, qsizetype at)
{
    const auto lead = uchar(value[at]);
    qsizetype length = 0;
    char32_t codePoint = 0;
    char32_t lowest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        codePoint = lead & 0x1F;
        lowest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        codePoint = lead & 0x0F;
        lowest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        codePoint = lead & 0x07;
        lowest = 0x10000;
    } else {
        return 0;
    }
    if (at + length > value.size())
        return 0;
    for (qsizetype i = 1; i < length; ++i) {
        const auto next = uchar(value[at + i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    const bool surrogate = codePoint >= kFirstSurrogate && codePoint <= kLastSurrogate;
    return codePoint < lowest || codePoint > kHighestCodePoint || surrogate ? 0 : length;
}

} // namespace

std::optional<QString> whyUnstorable(QByteArrayView value)
{
    for (qsizetype at = 0; at < value.size();) {
        const auto byte = uchar(value[at]);
        if (byte == 0)
            return QStringLiteral("в тексте байт NUL (на месте %1)").arg(at + 1);
        if (byte < 0x80) {
            ++at;
            continue;
        }
        const qsizetype length = sequenceAt(value, at);
        if (length == 0) {
            return QStringLiteral("текст не в кодировке UTF-8 (байт 0x%1 на месте %2)")
                .arg(QString::number(byte, 16).toUpper(), QString::number(at + 1));
        }
        at += length;
    }
    return std::nullopt;
}

} // namespace osago::serverText
