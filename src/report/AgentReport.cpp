#include "report/AgentReport.h"

#include "storage/PolicyColumns.h"
#include "storage/PolicyDatabase.h"
#include "tariff/Conversions.h"

#include <algorithm>
#include <array>
#include <map>

namespace osago {

namespace {

// The columns the report reads, named by their places in a row read.
enum Place { kIssued, kPolicy, kSurname, kName, kPatronymic, kVehicle, kPlate, kVehicleType, kPremium, kPlaces };

const std::array<int, kPlaces>& readColumns()
{
    static const std::array<int, kPlaces> columns{
        policyColumnIndex(u"Дата_выдачи"),
        policyColumnIndex(u"Номер_серия_полиса"),
        policyColumnIndex(u"Страхователь_фамилия_фирма"),
        policyColumnIndex(u"Страхователь_имя"),
        policyColumnIndex(u"Страхователь_отчество"),
        policyColumnIndex(u"Марка_модель"),
        policyColumnIndex(u"Регистрационный_знак"),
        policyColumnIndex(u"Тип_ТС"),
        policyColumnIndex(u"Сумма_страхования"),
    };
    return columns;
}

const QString kSumOutOfRange = QStringLiteral("Отчёт не составлен: сумма премий выходит за пределы чисел программы.");

QString holderOf(const QStringList& row)
{
    QStringList parts;
    for (int place : {kSurname, kName, kPatronymic}) {
        if (!row[place].trimmed().isEmpty())
            parts << row[place].trimmed();
    }
    return parts.join(QLatin1Char(' '));
}

} // namespace

StorageResult<AgentReport> makeAgentReport(const PolicyDatabase& database, const IssuePeriod& period,
                                           const QString& agent, const QString& insurer)
{
    AgentReport report{agent, insurer, period, {}, {}, {}, {}};
    std::vector<QStringList> rows;
    const StorageStatus read = database.readIssuedIn(period, readColumns(), rows);
    if (!read.ok)
        return StorageResult<AgentReport>::failure(read);
    for (const QStringList& row : rows) {
        const std::optional<QDate> issued = registerDate(row[kIssued]);
        if (!issued) {
            report.unreadable.push_back({row[kPolicy], QStringLiteral("дата выдачи «%1» не читается").arg(row[kIssued])});
            continue;
        }
        if (!period.contains(*issued))
            continue;
        const auto premium = parseDecimal(row[kPremium].toStdString());
        if (!premium) {
            report.unreadable.push_back({row[kPolicy], QStringLiteral("премия «%1» не читается").arg(row[kPremium])});
            continue;
        }
        report.policies.push_back({*issued, row[kPolicy], holderOf(row), row[kVehicle], row[kPlate],
                                   row[kVehicleType].trimmed(), *premium});
    }

    std::stable_sort(report.policies.begin(), report.policies.end(),
                     [](const AgentReport::Policy& a, const AgentReport::Policy& b) { return a.issued < b.issued; });
    std::map<QString, AgentReport::TypeTotal> byType;
    for (const AgentReport::Policy& policy : report.policies) {
        AgentReport::TypeTotal& type = byType[policy.vehicleType];
        type.vehicleType = policy.vehicleType;
        ++type.count;
        const std::optional<Fixed4> typeSum = type.premiums.plus(policy.premium);
        const std::optional<Fixed4> total = report.total.plus(policy.premium);
        if (!typeSum || !total)
            return StorageResult<AgentReport>::failure(StorageStatus::failure(kSumOutOfRange));
        type.premiums = *typeSum;
        report.total = *total;
    }
    for (auto& [name, type] : byType)
        report.byVehicleType.push_back(type);
    return StorageResult<AgentReport>::success(std::move(report));
}

QString premiumText(Fixed4 sum)
{
    return QString::fromStdString(sum.format());
}

QString groupedMoneyText(Fixed4 sum)
{
    // Kopecks rounded half to even, as the premium itself rounds.
    const std::int64_t count = sum.tenThousandths();
    std::int64_t kopecks = count / 100;
    const std::int64_t rest = count % 100 < 0 ? -(count % 100) : count % 100;
    if (rest > 50 || (rest == 50 && kopecks % 2 != 0))
        kopecks += count < 0 ? -1 : 1;
    const std::uint64_t magnitude = kopecks < 0 ? 0 - std::uint64_t(kopecks) : std::uint64_t(kopecks);
    QString whole = QString::number(magnitude / 100);
    for (qsizetype at = whole.size() - 3; at > 0; at -= 3)
        whole.insert(at, QChar(0x00A0));
    return QStringLiteral("%1%2,%3")
        .arg(kopecks < 0 ? QStringLiteral("-") : QString(), whole)
        .arg(int(magnitude % 100), 2, 10, QLatin1Char('0'));
}

} // namespace osago
