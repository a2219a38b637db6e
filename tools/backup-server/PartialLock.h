#pragma once

#include <QString>

namespace kyvane::server {

// Which connection may append to a partial file, among the connections of
// this and of other server processes on one store. The marks are
// open-file-description locks (F_OFD_SETLK): they belong to one open of the
// file, so two connections of one process keep apart as well as two
// processes, and the system drops them when the file is closed, also when a
// process dies. NFSv4 and CephFS carry them between machines.
//
// Byte 0, locked for writing: the holder, the one connection that appends.
// A holder idle for the take-over time lets go of it, so that a new upload
// of the same file can take over.
// Byte 1, locked for reading: a connection has the file open. Many may at
// once; the sweep removes only partial files on which it can lock both.
namespace partiallock {

// Each takes a descriptor opened for reading and writing and never waits.
bool tryHold(int fd);
void letGo(int fd);
// True when some other open of the file holds byte 0.
bool heldByAnother(int fd);
bool tryMarkInUse(int fd);
// Both bytes: nobody else has the file open.
bool tryLockForRemoval(int fd);

// True when path still names the file open as fd; false once it was moved
// away, removed or replaced.
bool isStillAt(int fd, const QString& path);

} // namespace partiallock
} // namespace kyvane::server
