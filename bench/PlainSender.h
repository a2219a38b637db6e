#pragma once

#include <QString>
#include <QStringList>

// The reference for the upload benchmarks: the least a client can do to send
// files over the same protocol. Blocking POSIX sockets, one connection and
// login for all the paths, one buffer, read and send, no reports. With
// noDelay, Nagle's algorithm is off, so no small segment waits for the
// acknowledgement of the one before. Returns an empty string on success,
// else what went wrong.
QString plainSend(const QString& address, quint16 port, const QString& account,
                  const QString& password, const QStringList& paths, bool noDelay = false);
