#pragma once

#include <QHash>
#include <QString>

#include <memory>
#include <optional>

namespace kyvane::server {

class PartialUpload;
struct PutRequest;

// The root folder: one folder per account, holding the files received whole
// and, hidden beside them, the partial files of unfinished uploads.
//
// A file is identified by its name, size and modification time (when the put
// line gives one). A file of the same name but another identity never replaces
// a stored one: it is stored as "name (2).ext", "name (3).ext" and so on, and
// each version is found again by its identity, so a retry of the same file
// gets the same answer. Not thread-safe: used from the server's thread only.
class BackupStorage
{
public:
    static constexpr int kMaxVersions = 1000;

    // takeoverAfterMs: how long the holder of a partial file must have been
    // idle before another upload of that file may take it over.
    BackupStorage(QString root, int takeoverAfterMs);
    ~BackupStorage();

    BackupStorage(const BackupStorage&) = delete;
    BackupStorage& operator=(const BackupStorage&) = delete;

    // Creates the root folder when it is missing.
    bool prepare(QString* error);
    QString root() const { return m_root; }
    QString accountFolder(const QString& account) const;

    // The path of the stored copy of put, when the account holds it whole.
    std::optional<QString> findWhole(const QString& account, const PutRequest& put) const;

    // Opens the partial file of put for appending, creating it when needed.
    // When another connection holds it and has written nothing to it for the
    // take-over time, that connection loses it (see PartialUpload::revoke)
    // and the new upload goes on from the bytes it holds. When the holder is
    // still busy, the new upload gets a private partial file that starts empty.
    std::unique_ptr<PartialUpload> openPartial(const QString& account, const PutRequest& put,
                                               QString* error);

    // The partial file name of put: ".<name>.<size>-<modified>.partial".
    static QString partialFileName(const PutRequest& put);
    // "." + name + suffix, or, when that is longer than a file name may be,
    // with the end of name replaced by "~" and a digest of the whole name.
    static QString decoratedName(const QString& name, const QString& suffix);
    // Version n (1 for the first) of a file name: "IMG.jpg", "IMG (2).jpg", ...
    // shortened before the number when it would pass the file-name limit.
    static QString versionName(const QString& name, int version);

private:
    friend class PartialUpload;

    // Moves a finished partial file to the first free version of its name and
    // returns the stored path. When the same file was stored meanwhile (by
    // another connection) the partial is dropped and that copy is returned.
    std::optional<QString> place(const QString& partialPath, const QString& account,
                                 const PutRequest& put, QString* error);
    void release(const QString& partialPath, const PartialUpload* upload)
    {
        if (m_holders.value(partialPath) == upload)
            m_holders.remove(partialPath);
    }

    QString m_root;
    int m_takeoverAfterMs;
    QHash<QString, PartialUpload*> m_holders; // shared partial files being written
};

} // namespace kyvane::server
