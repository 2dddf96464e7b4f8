#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace osago::serverText {

// Why the server cannot keep `value` as a text, in the agent's words: a NUL byte in it, or bytes that are no
// UTF-8 (the register's encoding on the server), with the first such byte and its place; none when it can.
std::optional<QString> whyUnstorable(QByteArrayView value);

} // namespace osago::serverText
