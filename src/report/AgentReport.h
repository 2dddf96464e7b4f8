#pragma once

#include "storage/IssuePeriod.h"
#include "storage/StorageStatus.h"
#include "tariff/Fixed4.h"

#include <QString>

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
        Fixed4 premium;
    };
    struct TypeTotal
    {
        QString vehicleType;
        int count = 0;
        Fixed4 premiums;
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
    Fixed4 total;
};

// Reads every row of the register for the report over `period`. Fails when the register cannot be read, or the
// sum would leave the range of the premium's numbers.
StorageResult<AgentReport> makeAgentReport(const PolicyDatabase& database, const IssuePeriod& period,
                                           const QString& agent, const QString& insurer);

// The premium's own text of a sum ("151234,5678") and the grouped form with two decimals beside it
// ("151 234,57").
QString premiumText(Fixed4 sum);
QString groupedMoneyText(Fixed4 sum);

} // namespace osago
