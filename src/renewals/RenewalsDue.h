#pragma once

#include "storage/IssuePeriod.h"
#include "storage/RowKey.h"
#include "storage/StorageStatus.h"

#include <QString>

#include <vector>

namespace osago {

class PolicyDatabase;

// A policy whose insurance ends in a period and that no later record renews: whom the agent calls.
struct RenewalDue
{
    RowKey key{0};
    QString policy;    // series and number
    QString holder;    // surname or firm, name, patronymic
    QString telephone;
    QString vehicle;   // make and model
    QString plate;
    QDate ends;
    QString premium;   // the last premium, as written
};

// The policies ending in a period: those to renew, and how many were renewed already.
struct RenewalsFound
{
    std::vector<RenewalDue> due;
    int renewed = 0;
};

// The policies whose insurance (Страх_по) ends in `period`, leaving out each one renewed already: a record of the
// same vehicle (the same VIN; with no VIN, the same registration plate) whose insurance starts (Страх_с) after
// this one's start. By end date, policies ending on one day in the order they were added.
StorageResult<RenewalsFound> readRenewalsDue(const PolicyDatabase& database, const IssuePeriod& period);

// The period the main window counts: `today` and the next 30 days.
IssuePeriod comingMonth(QDate today);

} // namespace osago
