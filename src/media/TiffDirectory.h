#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace kyvane {

// The TIFF block of an Exif segment, read with bounds checks in its byte
// order. Offsets are handled in 64 bits so that no sum can wrap.
class TiffBlock
{
public:
    // The block after the six-byte "Exif" mark of an APP1 payload; nothing
    // when the mark or the "II"/"MM" byte order is missing.
    static std::optional<TiffBlock> fromApp1Payload(std::span<const std::uint8_t> payload);

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

    // Only for a range that contains() accepted.
    std::span<const std::uint8_t> bytes(std::uint64_t offset, std::uint64_t length) const
    {
        return m_bytes.subspan(offset, length);
    }

    // IFD0's offset from the header; 0 there stands for the usual 8.
    std::optional<std::uint32_t> ifd0Offset() const;

private:
    std::span<const std::uint8_t> m_bytes;
    bool m_bigEndian;
};

// A directory whose count and entries lie wholly inside the block.
class TiffDirectory
{
public:
    static constexpr std::uint64_t kEntrySize = 12;

    static std::optional<TiffDirectory> at(const TiffBlock& tiff, std::uint64_t offset);

    // Offset of the first entry with this tag, wherever it stands.
    std::optional<std::uint64_t> find(std::uint16_t tag) const;

    // The value of a one-number SHORT or LONG entry, held inline.
    std::optional<std::uint32_t> number(std::uint16_t tag) const;

    // The offset of the next directory in the chain (IFD1 after IFD0); 0
    // ends the chain.
    std::optional<std::uint32_t> nextOffset() const
    {
        return m_tiff.u32(m_firstEntry + std::uint64_t(m_count) * kEntrySize);
    }

private:
    TiffDirectory(const TiffBlock& tiff, std::uint64_t firstEntry, std::uint16_t count)
        : m_tiff(tiff), m_firstEntry(firstEntry), m_count(count)
    {
    }

    const TiffBlock& m_tiff;
    std::uint64_t m_firstEntry;
    std::uint16_t m_count;
};

} // namespace kyvane
