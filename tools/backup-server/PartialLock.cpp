#include "PartialLock.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>

namespace kyvane::server::partiallock {

namespace {

constexpr off_t kHolderByte = 0;
constexpr off_t kInUseByte = 1;

struct flock range(short type, off_t start, off_t length)
{
    struct flock lock
    {
    };
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = start;
    lock.l_len = length;
    lock.l_pid = 0; // must be 0 for open-file-description locks
    return lock;
}

bool trySet(int fd, short type, off_t start, off_t length)
{
    struct flock lock = range(type, start, length);
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

} // namespace

bool tryHold(int fd)
{
    return trySet(fd, F_WRLCK, kHolderByte, 1);
}

void letGo(int fd)
{
    trySet(fd, F_UNLCK, kHolderByte, 1);
}

bool heldByAnother(int fd)
{
    struct flock lock = range(F_WRLCK, kHolderByte, 1);
    // When asking fails, the file is taken as held: the caller gives it up.
    if (::fcntl(fd, F_OFD_GETLK, &lock) != 0)
        return true;
    return lock.l_type != F_UNLCK;
}

bool tryMarkInUse(int fd)
{
    return trySet(fd, F_RDLCK, kInUseByte, 1);
}

bool tryLockForRemoval(int fd)
{
    return trySet(fd, F_WRLCK, kHolderByte, 2);
}

bool isStillAt(int fd, const QString& path)
{
    struct stat open
    {
    };
    struct stat named
    {
    };
    if (::fstat(fd, &open) != 0 || ::lstat(QFile::encodeName(path).constData(), &named) != 0)
        return false;
    return open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

} // namespace kyvane::server::partiallock
