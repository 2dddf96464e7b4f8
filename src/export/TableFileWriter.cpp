#include "export/TableFileWriter.h"

#include "export/CsvWriter.h"
#include "export/XlsxWriter.h"

namespace osago {

std::optional<TableFormat> tableFormatOf(const QString& path)
{
    if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        return TableFormat::Csv;
    if (path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        return TableFormat::Xlsx;
    return std::nullopt;
}

std::unique_ptr<TableFileWriter> makeTableFileWriter(TableFormat format)
{
    if (format == TableFormat::Xlsx)
        return std::make_unique<XlsxWriter>();
    return std::make_unique<CsvWriter>();
}

} // namespace osago
