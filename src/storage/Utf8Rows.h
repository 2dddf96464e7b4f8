#pragma once

#include <QByteArrayView>
#include <QStringList>

#include <cstddef>
#include <vector>

namespace osago {

// One row of Utf8Rows: its values as UTF-8, each followed by a NUL byte (for C interfaces that take one). A
// value may be SQL's NULL, which reads as an empty text and says so in isNull().
class Utf8Row
{
public:
    Utf8Row(const char* bytes, const qsizetype* ends, const char* nulls, qsizetype first, qsizetype count)
        : m_bytes(bytes)
        , m_ends(ends)
        , m_nulls(nulls)
        , m_first(first)
        , m_count(count)
    {
    }

    qsizetype size() const { return m_count; }
    // The value's start, NUL-terminated.
    const char* text(qsizetype column) const { return m_bytes + start(column); }
    QByteArrayView operator[](qsizetype column) const
    {
        return {m_bytes + start(column), m_ends[m_first + column] - 1 - start(column)};
    }
    bool isNull(qsizetype column) const { return m_nulls[m_first + column] != 0; }

private:
    qsizetype start(qsizetype column) const { return m_first + column == 0 ? 0 : m_ends[m_first + column - 1]; }

    const char* m_bytes;
    const qsizetype* m_ends;
    const char* m_nulls;
    qsizetype m_first;
    qsizetype m_count;
};

// A block of rows of texts in UTF-8, kept one after another in one buffer whose memory is reused from block to
// block: copying rows out this way makes no string of each value.
class Utf8Rows
{
public:
    // Empties the block, keeping its memory.
    void clear()
    {
        m_bytes.clear();
        m_ends.clear();
        m_nulls.clear();
        m_rowFirsts.assign(1, 0);
    }
    // Adds a value to the row being filled.
    void append(const char* text, qsizetype size)
    {
        m_bytes.insert(m_bytes.end(), text, text + size);
        endValue(false);
    }
    void appendNull() { endValue(true); }
    // Ends the row being filled.
    void endRow() { m_rowFirsts.push_back(qsizetype(m_ends.size())); }
    // Adds a whole row of texts.
    void appendRow(const QStringList& values)
    {
        for (const QString& value : values) {
            const QByteArray text = value.toUtf8();
            append(text.constData(), text.size());
        }
        endRow();
    }

    std::size_t size() const { return m_rowFirsts.size() - 1; }
    bool empty() const { return size() == 0; }
    Utf8Row row(std::size_t index) const
    {
        return {m_bytes.data(), m_ends.data(), m_nulls.data(), m_rowFirsts[index],
                m_rowFirsts[index + 1] - m_rowFirsts[index]};
    }

private:
    void endValue(bool null)
    {
        m_bytes.push_back('\0');
        m_ends.push_back(qsizetype(m_bytes.size()));
        m_nulls.push_back(null ? 1 : 0);
    }

    std::vector<char> m_bytes;
    std::vector<qsizetype> m_ends;            // the end of each value, past its NUL
    std::vector<char> m_nulls;                // whether each value is NULL
    std::vector<qsizetype> m_rowFirsts{0};    // each row's first value, and one past the last row
};

} // namespace osago
