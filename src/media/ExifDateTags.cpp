#include "media/ExifDateTags.h"

#include "media/TiffDirectory.h"

#include <algorithm>

namespace kyvane {

namespace {

constexpr std::uint16_t kTagDateTime = 0x0132;
constexpr std::uint16_t kTagExifIfdPointer = 0x8769;
constexpr std::uint16_t kTagDateTimeOriginal = 0x9003;
constexpr std::uint16_t kTagDateTimeDigitized = 0x9004;
constexpr std::uint16_t kTypeAscii = 2;

// The text of an ASCII entry: inline when it fits in the four value bytes,
// else at its offset; absent when it is another type or lies outside.
std::optional<std::string> asciiValue(const TiffBlock& tiff, const TiffDirectory& directory,
                                      std::uint16_t tag)
{
    const auto entry = directory.find(tag);
    if (!entry)
        return std::nullopt;
    const auto type = tiff.u16(*entry + 2);
    const auto count = tiff.u32(*entry + 4);
    if (type != kTypeAscii || !count)
        return std::nullopt;

    std::uint64_t valueOffset = *entry + 8;
    if (*count > 4) {
        const auto offset = tiff.u32(*entry + 8);
        if (!offset)
            return std::nullopt;
        valueOffset = *offset;
    }
    if (!tiff.contains(valueOffset, *count))
        return std::nullopt;

    const auto value = tiff.bytes(valueOffset, *count);
    const auto end = std::find(value.begin(), value.end(), std::uint8_t(0));
    return std::string(value.begin(), end);
}

} // namespace

std::optional<ExifDateTags> readExifDateTags(std::span<const std::uint8_t> app1Payload)
{
    const auto tiffBlock = TiffBlock::fromApp1Payload(app1Payload);
    if (!tiffBlock)
        return std::nullopt;
    const TiffBlock& tiff = *tiffBlock;

    ExifDateTags tags;
    const auto ifd0Offset = tiff.ifd0Offset();
    if (!ifd0Offset)
        return tags;
    const auto ifd0 = TiffDirectory::at(tiff, *ifd0Offset);
    if (!ifd0)
        return tags;
    tags.dateTime = asciiValue(tiff, *ifd0, kTagDateTime);

    // The Exif pointer is followed once; nothing in the Exif directory is
    // followed further.
    const auto pointerEntry = ifd0->find(kTagExifIfdPointer);
    if (!pointerEntry)
        return tags;
    const auto exifOffset = tiff.u32(*pointerEntry + 8);
    if (!exifOffset)
        return tags;
    const auto exifIfd = TiffDirectory::at(tiff, *exifOffset);
    if (!exifIfd)
        return tags;
    tags.dateTimeOriginal = asciiValue(tiff, *exifIfd, kTagDateTimeOriginal);
    tags.dateTimeDigitized = asciiValue(tiff, *exifIfd, kTagDateTimeDigitized);
    return tags;
}

} // namespace kyvane
