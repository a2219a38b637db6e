#pragma once

#include "PutRequest.h"

#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <functional>

namespace kyvane::server {

class BackupStorage;

// The partial file that one put writes to. Bytes are appended as they arrive;
// complete() makes the file whole under its final name. An upload destroyed
// before that keeps its partial file for a later resume, unless the file was
// private to this upload (see BackupStorage::openPartial).
class PartialUpload
{
public:
    PartialUpload(BackupStorage& storage, QString account, PutRequest put, QString path,
                  bool privateFile);
    ~PartialUpload();

    PartialUpload(const PartialUpload&) = delete;
    PartialUpload& operator=(const PartialUpload&) = delete;

    bool open(QString* error);
    const PutRequest& request() const { return m_put; }
    QString partialPath() const { return m_path; }

    // Bytes the partial file holds.
    qint64 heldBytes() const { return m_file.size(); }
    // Cuts the partial file down to size bytes; later writes go after them.
    bool truncateTo(qint64 size, QString* error);
    bool write(const char* data, qint64 size, QString* error);

    // Milliseconds since the file was opened or last written to.
    qint64 idleMs() const { return m_idle.elapsed(); }

    // Marks the upload as being flushed: from now until complete() or
    // suspend(), revoke() refuses. Called on the owner's thread before flush().
    void holdForFlush() { m_flushing = true; }
    // Sets the modification time and, when sync is true, waits until the
    // bytes are on the disk. It touches nothing but the file, so it may run
    // on another thread while the owner leaves the upload alone.
    bool flush(bool sync, QString* error);
    // After flush(): closes and moves the file to its final name. Returns the
    // stored path, empty on failure.
    QString complete(QString* error);
    // Closes the file and keeps it as a partial for a later put of the same file.
    void suspend();
    // Closes and deletes the partial file.
    void discard();

    // Gives up the partial file to another upload of the same file: closes
    // it (later writes fail) and calls the revoked handler. False while the
    // file is being flushed, or when it is already closed.
    bool revoke();
    void setRevokedHandler(std::function<void()> handler) { m_onRevoked = std::move(handler); }

private:
    BackupStorage& m_storage;
    QString m_account;
    PutRequest m_put;
    QString m_path;
    bool m_private;
    bool m_done = false;
    bool m_flushing = false;
    QFile m_file;
    QElapsedTimer m_idle;
    std::function<void()> m_onRevoked;
};

} // namespace kyvane::server
