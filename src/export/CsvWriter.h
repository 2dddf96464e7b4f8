#pragma once

#include "export/TableFileWriter.h"

#include <QByteArray>
#include <QFile>

namespace osago {

// One CSV line as Russian spreadsheets read it without asking: fields separated by ";", each in quotes with its
// quotes doubled, the line ended by CRLF; UTF-8.
QByteArray csvLine(const QStringList& fields);

// A CSV file of such lines, beginning with UTF-8's byte order mark.
class CsvWriter final : public TableFileWriter
{
public:
    bool open(const QString& path, const QStringList& header) override;
    bool writeRow(const Utf8Row& row) override;
    bool finish() override;

private:
    bool flush();

    QFile m_file;
    QByteArray m_buffer;
};

} // namespace osago
