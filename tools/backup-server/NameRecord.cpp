#include "NameRecord.h"

#include "BackupStorage.h"
#include "DiskCalls.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace kyvane::server::namerecord {

namespace {

// Longer than any name a client can send (255 bytes).
constexpr qsizetype kMaxRecordBytes = 1024;

std::optional<QString> readAttribute(const QByteArray& path, int* error)
{
    char value[kMaxRecordBytes];
    const ssize_t size = ::lgetxattr(path.constData(), kAttribute, value, sizeof value);
    if (size < 0) {
        *error = errno;
        return std::nullopt;
    }
    *error = 0;
    return QString::fromUtf8(value, size);
}

std::optional<QString> readSideFile(const QString& storedPath)
{
    QFile side(sideFilePath(storedPath));
    if (!side.open(QIODevice::ReadOnly))
        return std::nullopt;
    return QString::fromUtf8(side.read(kMaxRecordBytes));
}

} // namespace

int attach(DiskCalls& calls, int fd, const QString& name)
{
    return calls.setAttribute(fd, kAttribute, name.toUtf8());
}

bool attributesUnsupported(int error)
{
    // EPERM: some file systems refuse user attributes on what they hold.
    return error == ENOTSUP || error == EOPNOTSUPP || error == EPERM || error == ENOSYS;
}

int writeSideFile(DiskCalls& calls, const QString& storedPath, const QString& name, bool sync)
{
    const int fd = ::open(QFile::encodeName(sideFilePath(storedPath)).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return errno;
    const QByteArray bytes = name.toUtf8();
    int error = calls.write(fd, bytes.constData(), bytes.size());
    if (error == 0 && sync)
        error = calls.syncFile(fd);
    ::close(fd);
    return error;
}

QString sideFilePath(const QString& storedPath)
{
    const QFileInfo stored(storedPath);
    return stored.path() + QLatin1Char('/') +
           BackupStorage::decoratedName(stored.fileName(), QLatin1String(kSideFileSuffix));
}

bool isSideFileName(const QString& name)
{
    return name.startsWith(QLatin1Char('.')) && name.endsWith(QLatin1String(kSideFileSuffix));
}

std::optional<QString> read(const QString& storedPath)
{
    int error = 0;
    if (auto name = readAttribute(QFile::encodeName(storedPath), &error))
        return name;
    if (error != ENODATA && !attributesUnsupported(error))
        return std::nullopt;
    return readSideFile(storedPath);
}

} // namespace kyvane::server::namerecord
