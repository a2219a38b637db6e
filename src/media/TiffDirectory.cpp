#include "media/TiffDirectory.h"

#include <algorithm>
#include <iterator>

namespace kyvane {

namespace {
constexpr std::size_t kTiffStart = 6; // "Exif" and two padding bytes
constexpr std::uint32_t kDefaultIfd0Offset = 8;
constexpr std::uint16_t kTypeShort = 3;
constexpr std::uint16_t kTypeLong = 4;
} // namespace

std::optional<TiffBlock> TiffBlock::fromApp1Payload(std::span<const std::uint8_t> payload)
{
    static constexpr std::uint8_t kExifMark[] = {'E', 'x', 'i', 'f'};
    if (payload.size() < kTiffStart + 2 ||
        !std::equal(std::begin(kExifMark), std::end(kExifMark), payload.begin()))
        return std::nullopt;
    const auto tiffBytes = payload.subspan(kTiffStart);
    if (tiffBytes[0] == 'M' && tiffBytes[1] == 'M')
        return TiffBlock(tiffBytes, true);
    if (tiffBytes[0] == 'I' && tiffBytes[1] == 'I')
        return TiffBlock(tiffBytes, false);
    return std::nullopt;
}

std::optional<std::uint32_t> TiffBlock::ifd0Offset() const
{
    const auto offset = u32(4);
    if (offset && *offset == 0)
        return kDefaultIfd0Offset;
    return offset;
}

std::optional<TiffDirectory> TiffDirectory::at(const TiffBlock& tiff, std::uint64_t offset)
{
    const auto count = tiff.u16(offset);
    if (!count || !tiff.contains(offset + 2, std::uint64_t(*count) * kEntrySize))
        return std::nullopt;
    return TiffDirectory(tiff, offset + 2, *count);
}

std::optional<std::uint64_t> TiffDirectory::find(std::uint16_t tag) const
{
    for (std::uint64_t i = 0; i < m_count; ++i) {
        const std::uint64_t entry = m_firstEntry + i * kEntrySize;
        if (m_tiff.u16(entry) == tag)
            return entry;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> TiffDirectory::number(std::uint16_t tag) const
{
    const auto entry = find(tag);
    if (!entry || m_tiff.u32(*entry + 4) != 1u)
        return std::nullopt;
    const auto type = m_tiff.u16(*entry + 2);
    if (type == kTypeLong)
        return m_tiff.u32(*entry + 8);
    if (type == kTypeShort)
        return m_tiff.u16(*entry + 8);
    return std::nullopt;
}

} // namespace kyvane
