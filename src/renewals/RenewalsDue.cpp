#include "renewals/RenewalsDue.h"

#include "storage/PolicyColumns.h"
#include "storage/PolicyDatabase.h"

#include <QHash>

#include <algorithm>
#include <array>

namespace osago {

namespace {

// The columns read, named by their places in a row read.
enum Place { kEnds, kStarts, kVin, kPlate, kPolicy, kSurname, kName, kPatronymic, kTelephone, kVehicle, kPremium, kPlaces };

const std::array<int, kPlaces>& readColumns()
{
    static const std::array<int, kPlaces> columns{
        policyColumnIndex(u"Страх_по"),
        policyColumnIndex(u"Страх_с"),
        policyColumnIndex(u"VIN"),
        policyColumnIndex(u"Регистрационный_знак"),
        policyColumnIndex(u"Номер_серия_полиса"),
        policyColumnIndex(u"Страхователь_фамилия_фирма"),
        policyColumnIndex(u"Страхователь_имя"),
        policyColumnIndex(u"Страхователь_отчество"),
        policyColumnIndex(u"Страхователь_телефон"),
        policyColumnIndex(u"Марка_модель"),
        policyColumnIndex(u"Сумма_страхования"),
    };
    return columns;
}

constexpr int kComingDays = 30;

bool isBlank(const QString& text)
{
    return text.trimmed().isEmpty();
}

// The latest start of insurance among the records holding each of `values` in `column`.
StorageResult<QHash<QString, QDate>> latestStarts(const PolicyDatabase& database, int column, const QStringList& values)
{
    using Result = StorageResult<QHash<QString, QDate>>;
    QHash<QString, QDate> latest;
    if (values.isEmpty())
        return Result::success(latest);
    std::vector<QStringList> starts;
    const StorageStatus read = database.readStartsOf(column, values, starts);
    if (!read.ok)
        return Result::failure(read);
    for (const QStringList& start : starts) {
        const std::optional<QDate> day = registerDate(start[1]);
        QDate& kept = latest[start[0]];
        if (day && (!kept.isValid() || *day > kept))
            kept = *day;
    }
    return Result::success(latest);
}

} // namespace

StorageResult<RenewalsFound> readRenewalsDue(const PolicyDatabase& database, const IssuePeriod& period)
{
    using Result = StorageResult<RenewalsFound>;
    std::vector<qint64> ids;
    std::vector<QStringList> rows;
    const StorageStatus read = database.readEndingIn(period, readColumns(), ids, rows);
    if (!read.ok)
        return Result::failure(read);

    struct Candidate
    {
        std::size_t row;
        QDate ends;
    };
    std::vector<Candidate> ending;
    QStringList vins;
    QStringList plates;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::optional<QDate> ends = registerDate(rows[i][kEnds]);
        if (!ends || !period.contains(*ends))
            continue;
        ending.push_back({i, *ends});
        if (!isBlank(rows[i][kVin]))
            vins << rows[i][kVin];
        else if (!isBlank(rows[i][kPlate]))
            plates << rows[i][kPlate];
    }
    vins.removeDuplicates();
    plates.removeDuplicates();
    const auto byVin = latestStarts(database, readColumns()[kVin], vins);
    if (!byVin.ok)
        return Result::failure(byVin);
    const auto byPlate = latestStarts(database, readColumns()[kPlate], plates);
    if (!byPlate.ok)
        return Result::failure(byPlate);

    RenewalsFound found;
    std::vector<RenewalDue>& due = found.due;
    for (const Candidate& candidate : ending) {
        const QStringList& row = rows[candidate.row];
        const std::optional<QDate> starts = registerDate(row[kStarts]);
        const bool byItsVin = !isBlank(row[kVin]);
        const QString& vehicleKey = byItsVin ? row[kVin] : row[kPlate];
        const QDate latest = (byItsVin ? byVin.value : byPlate.value).value(vehicleKey);
        if (starts && !isBlank(vehicleKey) && latest.isValid() && latest > *starts) {
            ++found.renewed;
            continue;
        }
        QStringList names{row[kSurname].trimmed(), row[kName].trimmed(), row[kPatronymic].trimmed()};
        names.removeAll(QString());
        due.push_back({RowKey(ids[candidate.row]), row[kPolicy], names.join(u' '), row[kTelephone], row[kVehicle],
                       row[kPlate], candidate.ends, row[kPremium]});
    }
    std::stable_sort(due.begin(), due.end(), [](const RenewalDue& a, const RenewalDue& b) { return a.ends < b.ends; });
    return Result::success(std::move(found));
}

IssuePeriod comingMonth(QDate today)
{
    return {today, today.addDays(kComingDays)};
}

} // namespace osago
