#pragma once

namespace osago {

// The name of an SQLite VFS, registered on the first call, that writes a database file in large blocks: consecutive
// writes are gathered in a 4 MB buffer and written in one call when a write does not follow on, before any read,
// size question, truncation, sync, unlock or close. Everything else is the default VFS's. Meant for a file only one
// connection uses: the copy being written.
//
// With Writeback::AsWritten each block is handed to the disk at once, so that a sync at the end waits only for the
// last blocks (the copy then goes at the disk's pace); with Writeback::Later the system writes them out when it
// will, and the copy goes at the pace of memory.
enum class Writeback { AsWritten, Later };
const char* coalescedWritesVfs(Writeback writeback);

} // namespace osago
