#include "BackupStorage.h"

#include "PartialUpload.h"
#include "PutRequest.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStorageInfo>

namespace kyvane::server {

namespace {

bool sameIdentity(const QFileInfo& stored, const PutRequest& put)
{
    if (!stored.isFile() || stored.isSymLink() || stored.size() != put.size)
        return false;
    return !put.modified.isValid() ||
           stored.lastModified().toSecsSinceEpoch() == put.modified.toSecsSinceEpoch();
}

} // namespace

BackupStorage::BackupStorage(QString root) : m_root(QDir::cleanPath(QDir(root).absolutePath())) {}

BackupStorage::~BackupStorage() = default;

bool BackupStorage::prepare(QString* error)
{
    if (QDir().mkpath(m_root))
        return true;
    if (error)
        *error = QStringLiteral("cannot create the root folder %1").arg(m_root);
    return false;
}

QString BackupStorage::accountFolder(const QString& account) const
{
    return m_root + QLatin1Char('/') + account;
}

QString BackupStorage::partialFileName(const PutRequest& put)
{
    const QString when = put.modified.isValid() ? QString::number(put.modified.toSecsSinceEpoch())
                                                : QStringLiteral("none");
    return QStringLiteral(".%1.%2-%3.partial").arg(put.name).arg(put.size).arg(when);
}

QString BackupStorage::versionName(const QString& name, int version)
{
    if (version <= 1)
        return name;
    // The number goes before the extension; a leading dot is no extension.
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString number = QStringLiteral(" (%1)").arg(version);
    if (dot <= 0)
        return name + number;
    return name.left(dot) + number + name.mid(dot);
}

std::optional<QString> BackupStorage::findWhole(const QString& account, const PutRequest& put) const
{
    const QString folder = accountFolder(account) + QLatin1Char('/');
    // Versions are stored without gaps, so the first missing one ends the search.
    for (int version = 1; version <= kMaxVersions; ++version) {
        const QFileInfo stored(folder + versionName(put.name, version));
        if (!stored.exists() && !stored.isSymLink())
            return std::nullopt;
        if (sameIdentity(stored, put))
            return stored.filePath();
    }
    return std::nullopt;
}

std::unique_ptr<PartialUpload> BackupStorage::openPartial(const QString& account,
                                                          const PutRequest& put, QString* error)
{
    const QString folder = accountFolder(account);
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("cannot create the account folder");
        return nullptr;
    }
    QString path = folder + QLatin1Char('/') + partialFileName(put);
    const bool busy = m_busyPartials.contains(path);
    if (busy) {
        // Another connection is appending to the shared partial: receive this
        // copy on the side so the two never write into one file.
        path =
            folder + QStringLiteral("/.%1.%2.partial")
                         .arg(put.name)
                         .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));
    }

    auto upload = std::make_unique<PartialUpload>(*this, account, put, path, busy);
    if (!upload->open(error))
        return nullptr;
    if (upload->heldBytes() > put.size && !upload->truncateTo(0, error))
        return nullptr;

    const QStorageInfo volume(folder);
    const qint64 needed = put.size - upload->heldBytes();
    if (volume.isValid() && volume.bytesAvailable() >= 0 && volume.bytesAvailable() < needed) {
        if (error)
            *error = QStringLiteral("not enough free space");
        upload->suspend();
        return nullptr;
    }
    m_busyPartials.insert(path);
    return upload;
}

std::optional<QString> BackupStorage::place(const QString& partialPath, const QString& account,
                                            const PutRequest& put, QString* error)
{
    const QString folder = accountFolder(account) + QLatin1Char('/');
    for (int version = 1; version <= kMaxVersions; ++version) {
        const QString target = folder + versionName(put.name, version);
        const QFileInfo stored(target);
        if (stored.exists() || stored.isSymLink()) {
            if (sameIdentity(stored, put)) {
                QFile::remove(partialPath);
                return target;
            }
            continue;
        }
        // rename() never replaces an existing file; if one appeared in the
        // meantime, the next version is tried.
        if (QFile::rename(partialPath, target))
            return target;
        if (!QFileInfo::exists(target)) {
            if (error)
                *error = QStringLiteral("cannot rename the partial file");
            return std::nullopt;
        }
    }
    if (error)
        *error = QStringLiteral("too many versions of this name");
    return std::nullopt;
}

} // namespace kyvane::server
