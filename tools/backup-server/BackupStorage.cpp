#include "BackupStorage.h"

#include "PartialUpload.h"
#include "PutRequest.h"
#include "SafeName.h"

#include <QCryptographicHash>
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

BackupStorage::BackupStorage(QString root, int takeoverAfterMs)
    : m_root(QDir::cleanPath(QDir(root).absolutePath())), m_takeoverAfterMs(takeoverAfterMs)
{
}

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
    return decoratedName(put.name, QStringLiteral(".%1-%2.partial").arg(put.size).arg(when));
}

QString BackupStorage::decoratedName(const QString& name, const QString& suffix)
{
    const QString whole = QLatin1Char('.') + name + suffix;
    if (whole.toUtf8().size() <= safename::kMaxFileNameBytes)
        return whole;
    // The digest keeps apart long names that begin alike.
    const QString digest =
        QLatin1Char('~') +
        QString::fromLatin1(
            QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha256).toHex().left(16));
    const qsizetype room = safename::kMaxFileNameBytes - 1 - digest.size() - suffix.toUtf8().size();
    return QLatin1Char('.') + safename::leftUtf8(name, room) + digest + suffix;
}

QString BackupStorage::versionName(const QString& name, int version)
{
    if (version <= 1)
        return name;
    // The number goes before the extension; a leading dot is no extension.
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString number = QStringLiteral(" (%1)").arg(version);
    QString stem = dot <= 0 ? name : name.left(dot);
    QString extension = dot <= 0 ? QString() : name.mid(dot);
    // The stem gives way so that the name stays within the limit; when even
    // an empty stem would not do, the extension is cut along with it.
    qsizetype room = safename::kMaxFileNameBytes - number.size() - extension.toUtf8().size();
    if (room < 1) {
        stem = name;
        extension.clear();
        room = safename::kMaxFileNameBytes - number.size();
    }
    return safename::leftUtf8(stem, room) + number + extension;
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
    bool privateFile = false;
    if (PartialUpload* holder = m_holders.value(path)) {
        if (holder->idleMs() >= m_takeoverAfterMs && holder->revoke()) {
            // The holder has gone quiet: this upload goes on from what it stored.
            m_holders.remove(path);
        } else {
            // Another connection is appending to the shared partial: receive
            // this copy on the side so the two never write into one file.
            privateFile = true;
            const quint64 tag = QRandomGenerator::system()->generate64();
            path = folder + QLatin1Char('/') +
                   decoratedName(put.name,
                                 QStringLiteral(".%1.partial").arg(tag, 16, 16, QLatin1Char('0')));
        }
    }

    auto upload = std::make_unique<PartialUpload>(*this, account, put, path, privateFile);
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
    m_holders.insert(path, upload.get());
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
