#pragma once

#include <QSet>
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

    explicit BackupStorage(QString root);
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
    // When another connection is receiving the same file right now, the new
    // upload gets a private partial file that starts empty.
    std::unique_ptr<PartialUpload> openPartial(const QString& account, const PutRequest& put,
                                               QString* error);

    // The partial file name of put: ".<name>.<size>-<modified>.partial".
    static QString partialFileName(const PutRequest& put);
    // Version n (1 for the first) of a file name: "IMG.jpg", "IMG (2).jpg", ...
    static QString versionName(const QString& name, int version);

private:
    friend class PartialUpload;

    // Moves a finished partial file to the first free version of its name and
    // returns the stored path. When the same file was stored meanwhile (by
    // another connection) the partial is dropped and that copy is returned.
    std::optional<QString> place(const QString& partialPath, const QString& account,
                                 const PutRequest& put, QString* error);
    void release(const QString& partialPath) { m_busyPartials.remove(partialPath); }

    QString m_root;
    QSet<QString> m_busyPartials;
};

} // namespace kyvane::server
