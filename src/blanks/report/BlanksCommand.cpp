#include "blanks/report/BlanksCommand.h"

#include "commands/CommandWords.h"

#include <QTextStream>

namespace osago {

int runBlanksCommand(const QStringList&, QTextStream& errors)
{
    errors << "osago blanks: команда ещё не готова" << Qt::endl;
    return kCommandFailed;
}

std::optional<int> runBlanksCommandIfRequested(int argc, char* argv[])
{
    return runCommandIfRequested(
        argc, argv, "blanks",
        [](const QStringList& words, QTextStream&, QTextStream& errors) { return runBlanksCommand(words, errors); },
        CommandNeeds::Fonts);
}

} // namespace osago
