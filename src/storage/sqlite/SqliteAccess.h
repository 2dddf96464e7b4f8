#pragma once

#include <QString>

namespace osago {

// What keeps this program from writing the register file at `path`, in words with the way out; empty when
// nothing the file system shows does. SQLite writes beside the file (its `-wal` and `-shm` files), so the
// folder and those files count as much as the file itself.
QString writeObstacle(const QString& path);

} // namespace osago
