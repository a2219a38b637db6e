#pragma once

#include <QByteArray>
#include <QFile>

// Memory figures of this process from /proc/self/status, in KiB.
namespace processmemory {

inline qint64 statusKb(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

inline qint64 residentKb()
{
    return statusKb("VmRSS:");
}

inline qint64 peakKb()
{
    return statusKb("VmHWM:");
}

// Starts the peak (VmHWM) anew from what is resident now.
inline void resetPeak()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
}

} // namespace processmemory
