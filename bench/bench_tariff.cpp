// Time of one premium calculation, the core of "Расчитать" and of `osago calc`.
#include "tariff/PremiumCalculation.h"

#include <benchmark/benchmark.h>

namespace {

// The worked example: a car in "Анна", 40 hp, nine months, a driver of class "M" and a young one.
osago::CalcInput workedExample()
{
    return osago::CalcInput{
        .vehicleType = "Легковой автомобиль",
        .maxMass = "0",
        .seats = "0",
        .ownerRegion = "Тальградская область",
        .ownerLocality = "Анна",
        .ownerCountry = "РФ",
        .unlimitedClass = "3",
        .classes = {"M", "5"},
        .experienceFlags = {"Да", "Нет"},
        .grossFlags = {"Нет", "Нет"},
        .ageFlags = {"Да", "Нет"},
        .powerHp = "40",
        .period = "9",
        .term = "15 дней",
        .currentKT = "?",
    };
}

// Six listed drivers of numeric classes, so the worst-class search converts every one.
osago::CalcInput sixDrivers()
{
    return osago::CalcInput{
        .vehicleType = "Легковой автомобиль",
        .maxMass = "0",
        .seats = "0",
        .ownerRegion = "Тальградская область",
        .ownerLocality = "Тальград",
        .ownerCountry = "РФ",
        .unlimitedClass = "3",
        .classes = {"5", "3", "9", "11", "2", "7"},
        .experienceFlags = {"Да", "Да", "Нет", "Да", "Да", "Да"},
        .grossFlags = {"Нет", "Нет", "Нет", "Нет", "Да", "Нет"},
        .ageFlags = {"Да", "Да", "Да", "Да", "Да", "Нет"},
        .powerHp = "149,6",
        .period = "12",
        .term = "15 дней",
        .currentKT = "?",
    };
}

void runCalculation(benchmark::State& state, const osago::CalcInput& input)
{
    for (auto _ : state) {
        osago::CalcResult result = osago::calculate(input);
        benchmark::DoNotOptimize(result);
    }
}

void BM_CalculateWorkedExample(benchmark::State& state)
{
    runCalculation(state, workedExample());
}

void BM_CalculateSixDrivers(benchmark::State& state)
{
    runCalculation(state, sixDrivers());
}

} // namespace

BENCHMARK(BM_CalculateWorkedExample);
BENCHMARK(BM_CalculateSixDrivers);

BENCHMARK_MAIN();
