#pragma once

#include <QString>

namespace osago {

// What a storage operation reports: success, or a Russian text for the agent saying what failed and why.
struct StorageStatus
{
    bool ok = true;
    QString error;
    // The failure is that the row is no longer what was read: another program changed or deleted it.
    bool rowChanged = false;
    // The failure found the register damaged: nothing is written into it from then on, and the way out is a
    // restore from a copy (PolicyDatabase::damagedReason()).
    bool damaged = false;
    // The failure is that a blank the write was to take is no longer on hand: another desk used it meanwhile.
    bool blankTaken = false;

    static StorageStatus failure(QString error) { return {false, std::move(error)}; }
};

// A storage operation that gives a value when it succeeds.
template <typename T>
struct StorageResult : StorageStatus
{
    T value{};

    static StorageResult success(T value) { return {{}, std::move(value)}; }
    static StorageResult failure(const StorageStatus& status) { return {status, T{}}; }
};

} // namespace osago
