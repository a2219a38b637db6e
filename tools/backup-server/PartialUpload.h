#pragma once

#include "PutRequest.h"

#include <QFile>
#include <QString>

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

    // Sets the modification time, syncs (when sync is true), closes and moves
    // the file to its final name. Returns the stored path, empty on failure.
    QString complete(bool sync, QString* error);
    // Closes the file and keeps it as a partial for a later put of the same file.
    void suspend();
    // Closes and deletes the partial file.
    void discard();

private:
    BackupStorage& m_storage;
    QString m_account;
    PutRequest m_put;
    QString m_path;
    bool m_private;
    bool m_done = false;
    QFile m_file;
};

} // namespace kyvane::server
