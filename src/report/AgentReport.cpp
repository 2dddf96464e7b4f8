#include "AgentReport.h"

#include "PolicyColumns.h"
#include "PolicyDatabase.h"
#include "RegisterRowStream.h"
#include "tariff/Conversions.h"

#include <algorithm>
#include <map>

namespace osago {

namespace {

struct Columns
{
    int issued = policyColumnIndex(u"Дата_выдачи");
    int policy = policyColumnIndex(u"Номер_серия_полиса");
    int surname = policyColumnIndex(u"Страхователь_фамилия_фирма");
    int name = policyColumnIndex(u"Страхователь_имя");
    int patronymic = policyColumnIndex(u"Страхователь_отчество");
    int vehicle = policyColumnIndex(u"Марка_модель");
    int plate = policyColumnIndex(u"Регистрационный_знак");
    int vehicleType = policyColumnIndex(u"Тип_ТС");
    int premium = policyColumnIndex(u"Сумма_страхования");
};

const QString kSumOutOfRange = QStringLiteral("Отчёт не составлен: сумма премий выходит за пределы чисел программы.");

QString holderOf(const QStringList& row, const Columns& columns)
{
    QStringList parts;
    for (int column : {columns.surname, columns.name, columns.patronymic}) {
        if (!row[column].trimmed().isEmpty())
            parts << row[column].trimmed();
    }
    return parts.join(QLatin1Char(' '));
}

} // namespace

StorageResult<AgentReport> makeAgentReport(const PolicyDatabase& database, const IssuePeriod& period,
                                           const QString& agent, const QString& insurer)
{
    static const Columns columns;
    AgentReport report{agent, insurer, period, {}, {}, {}, {}};
    RegisterRowStream rows(database, std::nullopt);
    StorageStatus read = rows.start();
    std::vector<QStringList> block;
    while (read.ok && (read = rows.next(block)).ok && !block.empty()) {
        for (const QStringList& row : block) {
            const std::optional<QDate> issued = registerDate(row[columns.issued]);
            if (!issued) {
                report.unreadable.push_back({row[columns.policy],
                                             QStringLiteral("дата выдачи «%1» не читается").arg(row[columns.issued])});
                continue;
            }
            if (!period.contains(*issued))
                continue;
            const auto premium = parseDecimal(row[columns.premium].toStdString());
            if (!premium) {
                report.unreadable.push_back({row[columns.policy],
                                             QStringLiteral("премия «%1» не читается").arg(row[columns.premium])});
                continue;
            }
            report.policies.push_back({*issued, row[columns.policy], holderOf(row, columns), row[columns.vehicle],
                                       row[columns.plate], row[columns.vehicleType].trimmed(), *premium});
        }
    }
    if (!read.ok)
        return StorageResult<AgentReport>::failure(read);

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
