#pragma once

#include "storage/PolicyRow.h"

#include <random>

namespace osago {

// Realistic register rows for measurements: varied Russian names and addresses, vehicles of every type, no
// drivers (all admitted) on some rows and up to six on the others. The same seed gives the same rows.
class SampleRecords
{
public:
    explicit SampleRecords(quint64 seed) : m_random(seed) {}

    // A whole row, its code included.
    PolicyRow next();

private:
    struct Person
    {
        QString surname;
        QString name;
        QString patronymic;
        bool female = false;
    };

    int number(int low, int high);
    bool chance(double probability);
    template <typename List>
    const auto& pick(const List& list) { return list[std::size_t(number(0, int(std::size(list)) - 1))]; }

    QString digits(int count);
    QString letters(QStringView alphabet, int count);
    QString date(int fromYear, int toYear);
    QString code();
    Person person();
    QString fullName(const Person& person) const;
    QString street();
    QString phone();
    QString locality(bool home);
    QString vehicleModel(const QString& type);
    QString permit();

    void fillPersons(PolicyRow& row);
    void fillAddress(PolicyRow& row, bool owner);
    void fillVehicle(PolicyRow& row);
    void fillTerms(PolicyRow& row);
    void fillDrivers(PolicyRow& row);

    std::mt19937_64 m_random;
};

} // namespace osago
