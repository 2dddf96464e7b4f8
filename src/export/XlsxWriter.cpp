#include "export/XlsxWriter.h"

#include "export/XlsxText.h"

#include <xlsxwriter.h>

#include <algorithm>

namespace osago {

namespace {

constexpr double kNarrowestColumn = 8;
constexpr double kWidestColumn = 40;

QString libraryError(lxw_error error)
{
    return QString::fromUtf8(lxw_strerror(error));
}

} // namespace

XlsxWriter::XlsxWriter(int sheetDataRows)
    : m_sheetDataRows(sheetDataRows)
{
}

XlsxWriter::~XlsxWriter()
{
    // An unfinished workbook is closed only to free it; the caller throws its file away.
    if (m_workbook)
        workbook_close(m_workbook);
}

bool XlsxWriter::open(const QString& path, const QStringList& header)
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.use_zip64 = LXW_TRUE;
    m_workbook = workbook_new_opt(path.toUtf8().constData(), &options);
    if (!m_workbook)
        return fail(QStringLiteral("не удалось создать книгу"));
    m_bold = workbook_add_format(m_workbook);
    format_set_bold(m_bold);
    m_header = header;
    return addSheet();
}

bool XlsxWriter::addSheet()
{
    ++m_sheets;
    const QString name = m_sheets == 1 ? QStringLiteral("Реестр") : QStringLiteral("Реестр %1").arg(m_sheets);
    m_sheet = workbook_add_worksheet(m_workbook, name.toUtf8().constData());
    if (!m_sheet)
        return fail(QStringLiteral("не удалось добавить лист «%1»").arg(name));
    for (int column = 0; column < m_header.size(); ++column) {
        const double width = std::clamp(double(m_header[column].size()) + 2, kNarrowestColumn, kWidestColumn);
        worksheet_set_column(m_sheet, lxw_col_t(column), lxw_col_t(column), width, nullptr);
    }
    worksheet_freeze_panes(m_sheet, 1, 0);
    m_rowsInSheet = 0;
    for (int column = 0; column < m_header.size(); ++column) {
        if (!writeCell(0, column, m_header[column].toUtf8().constData(), m_bold))
            return false;
    }
    return true;
}

bool XlsxWriter::writeRow(const Utf8Row& row)
{
    if (m_rowsInSheet == m_sheetDataRows && !addSheet())
        return false;
    ++m_rowsInSheet;
    ++m_rowsWritten;
    for (int column = 0; column < row.size(); ++column) {
        if (!row[column].isEmpty() && !writeCell(m_rowsInSheet, column, row.text(column), nullptr))
            return false;
    }
    return true;
}

bool XlsxWriter::writeCell(int sheetRow, int column, const char* text, lxw_format* format)
{
    // The library escapes control characters itself, but not a text's own "_xHHHH_"; texts escaped here hold no
    // control characters, so it leaves them as they are.
    const lxw_error error = worksheet_write_string(m_sheet, lxw_row_t(sheetRow), lxw_col_t(column),
                                                   escapedXlsxText(text, m_escaped), format);
    if (error == LXW_NO_ERROR)
        return true;
    return fail(QStringLiteral("строка %1, столбец «%2»: %3")
                    .arg(m_rowsWritten)
                    .arg(m_header.value(column), libraryError(error)));
}

bool XlsxWriter::finish()
{
    const lxw_error error = workbook_close(m_workbook);
    m_workbook = nullptr;
    return error == LXW_NO_ERROR || fail(libraryError(error));
}

} // namespace osago
