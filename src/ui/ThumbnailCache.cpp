#include "ui/ThumbnailCache.h"

#include "ui/Thumbnail.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

#include <sys/stat.h>

namespace kyvane::ThumbnailCache {

namespace {

const QString kUriKey = QStringLiteral("Thumb::URI");
const QString kMTimeKey = QStringLiteral("Thumb::MTime");
const QString kSizeKey = QStringLiteral("Thumb::Size");

QString cacheFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/thumbnails/normal");
}

QByteArray uriOf(const QString& path)
{
    return QUrl::fromLocalFile(path).toEncoded();
}

QImage fittedInto(const QImage& image, const QSize& box)
{
    if (image.width() <= box.width() && image.height() <= box.height())
        return image;
    return image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// The shared thumbnail when it names this file at this modification time.
QImage storedThumbnail(const QString& cacheFile, const QByteArray& uri, qint64 mtime)
{
    QImageReader reader(cacheFile, "png");
    // A thumbnail larger than its size allows is no thumbnail of ours, nor
    // of any file manager: not decoded.
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kNormalSide * 2 || size.height() > kNormalSide * 2)
        return {};
    // Read whole: the reader's text of a key holding "::" is cut at the
    // first colon, the image's is not.
    const QImage stored = reader.read();
    if (stored.text(kUriKey).toUtf8() != uri || stored.text(kMTimeKey) != QString::number(mtime))
        return {};
    return stored;
}

void store(const QString& cacheFile, QImage thumbnail, const QByteArray& uri, qint64 mtime,
           qint64 size)
{
    if (!QDir().mkpath(QFileInfo(cacheFile).path()))
        return;
    // The standard keeps the thumbnail folders private to the user.
    QFile::setPermissions(QFileInfo(cacheFile).path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    thumbnail.setText(kUriKey, QString::fromUtf8(uri));
    thumbnail.setText(kMTimeKey, QString::number(mtime));
    thumbnail.setText(kSizeKey, QString::number(size));
    // Written whole or not at all: a file manager may read it any moment.
    QSaveFile file(cacheFile);
    if (!file.open(QIODevice::WriteOnly))
        return;
    QImageWriter writer(&file, "png");
    if (!writer.write(thumbnail) || !file.commit())
        return;
    QFile::setPermissions(cacheFile, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace

QString cacheFileFor(const QString& path)
{
    return cacheFolder() + QLatin1Char('/') +
           QString::fromLatin1(
               QCryptographicHash::hash(uriOf(path), QCryptographicHash::Md5).toHex()) +
           QStringLiteral(".png");
}

QImage thumbnailFor(const QString& path, const QSize& box, const PictureBudget& budget)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    const qint64 mtime = info.st_mtim.tv_sec;
    const QByteArray uri = uriOf(path);
    const QString cacheFile = cacheFileFor(path);
    // The thumbnails themselves are never given thumbnails.
    const bool inCache = path.startsWith(cacheFolder() + QLatin1Char('/'));
    if (!inCache) {
        const QImage stored = storedThumbnail(cacheFile, uri, mtime);
        if (!stored.isNull())
            return fittedInto(stored, box);
    }
    const QImage made = loadThumbnail(path, QSize(kNormalSide, kNormalSide), budget);
    if (made.isNull())
        return {};
    if (!inCache)
        store(cacheFile, made, uri, mtime, qint64(info.st_size));
    return fittedInto(made, box);
}

} // namespace kyvane::ThumbnailCache
