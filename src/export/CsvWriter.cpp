#include "CsvWriter.h"

namespace osago {

namespace {

constexpr qsizetype kBufferBytes = 1 << 20;

bool needsQuotes(const QString& field)
{
    for (const QChar c : field) {
        if (c == u';' || c == u'"' || c == u'\r' || c == u'\n')
            return true;
    }
    return false;
}

void appendField(QByteArray& line, const QString& field)
{
    if (!needsQuotes(field)) {
        line += field.toUtf8();
        return;
    }
    QString quoted = field;
    quoted.replace(u'"', QStringLiteral("\"\""));
    line += '"';
    line += quoted.toUtf8();
    line += '"';
}

} // namespace

QByteArray csvLine(const QStringList& fields)
{
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ';';
        appendField(line, fields[i]);
    }
    line += "\r\n";
    return line;
}

bool CsvWriter::open(const QString& path, const QStringList& header)
{
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(m_file.errorString());
    m_buffer = "\xEF\xBB\xBF" + csvLine(header);
    return true;
}

bool CsvWriter::writeRow(const QStringList& row)
{
    m_buffer += csvLine(row);
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
    m_buffer.clear();
    return true;
}

} // namespace osago
