#pragma once

#include "storage/Utf8Rows.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace osago {

// A table written row by row into one file: the header row first, then the data rows.
class TableFileWriter
{
public:
    virtual ~TableFileWriter() = default;

    // Each returns false on failure, with the reason in error().
    virtual bool open(const QString& path, const QStringList& header) = 0;
    virtual bool writeRow(const Utf8Row& row) = 0;
    // Completes the file; until then it is not a readable table.
    virtual bool finish() = 0;
    const QString& error() const { return m_error; }

protected:
    bool fail(QString reason)
    {
        m_error = std::move(reason);
        return false;
    }

private:
    QString m_error;
};

enum class TableFormat { Csv, Xlsx };

// The format the file name's extension names (".csv", ".xlsx", any letter case), or none.
std::optional<TableFormat> tableFormatOf(const QString& path);
std::unique_ptr<TableFileWriter> makeTableFileWriter(TableFormat format);

} // namespace osago
