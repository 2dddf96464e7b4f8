#include "commands/TerminalPassword.h"

#include <QByteArray>

#include <cstdio>
#include <termios.h>

namespace osago {

// The terminal itself, not the standard streams: those may be a pipe or a file the command writes.
std::optional<QString> askPasswordOnTerminal(const QString& prompt)
{
    std::FILE* terminal = std::fopen("/dev/tty", "r+");
    if (!terminal)
        return std::nullopt;
    std::fputs((prompt + QStringLiteral(": ")).toLocal8Bit().constData(), terminal);
    std::fflush(terminal);

    const int descriptor = fileno(terminal);
    termios shown{};
    const bool echoOff = tcgetattr(descriptor, &shown) == 0;
    if (echoOff) {
        termios hidden = shown;
        hidden.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(descriptor, TCSAFLUSH, &hidden);
    }
    QByteArray line;
    int c = 0;
    while ((c = std::fgetc(terminal)) != EOF && c != '\n')
        line.append(char(c));
    if (echoOff)
        tcsetattr(descriptor, TCSAFLUSH, &shown);
    std::fputc('\n', terminal);
    std::fclose(terminal);
    if (c == EOF && line.isEmpty())
        return std::nullopt;
    return QString::fromLocal8Bit(line);
}

} // namespace osago
