#include "selection/ExifDateTags.h"

#include <algorithm>

namespace kyvane {

namespace {

constexpr std::size_t kTiffStart = 6; // "Exif" and two padding bytes
constexpr std::uint32_t kDefaultIfd0Offset = 8;
constexpr std::size_t kEntrySize = 12;

constexpr std::uint16_t kTagDateTime = 0x0132;
constexpr std::uint16_t kTagExifIfdPointer = 0x8769;
constexpr std::uint16_t kTagDateTimeOriginal = 0x9003;
constexpr std::uint16_t kTagDateTimeDigitized = 0x9004;
constexpr std::uint16_t kTypeAscii = 2;

// The TIFF block with its byte order; every read is bounds-checked and
// offsets are handled in 64 bits so that no sum can wrap.
class TiffBlock
{
public:
    TiffBlock(std::span<const std::uint8_t> bytes, bool bigEndian)
        : m_bytes(bytes), m_bigEndian(bigEndian)
    {
    }

    bool contains(std::uint64_t offset, std::uint64_t length) const
    {
        return offset <= m_bytes.size() && length <= m_bytes.size() - offset;
    }

    std::optional<std::uint16_t> u16(std::uint64_t offset) const
    {
        if (!contains(offset, 2))
            return std::nullopt;
        const std::uint8_t a = m_bytes[offset];
        const std::uint8_t b = m_bytes[offset + 1];
        return std::uint16_t(m_bigEndian ? (a << 8) | b : (b << 8) | a);
    }

    std::optional<std::uint32_t> u32(std::uint64_t offset) const
    {
        const auto first = u16(offset);
        const auto second = u16(offset + 2);
        if (!first || !second)
            return std::nullopt;
        return m_bigEndian ? (std::uint32_t(*first) << 16) | *second
                           : (std::uint32_t(*second) << 16) | *first;
    }

    std::span<const std::uint8_t> bytes(std::uint64_t offset, std::uint64_t length) const
    {
        return m_bytes.subspan(offset, length);
    }

private:
    std::span<const std::uint8_t> m_bytes;
    bool m_bigEndian;
};

// A directory whose count and entries lie wholly inside the block.
class Directory
{
public:
    static std::optional<Directory> at(const TiffBlock& tiff, std::uint64_t offset)
    {
        const auto count = tiff.u16(offset);
        if (!count || !tiff.contains(offset + 2, std::uint64_t(*count) * kEntrySize))
            return std::nullopt;
        return Directory(tiff, offset + 2, *count);
    }

    // Offset of the first entry with this tag, wherever it stands.
    std::optional<std::uint64_t> find(std::uint16_t tag) const
    {
        for (std::uint64_t i = 0; i < m_count; ++i) {
            const std::uint64_t entry = m_firstEntry + i * kEntrySize;
            if (m_tiff.u16(entry) == tag)
                return entry;
        }
        return std::nullopt;
    }

private:
    Directory(const TiffBlock& tiff, std::uint64_t firstEntry, std::uint16_t count)
        : m_tiff(tiff), m_firstEntry(firstEntry), m_count(count)
    {
    }

    const TiffBlock& m_tiff;
    std::uint64_t m_firstEntry;
    std::uint16_t m_count;
};

// The text of an ASCII entry: inline when it fits in the four value bytes,
// else at its offset; absent when it is another type or lies outside.
std::optional<std::string> asciiValue(const TiffBlock& tiff, const Directory& directory,
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
    static constexpr std::uint8_t kExifMark[] = {'E', 'x', 'i', 'f'};
    if (app1Payload.size() < kTiffStart + 2 ||
        !std::equal(std::begin(kExifMark), std::end(kExifMark), app1Payload.begin()))
        return std::nullopt;

    const auto tiffBytes = app1Payload.subspan(kTiffStart);
    bool bigEndian = false;
    if (tiffBytes[0] == 'M' && tiffBytes[1] == 'M')
        bigEndian = true;
    else if (!(tiffBytes[0] == 'I' && tiffBytes[1] == 'I'))
        return std::nullopt;
    const TiffBlock tiff(tiffBytes, bigEndian);

    ExifDateTags tags;
    auto ifd0Offset = tiff.u32(4);
    if (!ifd0Offset)
        return tags;
    if (*ifd0Offset == 0)
        ifd0Offset = kDefaultIfd0Offset;
    const auto ifd0 = Directory::at(tiff, *ifd0Offset);
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
    const auto exifIfd = Directory::at(tiff, *exifOffset);
    if (!exifIfd)
        return tags;
    tags.dateTimeOriginal = asciiValue(tiff, *exifIfd, kTagDateTimeOriginal);
    tags.dateTimeDigitized = asciiValue(tiff, *exifIfd, kTagDateTimeDigitized);
    return tags;
}

} // namespace kyvane
