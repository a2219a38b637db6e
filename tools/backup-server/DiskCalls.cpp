#include "DiskCalls.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace kyvane::server {

int DiskCalls::write(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (written == 0)
            return EIO;
        data += written;
        size -= written;
    }
    return 0;
}

int DiskCalls::setModified(int fd, time_t seconds)
{
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    return ::futimens(fd, times) == 0 ? 0 : errno;
}

int DiskCalls::syncFile(int fd)
{
    return ::fsync(fd) == 0 ? 0 : errno;
}

int DiskCalls::syncFolder(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return errno;
    const int result = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return result;
}

int DiskCalls::renameNoReplace(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return errno;
    // Some network file systems cannot refuse to replace on a rename.
    return linkThenUnlink(from, to);
}

int DiskCalls::linkThenUnlink(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from);
    if (::link(source.constData(), QFile::encodeName(to).constData()) != 0)
        return errno;
    return ::unlink(source.constData()) == 0 ? 0 : errno;
}

int DiskCalls::setAttribute(int fd, const char* name, const QByteArray& value)
{
    return ::fsetxattr(fd, name, value.constData(), size_t(value.size()), 0) == 0 ? 0 : errno;
}

DiskCalls& DiskCalls::real()
{
    static DiskCalls calls;
    return calls;
}

} // namespace kyvane::server
