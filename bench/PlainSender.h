#pragma once

#include <QString>

// The reference for the upload benchmark: the least a client can do to send
// a file over the same protocol. Blocking POSIX sockets, one buffer, no
// reports. Returns an empty string on success, else what went wrong.
QString plainSend(const QString& address, quint16 port, const QString& account,
                  const QString& password, const QString& path);
