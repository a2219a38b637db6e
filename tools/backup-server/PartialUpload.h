#pragma once

#include "PutRequest.h"

#include <QString>

namespace kyvane::server {

class DiskCalls;

// The partial file that one put appends to, open and marked as held (see
// PartialLock.h) for as long as this object lives. BackupStorage opens it
// and, once every byte is in, stores it under its final name. Destroyed
// before that, it keeps a shared partial file for a later resume and removes
// a private one, which nobody else can resume.
//
// Not thread-safe: the owner hands it to a disk thread for one write or the
// store at a time and leaves it alone meanwhile.
class PartialUpload
{
public:
    // fd: the partial file, opened for reading and appending, held and
    // marked in use.
    PartialUpload(QString account, PutRequest put, QString path, bool privateFile, int fd,
                  DiskCalls& calls);
    ~PartialUpload();

    PartialUpload(const PartialUpload&) = delete;
    PartialUpload& operator=(const PartialUpload&) = delete;

    const QString& account() const { return m_account; }
    const PutRequest& request() const { return m_put; }
    const QString& partialPath() const { return m_path; }
    bool isPrivate() const { return m_private; }
    int descriptor() const { return m_fd; }

    // Bytes the partial file holds; -1 when that cannot be told.
    qint64 heldBytes() const;
    // Cuts the partial file down to size bytes; later writes go after them.
    bool truncateTo(qint64 size, QString* error);
    // Appends size bytes; 0 or the errno of the failed write. Some of the
    // bytes may be in the file after a failure.
    int write(const char* data, qint64 size);

    // Lets another upload of the file take it over while this one is idle.
    void letGo();
    bool isHeld() const { return m_held; }
    // While let go: true once another upload has taken the file or it has
    // been moved away, after which this upload must not write to it again.
    bool isLost() const;
    // Holds the file again unless it is lost or no longer holds
    // expectedBytes (another upload wrote to it in between).
    bool takeBack(qint64 expectedBytes);

    // The file was moved to its final name, or removed, by its store.
    void markStored();
    // Removes the partial file and closes it.
    void discard();

private:
    void close();

    QString m_account;
    PutRequest m_put;
    QString m_path;
    bool m_private;
    int m_fd;
    DiskCalls& m_calls;
    bool m_held = true;
    bool m_stored = false;
};

} // namespace kyvane::server
