#pragma once

#include "storage/IssuePeriod.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <functional>
#include <optional>

namespace osago {

class RegisterRowStream;
class TableFileWriter;

struct ExportOutcome
{
    enum class Kind { Written, Cancelled, Failed };
    Kind kind = Kind::Written;
    long long rowsWritten = 0;
    // Rows left out of a period because their issue date is not a readable date.
    long long undatedRows = 0;
    // Why the export failed, for the agent.
    QString error;
};

// Told the rows read so far and of how many after each block; false stops the export.
using ExportProgress = std::function<bool(std::size_t done, std::size_t total)>;

// Which rows an export writes: with a period only those issued in it, with an agent only that agent's
// (ФИО_агента exactly as written).
struct ExportChoice
{
    std::optional<IssuePeriod> period;
    std::optional<QString> agent;
};

// Writes the 123 columns of the rows of `rows` (started here) that `choice` takes, under a header row of the
// column names, into `target` as CSV or XLSX by its extension. The file is written under a temporary name beside
// `target` and renamed at the end, so a cancelled or failed export leaves no partial file and whatever `target`
// was before untouched.
ExportOutcome exportRegister(RegisterRowStream& rows, const ExportChoice& choice, const QString& target,
                             const ExportProgress& progress = {});

// Writes the table file `target`, CSV or XLSX by its extension: `write` fills the writer, opened under `header`
// on a temporary file beside `target`, which takes the place of `target` once the table is written whole.
ExportOutcome writeTableFile(const QString& target, const QStringList& header,
                             const std::function<ExportOutcome(TableFileWriter& writer)>& write);

// The kinds of file the export window offers: the workbook first, since a spreadsheet keeps its texts as they are,
// then CSV for other programs, with what a spreadsheet does to one.
inline const QString kXlsxFilter = QStringLiteral("Книга Excel (*.xlsx)");
inline const QString kCsvFilter = QStringLiteral("Таблица CSV для других программ (*.csv)");
inline const QString kCsvNote =
    QStringLiteral("Электронная таблица, открывая CSV, превращает даты, номера с нулями в начале и длинные числа "
                   "в свои даты и числа. Книга Excel (XLSX) сохраняет все значения такими, как они записаны.");

// "Записано строк: N." with a word on the rows a period left out for want of a readable issue date.
QString exportSummary(const ExportOutcome& outcome);

} // namespace osago
