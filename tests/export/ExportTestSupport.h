#pragma once

#include <QFile>

#include "storage/PolicyColumns.h"
#include "storage/PolicyRow.h"
#include "storage/sqlite/SqliteDatabase.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTest>

#include <initializer_list>
#include <optional>
#include <vector>

namespace osago::test {

// A row of texts a spreadsheet or a CSV reader could take apart: separators, quotes, line breaks, a leading "=",
// blanks around and inside, Cyrillic; issued on `issued`.
inline PolicyRow awkwardRow(int n, const QString& issued, const QString& premium = QStringLiteral("1497,7462"))
{
    static const QStringList kTexts = {
        QStringLiteral("Иванов; Пётр"), QStringLiteral("\"кавычки\" и \"\""), QStringLiteral("строка\r\nперенос\nещё"),
        QStringLiteral("=СУММ(A1:A9)"), QStringLiteral("  пробелы  "), QString(), QStringLiteral("\r"),
    };
    PolicyRow row;
    for (int column = 0; column < kPolicyColumnCount; ++column)
        row.setValue(column, kTexts[(column + n) % kTexts.size()] + QString::number(n));
    row.setValue(u"Дата_выдачи", issued);
    row.setValue(u"Сумма_страхования", premium);
    return row;
}

// Gives the rows at `places` (in row order) the policyholder "Общество «Ёлка»", in the register and in `rows`
// (their texts, by the same places), and gives the search that picks those rows only; none when a write fails.
inline std::optional<RowSelection> markForSearch(PolicyDatabase& database, std::vector<QStringList>& rows,
                                                 std::initializer_list<std::size_t> places)
{
    const int surname = policyColumnIndex(u"Страхователь_фамилия_фирма");
    std::vector<qint64> ids;
    if (!database.readAllIds(ids).ok)
        return std::nullopt;
    for (const std::size_t place : places) {
        const RowKey key(ids.at(place));
        PolicyRow row = *PolicyRow::fromValues(rows[place]);
        row.setValue(surname, QStringLiteral("Общество «Ёлка»"));
        if (!database.update(key, database.load(key).value, row).ok)
            return std::nullopt;
        rows[place] = row.values();
    }
    return RowSelection{surname, QStringLiteral("ЕЛК"), 0};
}

struct CsvReading
{
    std::vector<QStringList> rows;
    bool wellFormed = true;
    bool everyFieldQuoted = true;
};

// A strict RFC 4180 reader splitting at each of `separators`: quoted fields may hold anything, quotes doubled.
// A spreadsheet's import with several separators ticked reads a file so.
inline CsvReading readCsvSplitAt(const QString& text, QStringView separators)
{
    CsvReading reading;
    QStringList row;
    QString field;
    bool quoted = false;
    bool fieldWasQuoted = false;
    const auto endField = [&] {
        reading.everyFieldQuoted = reading.everyFieldQuoted && fieldWasQuoted;
        row << field;
        field.clear();
        fieldWasQuoted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c != u'"')
                field += c;
            else if (i + 1 < text.size() && text[i + 1] == u'"')
                field += text[++i];
            else
                quoted = false;
            continue;
        }
        if (c == u'"' && field.isEmpty() && !fieldWasQuoted) {
            quoted = fieldWasQuoted = true;
        } else if (separators.contains(c)) {
            endField();
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            ++i;
            endField();
            reading.rows.push_back(row);
            row.clear();
        } else if (c == u'"' || c == u'\r' || c == u'\n' || fieldWasQuoted) {
            reading.wellFormed = false;
        } else {
            field += c;
        }
    }
    if (quoted || !field.isEmpty() || !row.isEmpty())
        reading.wellFormed = false;
    return reading;
}

// The same with ";" between fields, as the program writes them.
inline std::vector<QStringList> readCsv(const QString& text, bool* wellFormed)
{
    CsvReading reading = readCsvSplitAt(text, u";");
    *wellFormed = reading.wellFormed;
    return std::move(reading.rows);
}

// The rows of the CSV file `path` as the program writes it (its byte order mark left out); none when it cannot
// be read.
inline std::vector<QStringList> readCsvFile(const QString& path, bool* wellFormed)
{
    QFile file(path);
    *wellFormed = false;
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return readCsv(QString::fromUtf8(file.readAll()).remove(QChar(0xFEFF)), wellFormed);
}

// One member of a zip file, through the unzip program.
inline QByteArray zipMember(const QString& zip, const QString& member)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, member});
    unzip.waitForFinished(60000);
    return unzip.exitCode() == 0 ? unzip.readAllStandardOutput() : QByteArray();
}

} // namespace osago::test
