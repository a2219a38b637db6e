#pragma once

#include <QString>

namespace kyvane::server {

// Why storing a file failed: what the server was doing and the errno.
struct DiskError
{
    QString action; // "write the file", "set the file's time", ...
    int code = 0;

    // For the log: "cannot write the file: No space left on device".
    QString text() const;
    // The reply that tells the client: "452 disk full" and the like when
    // the store lacks room, which may be made, else "451 cannot ...".
    QString reply() const;
};

} // namespace kyvane::server
