#include "media/ExifThumbnail.h"

#include "media/JpegApp1Finder.h"
#include "media/TiffDirectory.h"

namespace kyvane {

namespace {
constexpr std::uint16_t kTagThumbnailOffset = 0x0201;
constexpr std::uint16_t kTagThumbnailLength = 0x0202;
} // namespace

std::optional<std::span<const std::uint8_t>>
exifThumbnailIn(std::span<const std::uint8_t> app1Payload)
{
    const auto tiff = TiffBlock::fromApp1Payload(app1Payload);
    if (!tiff)
        return std::nullopt;
    const auto ifd0Offset = tiff->ifd0Offset();
    const auto ifd0 = ifd0Offset ? TiffDirectory::at(*tiff, *ifd0Offset) : std::nullopt;
    const auto ifd1Offset = ifd0 ? ifd0->nextOffset() : std::nullopt;
    if (!ifd1Offset || *ifd1Offset == 0)
        return std::nullopt;
    const auto ifd1 = TiffDirectory::at(*tiff, *ifd1Offset);
    if (!ifd1)
        return std::nullopt;
    const auto offset = ifd1->number(kTagThumbnailOffset);
    const auto length = ifd1->number(kTagThumbnailLength);
    if (!offset || !length || *length < 2 || !tiff->contains(*offset, *length))
        return std::nullopt;
    const auto bytes = tiff->bytes(*offset, *length);
    if (bytes[0] != 0xFF || bytes[1] != 0xD8)
        return std::nullopt;
    return bytes;
}

std::vector<std::uint8_t> readExifThumbnail(ByteSource& source)
{
    const JpegApp1 app1 = findFirstApp1(source);
    if (app1.outcome != JpegApp1::Outcome::Found)
        return {};
    const auto thumbnail = exifThumbnailIn(app1.payload);
    if (!thumbnail)
        return {};
    return {thumbnail->begin(), thumbnail->end()};
}

} // namespace kyvane
