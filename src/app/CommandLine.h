#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QIODevice;

namespace osago {

// What the command line of the window (no command word) asks for.
struct WindowCommandLine
{
    enum class Request { OpenWindow, ShowHelp, ShowVersion, Refuse };

    Request request = Request::OpenWindow;
    // The register given by `--database`, when it was given: a file's path or a server's connection URI.
    std::optional<QString> databaseLocation;
    // `--menu`: started from the applications menu, so the program works in its own folder (ProgramFolder.h).
    bool fromMenu = false;
    // For Refuse: one line saying what is wrong.
    QString problem;
};

// Reads `arguments` (the program's name first). Help and version win over a mistake elsewhere on the line, so
// they are answered even beside the display options that only the application object understands.
WindowCommandLine readWindowCommandLine(const QStringList& arguments);

// Answers a request other than OpenWindow: help or version on `output`, a refusal on `errors` with the way to
// the help. Returns the exit status, 0 or 2 for a refusal.
int answerCommandLine(const WindowCommandLine& commandLine, QIODevice& output, QIODevice& errors);

// The same on the standard streams, for main().
int answerCommandLine(const WindowCommandLine& commandLine);

// argv as the application object would read it, for reading the command line before that object exists.
QStringList commandLineArguments(int argc, char* argv[]);

} // namespace osago
