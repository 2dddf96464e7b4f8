// A stand-alone `osago calc` for scripts and measurements: `osago-calc [FILE]` does what
// `osago calc [FILE]` does.
#include "tariff/calc/CalcCommand.h"

#include <vector>

int main(int argc, char* argv[])
{
    std::vector<char*> arguments(argv, argv + argc);
    static char command[] = "calc";
    arguments.insert(arguments.begin() + 1, command);
    return osago::runCalcCommandIfRequested(int(arguments.size()), arguments.data()).value_or(2);
}
