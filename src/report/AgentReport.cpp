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

constexpr int kPremiumPlaces = 4;
constexpr int kKopeckPlaces = 2;

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
                                           const QString& agent, const QString& insurer,
                                           const std::optional<QString>& onlyAgent)
{
    AgentReport report{onlyAgent.value_or(agent), insurer, period, {}, {}, {}, {}, {}, {}, {}};
    const StorageResult<CommissionRates> rates = database.readCommissionRates();
    if (!rates.ok)
        return StorageResult<AgentReport>::failure(rates);
    std::vector<QStringList> rows;
    const StorageStatus read = onlyAgent ? database.readIssuedByAgent(period, *onlyAgent, readColumns(), rows)
                                         : database.readIssuedIn(period, readColumns(), rows);
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
        const auto premium = parseExactDecimal(row[kPremium].toStdString());
        if (!premium) {
            report.unreadable.push_back({row[kPolicy], QStringLiteral("премия «%1» не читается").arg(row[kPremium])});
            continue;
        }
        const std::optional<int> rate = rateInForce(rates.value, *issued);
        std::optional<Settlement> settlement;
        if (rate) {
            settlement = settle(*premium, *rate);
            if (!settlement)
                return StorageResult<AgentReport>::failure(StorageStatus::failure(kSumOutOfRange));
        }
        report.policies.push_back({*issued, row[kPolicy], holderOf(row), row[kVehicle], row[kPlate],
                                   row[kVehicleType].trimmed(), *premium, settlement});
    }

    std::stable_sort(report.policies.begin(), report.policies.end(),
                     [](const AgentReport::Policy& a, const AgentReport::Policy& b) { return a.issued < b.issued; });
    std::map<QString, AgentReport::TypeTotal> byType;
    for (const AgentReport::Policy& policy : report.policies) {
        AgentReport::TypeTotal& type = byType[policy.vehicleType];
        type.vehicleType = policy.vehicleType;
        ++type.count;
        const std::optional<ExactDecimal> typeSum = type.premiums.plus(policy.premium);
        const std::optional<ExactDecimal> total = report.total.plus(policy.premium);
        if (!typeSum || !total)
            return StorageResult<AgentReport>::failure(StorageStatus::failure(kSumOutOfRange));
        type.premiums = *typeSum;
        report.total = *total;
        if (!policy.settlement) {
            report.withoutRate.push_back(
                {policy.policy, QStringLiteral("нет ставки вознаграждения на %1").arg(registerDateText(policy.issued))});
            continue;
        }
        const std::optional<ExactDecimal> commissions = report.commissions.plus(policy.settlement->commission);
        const std::optional<ExactDecimal> transfers = report.transfers.plus(policy.settlement->transfer);
        if (!commissions || !transfers)
            return StorageResult<AgentReport>::failure(StorageStatus::failure(kSumOutOfRange));
        report.commissions = *commissions;
        report.transfers = *transfers;
    }
    for (auto& [name, type] : byType)
        report.byVehicleType.push_back(type);
    return StorageResult<AgentReport>::success(std::move(report));
}

QStringList settlementCells(const AgentReport::Policy& policy)
{
    if (!policy.settlement)
        return {QStringLiteral("нет ставки"), QString(), QString()};
    return {commissionRateText(policy.settlement->rate), kopeckText(policy.settlement->commission),
            kopeckText(policy.settlement->transfer)};
}

std::vector<MoneyTotal> moneyTotals(const AgentReport& report)
{
    return {{QStringLiteral("Вознаграждение агента"), kopeckText(report.commissions)},
            {QStringLiteral("К перечислению страховщику"), kopeckText(report.transfers)}};
}

QString premiumText(ExactDecimal sum)
{
    return QString::fromStdString(sum.roundedTo(kPremiumPlaces).format());
}

QString groupedMoneyText(ExactDecimal sum)
{
    return QString::fromStdString(sum.roundedTo(kKopeckPlaces).formatGrouped(kKopeckPlaces, "\u00A0"));
}

QString writtenPremiumText(ExactDecimal premium)
{
    return QString::fromStdString(premium.format());
}

QString premiumPlacesMark(ExactDecimal premium)
{
    if (premium.places() <= kPremiumPlaces)
        return {};
    return QStringLiteral("сумма записана с %1 знаками после запятой").arg(premium.places());
}

} // namespace osago
