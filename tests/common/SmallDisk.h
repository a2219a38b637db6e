#pragma once

#include <QFile>
#include <QString>

#include <sched.h>
#include <sys/mount.h>

// A small tmpfs mounted at a folder of the test, in a mount namespace of the
// test process's own: nothing outside sees it, and it goes with the process.
// Only where the test may mount (root outside a locked-down container).
namespace SmallDisk {

inline bool mount(const QString& folder, qint64 bytes)
{
    static const bool ownNamespace =
        ::unshare(CLONE_NEWNS) == 0 &&
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0700";
    return ownNamespace && ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs",
                                   MS_NOSUID | MS_NODEV, options.constData()) == 0;
}

// Nothing on the mounted disk may be written from now on, not even by root.
inline bool makeReadOnly(const QString& folder)
{
    return ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs",
                   MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) == 0;
}

inline void unmount(const QString& folder)
{
    ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
}

} // namespace SmallDisk
