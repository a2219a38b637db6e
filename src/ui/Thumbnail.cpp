#include "ui/Thumbnail.h"

#include "media/ExifThumbnail.h"
#include "media/JpegDecodeCost.h"
#include "media/OpenMediaFile.h"
#include "media/QIODeviceByteSource.h"
#include "media/SvgBudget.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace kyvane {

namespace {

QSize fitted(const QSize& size, const QSize& box)
{
    return size.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

QImage embeddedThumbnail(QFile& file, const PictureBudget& budget)
{
    QIODeviceByteSource source(file);
    const std::vector<std::uint8_t> bytes = readExifThumbnail(source);
    if (bytes.empty())
        return {};
    const QByteArray thumbnail(reinterpret_cast<const char*>(bytes.data()),
                               qsizetype(bytes.size()));
    const auto cost = readJpegDecodeCost(thumbnail);
    const std::uint32_t side = std::uint32_t(budget.embeddedThumbnailSide);
    if (!cost || cost->width == 0 || cost->height == 0 || cost->width > side || cost->height > side)
        return {};
    return QImage::fromData(thumbnail, "JPEG");
}

// Whether a JPEG fits its budget: one the decoder must hold whole far less
// than one it decodes at a fraction of its size a few rows at a time.
bool jpegWithinBudget(QFile& file, const PictureBudget& budget)
{
    if (!file.seek(0))
        return false;
    const auto cost = readJpegDecodeCost(file);
    if (!cost || cost->pixels() == 0)
        return false;
    const qint64 limit =
        cost->wholePictureHeld ? budget.progressiveJpegPixels : budget.baselineJpegPixels;
    return cost->pixels() <= std::uint64_t(limit);
}

QImage decodeSvg(QFile& file, const QSize& box, const PictureBudget& budget)
{
    if (!file.seek(0) || file.size() > budget.svgBytes)
        return {};
    QByteArray document = file.read(budget.svgBytes + 1);
    if (document.size() > budget.svgBytes || !svgWithinBudget(document, budget))
        return {};
    QBuffer buffer(&document);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "svg");
    const QSize size = reader.size();
    reader.setScaledSize(size.isValid() && !size.isEmpty() ? fitted(size, box) : box);
    return reader.read();
}

QImage scaledDecode(QFile& file, const QSize& box, const PictureBudget& budget)
{
    if (!file.seek(0))
        return {};
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    if (format == "svg")
        return decodeSvg(file, box, budget);
    if (format == "jpeg") {
        if (!jpegWithinBudget(file, budget) || !file.seek(0))
            return {};
        reader.setDevice(&file);
    } else if (format != "png" && format != "gif" && format != "bmp") {
        // Compressed SVG, TIFF, WebP and the other formats of the image
        // plugins are not offered, whatever the file is named.
        return {};
    }
    const QSize size = reader.size();
    // Without its size first, a picture could only be decoded blind.
    if (!size.isValid() || size.isEmpty())
        return {};
    if (format != "jpeg" && qint64(size.width()) * size.height() > budget.wholeDecodePixels)
        return {};
    reader.setScaledSize(fitted(size, box));
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

QImage loadThumbnail(const QString& path, const QSize& box, const PictureBudget& budget)
{
    // Only a regular file: opening a FIFO would block.
    QFile file(path);
    if (!openMediaFile(file))
        return {};
    QImage image = embeddedThumbnail(file, budget);
    if (image.isNull())
        image = scaledDecode(file, box, budget);
    if (image.isNull())
        return {};
    if (image.width() > box.width() || image.height() > box.height())
        image = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

} // namespace kyvane
