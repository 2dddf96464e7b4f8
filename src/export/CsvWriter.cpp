#include "export/CsvWriter.h"

namespace osago {

namespace {

constexpr qsizetype kBufferBytes = 1 << 20;

// Every field in quotes, its quotes doubled: a spreadsheet's import that also splits at commas or tabs then
// still finds the columns. The bytes are UTF-8, whose multi-byte characters never hold a quote.
void appendField(QByteArray& line, QByteArrayView field)
{
    line += '"';
    for (const char c : field) {
        if (c == '"')
            line += '"';
        line += c;
    }
    line += '"';
}

template <typename Fields>
void appendLine(QByteArray& line, const Fields& fields, qsizetype count)
{
    for (qsizetype i = 0; i < count; ++i) {
        if (i > 0)
            line += ';';
        appendField(line, fields(i));
    }
    line += "\r\n";
}

} // namespace

QByteArray csvLine(const QStringList& fields)
{
    QByteArray line;
    appendLine(line, [&](qsizetype i) { return fields[i].toUtf8(); }, fields.size());
    return line;
}

bool CsvWriter::open(const QString& path, const QStringList& header)
{
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(m_file.errorString());
    m_buffer = "\xEF\xBB\xBF" + csvLine(header);
    m_buffer.reserve(kBufferBytes + (kBufferBytes >> 2));
    return true;
}

bool CsvWriter::writeRow(const Utf8Row& row)
{
    appendLine(m_buffer, [&](qsizetype i) { return row[i]; }, row.size());
    return m_buffer.size() < kBufferBytes || flush();
}

bool CsvWriter::finish()
{
    if (!flush())
        return false;
    if (!m_file.flush())
        return fail(m_file.errorString());
    m_file.close();
    return true;
}

bool CsvWriter::flush()
{
    if (m_file.write(m_buffer) != m_buffer.size())
        return fail(m_file.errorString());
    m_buffer.resize(0);
    return true;
}

} // namespace osago
