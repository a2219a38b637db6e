#include "ui/Thumbnail.h"

#include "media/ExifThumbnail.h"
#include "media/QIODeviceByteSource.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace kyvane {

namespace {

QImage embeddedThumbnail(QFile& file)
{
    QIODeviceByteSource source(file);
    const std::vector<std::uint8_t> bytes = readExifThumbnail(source);
    if (bytes.empty())
        return {};
    return QImage::fromData(bytes.data(), int(bytes.size()), "JPEG");
}

QImage scaledDecode(QFile& file, const QSize& box)
{
    if (!file.seek(0))
        return {};
    QImageReader reader(&file);
    const QSize size = reader.size();
    // Without its size first, a picture could only be decoded whole.
    if (!size.isValid() || size.isEmpty())
        return {};
    reader.setScaledSize(size.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    return reader.read();
}

} // namespace

bool isPictureFile(const QString& fileName)
{
    static const QStringList kExtensions = {QStringLiteral(".jpg"), QStringLiteral(".jpeg"),
                                            QStringLiteral(".bmp"), QStringLiteral(".gif"),
                                            QStringLiteral(".png"), QStringLiteral(".svg")};
    for (const QString& extension : kExtensions) {
        if (fileName.endsWith(extension, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

QImage loadThumbnail(const QString& path, const QSize& box)
{
    // Only a regular file: opening a FIFO would block the window.
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QImage image = embeddedThumbnail(file);
    if (image.isNull())
        image = scaledDecode(file, box);
    if (image.isNull())
        return {};
    if (image.width() > box.width() || image.height() > box.height())
        image = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

} // namespace kyvane
