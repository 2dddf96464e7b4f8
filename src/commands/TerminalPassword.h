#pragma once

#include <QString>

#include <optional>

namespace osago {

// A password for a command without a window: asked on the terminal under `prompt`, the typing not shown; none
// when the program has no terminal or the agent ends the input.
std::optional<QString> askPasswordOnTerminal(const QString& prompt);

} // namespace osago
