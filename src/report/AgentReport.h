#pragma once

#include "report/Commission.h"
#include "storage/IssuePeriod.h"
#include "storage/StorageStatus.h"
#include "tariff/ExactDecimal.h"

#include <QString>

#include <optional>
#include <vector>

namespace osago {

class PolicyDatabase;

// The agent's report to the insurer for a period: the policies issued in it and their premiums, summed exactly.
struct AgentReport
{
    struct Policy
    {
        QDate issued;
        QString policy;  // series and number
        QString holder;  // surname or firm, name, patronymic
        QString vehicle; // make and model
        QString plate;
        QString vehicleType;
        ExactDecimal premium; // as written, whatever its places
        std::optional<Settlement> settlement; // none where no rate is in force on its issue day
    };
    struct TypeTotal
    {
        QString vehicleType;
        int count = 0;
        ExactDecimal premiums;
    };
    // A row that cannot be placed in the period or summed: never counted as 0 or dropped without a word.
    struct Unreadable
    {
        QString policy;
        QString reason;
    };

    QString agent;
    QString insurer;
    IssuePeriod period;
    std::vector<Policy> policies; // by issue date, rows of one day in the order they were added
    std::vector<TypeTotal> byVehicleType; // by vehicle type's name
    std::vector<Unreadable> unreadable;
    // The listed policies with no rate in force on their issue day: in the premiums' sum, not in the money's.
    std::vector<Unreadable> withoutRate;
    ExactDecimal total;
    // Sums of the policies' rounded amounts.
    ExactDecimal commissions;
    ExactDecimal transfers;
};

// Reads every row of the register for the report over `period`, with `onlyAgent` only that agent's rows (the
// heading then names that agent instead of `agent`), and the register's commission rates. Fails when the register
// cannot be read, or a sum would leave the range of the premium's numbers.
StorageResult<AgentReport> makeAgentReport(const PolicyDatabase& database, const IssuePeriod& period,
                                           const QString& agent, const QString& insurer,
                                           const std::optional<QString>& onlyAgent = std::nullopt);

// A policy's rate, commission and amount to transfer as the report's cells; "нет ставки" and two empty cells
// where no rate is in force.
QStringList settlementCells(const AgentReport::Policy& policy);
// The money's totals as the report states them: a name and an amount in kopecks ("1234,50") each.
struct MoneyTotal
{
    QString name;
    QString amount;
};
std::vector<MoneyTotal> moneyTotals(const AgentReport& report);

// A sum as the report shows it, rounded a half up to the premium's four places ("151234,5678"), and in roubles
// and kopecks beside it, grouped ("151 234,57"); each rounded from the exact sum.
QString premiumText(ExactDecimal sum);
QString groupedMoneyText(ExactDecimal sum);

// A policy's premium as written ("12,34567"), and what the report says of one written with more places than
// the premium's four ("сумма записана с 5 знаками после запятой"; empty for four or fewer).
QString writtenPremiumText(ExactDecimal premium);
QString premiumPlacesMark(ExactDecimal premium);

} // namespace osago
