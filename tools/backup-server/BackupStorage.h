#pragma once

#include <QMutex>
#include <QSet>
#include <QString>

#include <memory>
#include <optional>

namespace kyvane::server {

class DiskCalls;
struct DiskError;
class PartialUpload;
struct PutRequest;

// The root folder: one folder per account, holding the files received whole
// and, hidden beside them, the partial files of unfinished uploads.
//
// A file is identified by the name the client gave it, its size and its
// modification time (when the put line gives one). A file of the same name
// but another identity never replaces a stored one: it is stored as
// "name (2).ext", "name (3).ext" and so on, and each version is found again
// by its identity, so a retry of the same file gets the same answer.
//
// Several server processes may share one store: who appends to a partial
// file is settled by locks on it (PartialLock.h), and a file is moved to a
// name only where no file is. Safe to use from several threads.
class BackupStorage
{
public:
    static constexpr int kMaxVersions = 1000;

    // sync: make each stored file and its name survive a power cut before
    // store() returns.
    BackupStorage(QString root, DiskCalls& calls, bool sync);
    ~BackupStorage();

    BackupStorage(const BackupStorage&) = delete;
    BackupStorage& operator=(const BackupStorage&) = delete;

    // Creates the root folder when it is missing; with sync, each folder it
    // creates is synced into the one above it.
    bool prepare(QString* error);
    QString root() const { return m_root; }
    QString accountFolder(const QString& account) const;

    // The path of the stored copy of put, when the account holds it whole.
    std::optional<QString> findWhole(const QString& account, const PutRequest& put) const;

    // Opens the partial file of put for appending, creating it when needed.
    // When another upload holds it (in this process or another), this one
    // gets a private partial file that starts empty; a holder that has let
    // go of it (idle for the take-over time) loses it to this upload, which
    // goes on from the bytes it holds.
    std::unique_ptr<PartialUpload> openPartial(const QString& account, const PutRequest& put,
                                               QString* error) const;

    // Makes a whole partial file a stored file: sets its time, records the
    // client's name, syncs it, moves it to the first free version of its
    // name and syncs the folder. When the same file was stored meanwhile
    // (by another connection or process) the partial is dropped and that
    // copy is returned. Returns the stored path, or nothing with the reason.
    // Touches only the file system, so it may run on any thread.
    std::optional<QString> store(PartialUpload& upload, DiskError* error) const;

    // The partial file name of put: ".<name>.<size>-<modified>.partial".
    static QString partialFileName(const PutRequest& put);
    // "." + name + suffix, or, when that is longer than a file name may be,
    // with the end of name replaced by "~" and a digest of the whole name.
    static QString decoratedName(const QString& name, const QString& suffix);
    // Version n (1 for the first) of a file name: "IMG.jpg", "IMG (2).jpg",
    // ...; when that would pass the file-name limit, the end of the stem
    // gives way to "~" and a digest of the whole name, so that two names
    // never share a version.
    static QString versionName(const QString& name, int version);

private:
    // Creates the account folder when it is missing. The first time this
    // process uses it, the root is synced, so the folder's name is on the
    // disk before anything in it is acknowledged: also when another process
    // made it and may not have synced the root yet, or when an earlier sync failed.
    bool prepareAccountFolder(const QString& account, QString* error) const;
    std::unique_ptr<PartialUpload> openShared(const QString& account, const PutRequest& put,
                                              bool* busy, QString* error) const;
    std::unique_ptr<PartialUpload> openPrivate(const QString& account, const PutRequest& put,
                                               QString* error) const;
    std::optional<QString> place(PartialUpload& upload, bool sideRecord, DiskError* error) const;
    bool syncFolder(const QString& folder, QString* error) const;

    QString m_root;
    DiskCalls& m_calls;
    bool m_sync;
    mutable QMutex m_syncedMutex;
    mutable QSet<QString> m_syncedAccounts; // folders synced into the root by this process
};

} // namespace kyvane::server
