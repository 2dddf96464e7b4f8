// What the XLSX library itself takes for a sheet of text cells in its constant-memory mode, with nothing read
// from a register: the floor under the program's XLSX export (see BENCHMARKS.md, "Export, report and backups").
//
//   bench_xlsx_library ROWS COLUMNS TEXT OUTPUT.xlsx
//
// Prints the time to write the cells and the time the workbook takes to close (where it deflates the sheet).

#include <xlsxwriter.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: bench_xlsx_library ROWS COLUMNS TEXT OUTPUT.xlsx\n");
        return 2;
    }
    const long rows = std::atol(argv[1]);
    const int columns = std::atoi(argv[2]);
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.use_zip64 = LXW_TRUE;
    lxw_workbook* workbook = workbook_new_opt(argv[4], &options);
    lxw_worksheet* sheet = workbook ? workbook_add_worksheet(workbook, nullptr) : nullptr;
    if (!sheet) {
        std::fprintf(stderr, "cannot create %s\n", argv[4]);
        return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    for (long row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column)
            worksheet_write_string(sheet, lxw_row_t(row), lxw_col_t(column), argv[3], nullptr);
    }
    const double written = secondsSince(start);
    const lxw_error closed = workbook_close(workbook);
    std::printf("%ld cells: written in %.1f s, closed in %.1f s, %.1f s in all\n", rows * columns, written,
                secondsSince(start) - written, secondsSince(start));
    return closed == LXW_NO_ERROR ? 0 : 1;
}
