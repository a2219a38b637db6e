#include "BackupStorage.h"

#include "DiskCalls.h"
#include "DiskError.h"
#include "NameRecord.h"
#include "PartialLock.h"
#include "PartialUpload.h"
#include "PutRequest.h"
#include "SafeName.h"
#include "ServerLogging.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStorageInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kyvane::server {

namespace {

// Opening a partial file can race with another process that removes it
// (the sweep) or creates it; a few tries settle that.
constexpr int kOpenAttempts = 8;
// A name taken by another process between looking and moving is looked at
// again, a bounded number of times.
constexpr int kPlaceAttempts = 3 * BackupStorage::kMaxVersions;

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
}

QString digestOf(const QString& name)
{
    return QLatin1Char('~') +
           QString::fromLatin1(QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha256)
                                   .toHex()
                                   .left(16));
}

bool exists(const QString& path)
{
    struct stat status
    {
    };
    return ::lstat(encoded(path).constData(), &status) == 0;
}

// Whether the stored file at path is the file put describes: same size and
// time, and the same client name when one was recorded with it.
bool sameFile(const QString& path, const PutRequest& put)
{
    struct stat status
    {
    };
    if (::lstat(encoded(path).constData(), &status) != 0 || !S_ISREG(status.st_mode) ||
        qint64(status.st_size) != put.size)
        return false;
    if (put.modified.isValid() && qint64(status.st_mtim.tv_sec) != put.modified.toSecsSinceEpoch())
        return false;
    const std::optional<QString> recorded = namerecord::read(path);
    return !recorded || *recorded == put.name;
}

// Opens path for reading and appending and marks it as held and in use; -1
// when another upload holds it (*busy) or on failure (*error).
int openAndHold(const QString& path, int createFlags, bool* busy, int* error)
{
    *busy = false;
    *error = 0;
    const int fd = ::open(encoded(path).constData(),
                          O_RDWR | O_APPEND | O_CLOEXEC | O_NOFOLLOW | createFlags, 0600);
    if (fd < 0) {
        *error = errno;
        return -1;
    }
    if (partiallock::tryMarkInUse(fd)) {
        if (partiallock::tryHold(fd)) {
            // The name may have gone to another file between the open and
            // the locks (removed by a sweep, stored by its holder).
            if (partiallock::isStillAt(fd, path))
                return fd;
        } else {
            *busy = true;
        }
    }
    ::close(fd);
    return -1;
}

} // namespace

BackupStorage::BackupStorage(QString root, DiskCalls& calls, bool sync)
    : m_root(QDir::cleanPath(QDir(root).absolutePath())), m_calls(calls), m_sync(sync)
{
}

BackupStorage::~BackupStorage() = default;

bool BackupStorage::prepare(QString* error)
{
    // The folders that mkpath() is about to create, from the top down.
    QStringList created;
    for (QString folder = m_root; !QFileInfo::exists(folder) && !QDir(folder).isRoot();
         folder = QFileInfo(folder).path())
        created.prepend(folder);
    if (!QDir().mkpath(m_root)) {
        if (error)
            *error = QStringLiteral("cannot create the root folder %1").arg(m_root);
        return false;
    }
    if (!m_sync)
        return true;
    for (const QString& folder : created) {
        const QString parent = QFileInfo(folder).path();
        if (const int failure = m_calls.syncFolder(parent)) {
            if (error)
                *error = QStringLiteral("cannot sync the folder %1: %2")
                             .arg(parent, qt_error_string(failure));
            return false;
        }
    }
    return true;
}

QString BackupStorage::accountFolder(const QString& account) const
{
    return m_root + QLatin1Char('/') + account;
}

bool BackupStorage::prepareAccountFolder(const QString& account, QString* error) const
{
    const QString folder = accountFolder(account);
    if (::mkdir(encoded(folder).constData(), 0777) != 0 &&
        !(errno == EEXIST && QFileInfo(folder).isDir())) {
        if (error)
            *error = QStringLiteral("cannot create the account folder");
        return false;
    }
    if (!m_sync)
        return true;
    QMutexLocker lock(&m_syncedMutex);
    if (m_syncedAccounts.contains(account))
        return true;
    if (!syncFolder(m_root, error))
        return false;
    m_syncedAccounts.insert(account);
    return true;
}

bool BackupStorage::syncFolder(const QString& folder, QString* error) const
{
    const int failure = m_calls.syncFolder(folder);
    if (failure != 0 && error)
        *error = QStringLiteral("cannot sync the folder: ") + qt_error_string(failure);
    return failure == 0;
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
    const QString digest = digestOf(name);
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
    const qsizetype extensionBytes = extension.toUtf8().size();
    if (stem.toUtf8().size() + number.size() + extensionBytes <= safename::kMaxFileNameBytes)
        return stem + number + extension;
    // The stem gives way to a digest of the whole name, so two long names
    // that differ only where the stem is cut still get names of their own;
    // when even an empty stem would not do, the extension is cut along with it.
    const QString digest = digestOf(name);
    qsizetype room = safename::kMaxFileNameBytes - digest.size() - number.size() - extensionBytes;
    if (room < 1) {
        stem = name;
        extension.clear();
        room = safename::kMaxFileNameBytes - digest.size() - number.size();
    }
    return safename::leftUtf8(stem, room) + digest + number + extension;
}

std::optional<QString> BackupStorage::findWhole(const QString& account, const PutRequest& put) const
{
    const QString folder = accountFolder(account) + QLatin1Char('/');
    // Versions are stored without gaps, so the first missing one ends the search.
    for (int version = 1; version <= kMaxVersions; ++version) {
        const QString stored = folder + versionName(put.name, version);
        if (!exists(stored))
            return std::nullopt;
        if (sameFile(stored, put))
            return stored;
    }
    return std::nullopt;
}

std::unique_ptr<PartialUpload>
BackupStorage::openPartial(const QString& account, const PutRequest& put, QString* error) const
{
    if (!prepareAccountFolder(account, error))
        return nullptr;
    bool busy = false;
    std::unique_ptr<PartialUpload> upload = openShared(account, put, &busy, error);
    // Another upload is appending to the shared partial: receive this copy
    // on the side so the two never write into one file.
    if (!upload && busy)
        upload = openPrivate(account, put, error);
    if (!upload)
        return nullptr;

    // A partial file longer than the file is no part of it.
    if (upload->heldBytes() > put.size && !upload->truncateTo(0, error))
        return nullptr;
    const qint64 held = upload->heldBytes();
    const QStorageInfo volume(accountFolder(account));
    const qint64 needed = put.size - std::min(held, put.size);
    if (volume.isValid() && volume.bytesAvailable() >= 0 && volume.bytesAvailable() < needed) {
        if (error)
            *error = QStringLiteral("not enough free space");
        // An empty partial file, made just now, would only be in the way.
        if (held <= 0)
            upload->discard();
        return nullptr;
    }
    return upload;
}

std::unique_ptr<PartialUpload> BackupStorage::openShared(const QString& account,
                                                         const PutRequest& put, bool* busy,
                                                         QString* error) const
{
    const QString path = accountFolder(account) + QLatin1Char('/') + partialFileName(put);
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        int failure = 0;
        const int fd = openAndHold(path, O_CREAT, busy, &failure);
        if (fd >= 0)
            return std::make_unique<PartialUpload>(account, put, path, false, fd, m_calls);
        if (*busy)
            return nullptr;
        if (failure != 0) {
            if (error)
                *error =
                    QStringLiteral("cannot open the partial file: ") + qt_error_string(failure);
            return nullptr;
        }
    }
    if (error)
        *error = QStringLiteral("the partial file is busy");
    return nullptr;
}

std::unique_ptr<PartialUpload>
BackupStorage::openPrivate(const QString& account, const PutRequest& put, QString* error) const
{
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        const quint64 tag = QRandomGenerator::system()->generate64();
        const QString path =
            accountFolder(account) + QLatin1Char('/') +
            decoratedName(put.name,
                          QStringLiteral(".%1.partial").arg(tag, 16, 16, QLatin1Char('0')));
        bool busy = false;
        int failure = 0;
        const int fd = openAndHold(path, O_CREAT | O_EXCL, &busy, &failure);
        if (fd >= 0)
            return std::make_unique<PartialUpload>(account, put, path, true, fd, m_calls);
        if (failure != 0 && failure != EEXIST) {
            if (error)
                *error = QStringLiteral("cannot open a partial file: ") + qt_error_string(failure);
            return nullptr;
        }
    }
    if (error)
        *error = QStringLiteral("cannot open a partial file");
    return nullptr;
}

std::optional<QString> BackupStorage::store(PartialUpload& upload, DiskError* error) const
{
    const auto fail = [error](const char* action, int code) -> std::optional<QString> {
        *error = DiskError{QString::fromLatin1(action), code};
        return std::nullopt;
    };
    const PutRequest& put = upload.request();
    // The time first, then the sync, which keeps it: a file stored without
    // its time would never be known again by the client's put.
    if (put.modified.isValid()) {
        if (const int failure =
                m_calls.setModified(upload.descriptor(), time_t(put.modified.toSecsSinceEpoch())))
            return fail("set the file's time", failure);
    }
    bool sideRecord = false;
    if (const int failure = namerecord::attach(m_calls, upload.descriptor(), put.name)) {
        if (!namerecord::attributesUnsupported(failure))
            return fail("record the file's name", failure);
        sideRecord = true;
    }
    if (m_sync) {
        if (const int failure = m_calls.syncFile(upload.descriptor()))
            return fail("sync the file", failure);
    }
    return place(upload, sideRecord, error);
}

std::optional<QString> BackupStorage::place(PartialUpload& upload, bool sideRecord,
                                            DiskError* error) const
{
    const PutRequest& put = upload.request();
    const QString folder = accountFolder(upload.account());
    std::optional<QString> stored;
    int version = 1;
    for (int attempt = 0; attempt < kPlaceAttempts && version <= kMaxVersions; ++attempt) {
        const QString target = folder + QLatin1Char('/') + versionName(put.name, version);
        if (exists(target)) {
            if (sameFile(target, put)) {
                // Stored meanwhile by another upload: this copy is not needed.
                ::unlink(encoded(upload.partialPath()).constData());
                upload.markStored();
                stored = target;
                break;
            }
            ++version;
            continue;
        }
        // Never replaces a file: if one took the name since the look above,
        // the same version is looked at again.
        const int failure = m_calls.renameNoReplace(upload.partialPath(), target);
        if (failure == 0) {
            upload.markStored();
            stored = target;
            // Without its record the file is still known by size and time.
            if (sideRecord) {
                if (const int failure =
                        namerecord::writeSideFile(m_calls, target, put.name, m_sync))
                    qCWarning(lcServer).noquote()
                        << "cannot record the name of" << target << ":" << qt_error_string(failure);
            }
            break;
        }
        if (failure != EEXIST) {
            *error = DiskError{QStringLiteral("move the file to its name"), failure};
            return std::nullopt;
        }
    }
    if (!stored) {
        *error = DiskError{QStringLiteral("find a free version of the name"), EEXIST};
        return std::nullopt;
    }
    if (m_sync) {
        if (const int failure = m_calls.syncFolder(folder)) {
            *error = DiskError{QStringLiteral("sync the folder"), failure};
            return std::nullopt;
        }
    }
    return stored;
}

} // namespace kyvane::server
