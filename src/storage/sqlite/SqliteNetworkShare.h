#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

namespace osago {

// A register file on a network share: SQLite's write-ahead log needs memory shared on one machine, and the
// file locks of SMB or NFS are not to be relied on, so such a file takes the rollback journal and the agent
// hears that a file register must not be shared between computers.

// The network filesystem named by statfs's `f_type` (for FUSE, by `mountType` from the mount table, such as
// "fuse.sshfs"); empty for one on this computer.
QString networkFileSystemName(quint32 statfsType, const QString& mountType = {});

// The network filesystem the folder `folder` lies on; empty when it is on this computer or cannot be told.
QString networkFileSystemOf(const QString& folder);

// Tells the network filesystem of a folder, as networkFileSystemOf() does.
using NetworkFileSystemProbe = std::function<QString(const QString& folder)>;
// For tests, which cannot mount a share: `probe` answers networkFileSystemOf() in place of the system until it is
// set again; an empty one gives the system's answers back.
void setNetworkFileSystemProbe(NetworkFileSystemProbe probe);

// What the agent hears at start about the register file `path` on the network filesystem `fileSystem`.
QString networkShareWarning(const QString& path, const QString& fileSystem);

} // namespace osago
