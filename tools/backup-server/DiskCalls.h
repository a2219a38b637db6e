#pragma once

#include <QString>

#include <ctime>
#include <sys/types.h>

namespace kyvane::server {

// The system calls that decide whether a received file is stored and
// survives a power cut: writing its bytes, setting its time, recording its
// name, syncing it and its folder, and moving it to its final name. Each
// returns 0 or an errno value. Tests override them to record their order or
// to make one fail; the server uses real().
class DiskCalls
{
public:
    virtual ~DiskCalls() = default;

    // Writes size bytes at the end of the file (the file is opened to append);
    // returns the errno of the first failed write(), after some bytes may
    // have gone in.
    virtual int write(int fd, const char* data, qint64 size);
    // futimens(): the file's modification time (and access time) to seconds.
    virtual int setModified(int fd, time_t seconds);
    // fsync() of a file.
    virtual int syncFile(int fd);
    // Opens a folder and fsync()s it, so that the names created in it or
    // moved into it survive a power cut.
    virtual int syncFolder(const QString& path);
    // Moves from to to, failing with EEXIST when to exists: renameat2() with
    // RENAME_NOREPLACE, or link() and unlink() where the file system lacks it.
    virtual int renameNoReplace(const QString& from, const QString& to);
    // An extended attribute of an open file (fsetxattr()).
    virtual int setAttribute(int fd, const char* name, const QByteArray& value);

    static DiskCalls& real();
    // The way renameNoReplace() moves a file where the file system cannot
    // refuse to replace on a rename: a hard link can be made only where no
    // file is, then the old name goes.
    static int linkThenUnlink(const QString& from, const QString& to);
};

} // namespace kyvane::server
