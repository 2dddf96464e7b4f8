#pragma once

#include "export/TableFileWriter.h"

#include <string>

struct lxw_format;
struct lxw_workbook;
struct lxw_worksheet;

namespace osago {

// A workbook of text cells written in constant-memory mode, one row at a time, each text read back as it is: a bold, frozen header row and
// readable column widths on every sheet. A sheet holds at most kSheetDataRows data rows; the rows go on in the
// next sheet ("Реестр 2", ...), each with the header again.
class XlsxWriter final : public TableFileWriter
{
public:
    // A sheet's 1,048,576 rows, less the header.
    static constexpr int kSheetDataRows = 1048575;

    explicit XlsxWriter(int sheetDataRows = kSheetDataRows);
    ~XlsxWriter() override;

    bool open(const QString& path, const QStringList& header) override;
    bool writeRow(const Utf8Row& row) override;
    bool finish() override;

private:
    bool addSheet();
    bool writeCell(int sheetRow, int column, const char* text, lxw_format* format);

    int m_sheetDataRows;
    lxw_workbook* m_workbook = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    lxw_format* m_bold = nullptr;
    QStringList m_header;
    int m_sheets = 0;
    int m_rowsInSheet = 0;
    long long m_rowsWritten = 0;
    std::string m_escaped;
};

} // namespace osago
